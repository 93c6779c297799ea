#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <deque>

// Notices when the event loop stood still (a busy machine, a dialog being
// built). Such a stall can push a late reply past the next request, and the
// link cannot tell it from that request's reply. Also the soak's clock.
class LoopGapWatch : public QObject
{
public:
    explicit LoopGapWatch(QObject *parent = nullptr);

    qint64 now() const { return clock.elapsed(); }

    // Whether the loop stood still for at least minimumMs somewhere between
    // the two times, a stillness still going on now included. Shorter
    // stillnesses than shortestStillnessMs are not kept.
    static constexpr qint64 shortestStillnessMs = 4;
    bool stoodStillBetween(qint64 fromMs, qint64 toMs,
                           qint64 minimumMs = shortestStillnessMs) const;
    // How long the loop stood still in all between the two times.
    qint64 stillnessBetween(qint64 fromMs, qint64 toMs) const;

private:
    void beat();

    struct Stillness
    {
        qint64 from;
        qint64 to;
    };

    QElapsedTimer clock;
    QTimer heartbeat;
    qint64 lastBeat = 0;
    std::deque<Stillness> stillnesses;
};
