// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <deque>

// Notices when the event loop stood still (a busy machine, a dialog being
// built): a stall proves nothing about a quiet exchange cycle. Also the
// soak's clock.
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
