// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/soak/soaksession.h"

#include "link/exchangeplan.h"
#include "link/latereply.h"
#include "tests/soak/framerules.h"
#include "tests/soak/loopgapwatch.h"
#include "tests/soak/soakfigures.h"
#include "tests/soak/soakrandom.h"
#include "tests/support/eventwait.h"
#include "tests/support/settledcomparison.h"

#include <QPushButton>

namespace {

// Now and then, mid-session, the faults stop for a comparison.
constexpr int checkpointPerMille = 15;
// Quiet for this long, some ten ticks beyond the link's longest hold, means
// nothing is left to send.
constexpr int quietMs = (LateReplyWait::ticksPerDistrustedExchange + 10) * exchangeIntervalMs;
constexpr int settleTimeoutMs = 20000;
constexpr int unplugNoticeTimeoutMs = 5000;
constexpr int unplugWaitMs = 3000;
const QString connectionLost = QStringLiteral("Error: connection to VELD-7316 lost. Port closed.");

} // namespace

SoakSession::SoakSession(int number, SoakRandom &random, SoakFigures &figures,
                         const LoopGapWatch &clock)
    : number(number)
    , random(random)
    , figures(figures)
    , clock(clock)
    , witness(rig, clock, figures)
    , faultSchedule(witness, random, figures, clock)
    , fileScript(rig, witness, random, figures, [this](int ms) { pause(ms); })
    , actions(rig, witness, random, fileScript, [this](int ms) { pause(ms); })
{
}

bool SoakSession::run(qint64 until, bool unplugAtEnd)
{
    witness.record(
        QStringLiteral("session %1, ending with %2")
            .arg(number)
            .arg(unplugAtEnd ? QStringLiteral("an unplug") : QStringLiteral("comparisons")));
    randomiseModule();
    actions.openModulePort();
    while (clock.now() < until && !witness.failed()) {
        faultSchedule.maybeBegin();
        actions.performOne(true);
        ++figures.actions;
        pause(random.chance(20) ? random.between(50, 300) : random.between(0, 60));
        if (random.chancePerMille(checkpointPerMille))
            checkpoint();
    }
    if (!witness.failed()) {
        if (unplugAtEnd)
            endWithUnplug();
        else
            endWithComparisons();
    }
    return !witness.failed();
}

// Turns the event loop, and with it the exchange cycle, for a while; ends
// fault stretches whose time is up meanwhile.
void SoakSession::pause(int ms)
{
    constexpr qint64 slice = 10;
    const qint64 until = clock.now() + ms;
    do {
        faultSchedule.endExpired();
        processEventsFor(int(qBound<qint64>(1, until - clock.now(), slice)));
    } while (clock.now() < until);
}

// Any values the module can hold, so that every opening has something to show.
void SoakSession::randomiseModule()
{
    rig.module.setSeed(random.next());
    rig.module.setParameter(6, random.between(0, 31));
    rig.module.setParameter(7, random.between(0, 31));
    rig.module.setParameter(140, random.between(0, 5));
    rig.module.setParameter(160, random.between(0, 1));
    rig.module.setParameter(161, random.between(0, 1));
    rig.module.setParameter(179, random.between(0, 1));
    rig.module.setParameter(214, random.between(0, 255));
    // An earlier program may have left the motor turning.
    if (random.chance(50)) {
        rig.module.execute(CommandSwitchPowerStage, 2, 2, 0);
        rig.module.execute(CommandRunPulseGenerator, 0, 0, random.between(-5000, 5000));
    }
}

// Window and module are compared only while connected: the Simulator sends
// nothing, and opening the port reads everything anew, so what was changed
// while closed or simulating is rightly replaced by the module's values.
void SoakSession::connectToModule()
{
    if (witness.linkOpen())
        return;
    actions.close();
    actions.openModulePort();
}

void SoakSession::checkpoint()
{
    if (!witness.linkOpen())
        return;
    faultSchedule.stopAll();
    compareSettled(true, QStringLiteral("at a checkpoint"));
    faultSchedule.resume();
}

// First what the user set and the module confirmed (nothing lost), then,
// after a reopening reads everything back, all of it (nothing stale).
void SoakSession::endWithComparisons()
{
    faultSchedule.stopAll();
    connectToModule();
    compareSettled(true, QStringLiteral("before reopening"));
    actions.close();
    actions.openModulePort();
    compareSettled(false, QStringLiteral("after reopening"));
}

void SoakSession::compareSettled(bool withExcuses, const QString &when)
{
    witness.record(QStringLiteral("settle and compare ") + when);
    if (!witness.waitUntilQuiet(quietMs, settleTimeoutMs)) {
        witness.fail(QStringLiteral("the exchange cycle did not settle ") + when);
        return;
    }
    ++figures.comparisons;
    const auto excused = [&](int key) {
        return withExcuses && witness.excused(key);
    };
    for (int key : parameterNumbers)
        figures.excusedValues += excused(key) ? 1 : 0;
    for (int key : {powerStageKey, pulseGeneratorKey})
        figures.excusedValues += excused(key) ? 1 : 0;
    for (const QString &difference : settledDifferences(rig, excused))
        witness.fail(when + QStringLiteral(": ") + difference);
}

// The module goes away, at once or on one of the next few frames, while the
// user keeps working; the window must close the port once and say so.
void SoakSession::endWithUnplug()
{
    connectToModule();
    faultSchedule.stopAll();
    if (random.chance(50)) {
        witness.record(QStringLiteral("unplug now"));
        rig.module.unplug();
    } else {
        FakeModuleFaults unplugging = faultSchedule.current();
        unplugging.unplugAfterFrames = random.between(1, 5);
        witness.record(
            QStringLiteral("unplug on frame %1 from now").arg(unplugging.unplugAfterFrames));
        witness.setFaults(unplugging);
    }
    const qint64 giveUpAt = clock.now() + unplugWaitMs;
    while (!rig.module.isUnplugged() && clock.now() < giveUpAt && !witness.failed()) {
        actions.performOne(false);
        ++figures.actions;
        pause(random.between(0, 60));
    }
    if (!rig.module.isUnplugged())
        rig.module.unplug();

    auto *openButton = rig.widget<QPushButton>("openButton");
    if (!waitUntil([&] { return openButton->isEnabled(); }, unplugNoticeTimeoutMs)) {
        witness.fail(QStringLiteral("the window did not notice the unplugged module"));
        return;
    }
    processEventsFor(quietMs);
    if (witness.connectionLostMessages() != 1)
        witness.fail(QStringLiteral("the lost connection was reported %1 times")
                         .arg(witness.connectionLostMessages()));
    if (rig.statusMessage() != connectionLost)
        witness.fail(
            QStringLiteral("after the unplug the status bar says \"%1\"").arg(rig.statusMessage()));
    if (rig.widget<QPushButton>("closeButton")->isEnabled() ||
        rig.widget<QDial>("runCurrentDial")->isEnabled())
        witness.fail(QStringLiteral("after the unplug the window still looks connected"));
}
