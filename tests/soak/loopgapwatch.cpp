// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/soak/loopgapwatch.h"

#include <algorithm>

namespace {

// Two missed beats make a stillness: long enough to matter beside a 20 ms
// tick, short enough to be seen well before a late reply can overtake the
// next request.
constexpr int beatMs = 2;
constexpr qint64 memoryMs = 5000;

} // namespace

LoopGapWatch::LoopGapWatch(QObject *parent)
    : QObject(parent)
{
    clock.start();
    heartbeat.setTimerType(Qt::PreciseTimer);
    heartbeat.setInterval(beatMs);
    connect(&heartbeat, &QTimer::timeout, this, &LoopGapWatch::beat);
    heartbeat.start();
}

void LoopGapWatch::beat()
{
    const qint64 at = now();
    if (at - lastBeat >= shortestStillnessMs)
        stillnesses.push_back({lastBeat, at});
    lastBeat = at;
    while (!stillnesses.empty() && stillnesses.front().to < at - memoryMs)
        stillnesses.pop_front();
}

bool LoopGapWatch::stoodStillBetween(qint64 fromMs, qint64 toMs, qint64 minimumMs) const
{
    if (now() - lastBeat >= minimumMs && lastBeat <= toMs)
        return true;
    for (const Stillness &still : stillnesses) {
        if (still.to - still.from >= minimumMs && still.to >= fromMs && still.from <= toMs)
            return true;
    }
    return false;
}
