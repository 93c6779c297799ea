// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "tests/soak/configfilescript.h"
#include "tests/soak/faultschedule.h"
#include "tests/soak/soakactions.h"
#include "tests/soak/soakwitness.h"
#include "tests/support/connectedwindow.h"

class LoopGapWatch;
class SoakRandom;
struct SoakFigures;

// One window with one module from start to end. The port list is built when
// a window starts and an unplugged module cannot come back, so every session
// has a fresh pair; a session ends either by unplugging its module or with
// the settled comparisons of window and module.
class SoakSession
{
public:
    SoakSession(int number, SoakRandom &random, SoakFigures &figures, const LoopGapWatch &clock);

    // Acts until the time on the soak's clock, then ends. False as soon as an
    // invariant failed; report() tells which and what led to it.
    bool run(qint64 until, bool unplugAtEnd);
    QString report() const { return witness.report(); }

private:
    void pause(int ms);
    void randomiseModule();
    void connectToModule();
    void checkpoint();
    void endWithComparisons();
    void endWithUnplug();
    void compareSettled(bool withExcuses, const QString &when);

    int number;
    SoakRandom &random;
    SoakFigures &figures;
    const LoopGapWatch &clock;
    ConnectedWindow rig;
    SoakWitness witness;
    FaultSchedule faultSchedule;
    ConfigFileScript fileScript;
    SoakActions actions;
};
