// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/soak/faultschedule.h"

#include "tests/soak/loopgapwatch.h"
#include "tests/soak/soakfigures.h"
#include "tests/soak/soakrandom.h"
#include "tests/soak/soakwitness.h"

namespace {

// With an action every ~100 ms, each fault begins every few seconds and
// some fault is on for about half of the time.
constexpr int beginPerMille = 25;
constexpr int shortestStretchMs = 80;
constexpr int longestStretchMs = 1500;
// Late beyond its tick, and beyond the wait for it, so that copies of a
// request are answered late too: a reply must be dropped, never taken as the
// next request's answer.
constexpr int earliestLateMs = 21;
constexpr int latestLateMs = 400;

} // namespace

FaultSchedule::FaultSchedule(SoakWitness &witness, SoakRandom &random, SoakFigures &figures,
                             const LoopGapWatch &clock)
    : witness(witness)
    , random(random)
    , figures(figures)
    , clock(clock)
{
}

void FaultSchedule::maybeBegin()
{
    if (!running)
        return;
    for (int kind = 0; kind < KindCount; ++kind) {
        if (endsAt[kind] == 0 && random.chancePerMille(beginPerMille))
            begin(Kind(kind));
    }
}

void FaultSchedule::endExpired()
{
    const qint64 now = clock.now();
    for (int kind = 0; kind < KindCount; ++kind) {
        if (endsAt[kind] != 0 && now >= endsAt[kind])
            end(Kind(kind));
    }
}

void FaultSchedule::stopAll()
{
    running = false;
    for (int kind = 0; kind < KindCount; ++kind) {
        if (endsAt[kind] != 0)
            end(Kind(kind));
    }
}

void FaultSchedule::begin(Kind kind)
{
    switch (kind) {
    case Silent:
        faults.silent = true;
        break;
    case Late:
        faults.lateMs = random.between(earliestLateMs, latestLateMs);
        break;
    case Partial:
        faults.partialBytes = random.between(0, 8);
        break;
    case RefusedWrites:
        faults.refuseWrites = true;
        break;
    case OutOfRange:
        faults.outOfRange = true;
        break;
    case Garbage:
        faults.garbage = true;
        break;
    case KindCount:
        return;
    }
    endsAt[kind] = clock.now() + random.between(shortestStretchMs, longestStretchMs);
    ++figures.faults;
    witness.record(QStringLiteral("fault on: %1 (late %2 ms, partial %3 bytes)")
                       .arg(QLatin1String(name(kind)))
                       .arg(faults.lateMs)
                       .arg(faults.partialBytes));
    witness.setFaults(faults);
}

void FaultSchedule::end(Kind kind)
{
    const FakeModuleFaults healthy;
    switch (kind) {
    case Silent:
        faults.silent = healthy.silent;
        break;
    case Late:
        faults.lateMs = healthy.lateMs;
        break;
    case Partial:
        faults.partialBytes = healthy.partialBytes;
        break;
    case RefusedWrites:
        faults.refuseWrites = healthy.refuseWrites;
        break;
    case OutOfRange:
        faults.outOfRange = healthy.outOfRange;
        break;
    case Garbage:
        faults.garbage = healthy.garbage;
        break;
    case KindCount:
        return;
    }
    endsAt[kind] = 0;
    witness.record(QStringLiteral("fault off: %1").arg(QLatin1String(name(kind))));
    witness.setFaults(faults);
}

const char *FaultSchedule::name(Kind kind)
{
    static const char *const names[] = {"silent",         "late",         "partial",
                                        "refused writes", "out of range", "garbage"};
    return kind < KindCount ? names[kind] : "";
}
