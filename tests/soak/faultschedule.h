// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "tools/emulator/fakemodule.h"

#include <array>

class LoopGapWatch;
struct SoakFigures;
class SoakRandom;
class SoakWitness;

// Switches the module's faults on and off: each fault runs for a bounded
// stretch, several may overlap.
class FaultSchedule
{
public:
    FaultSchedule(SoakWitness &witness, SoakRandom &random, SoakFigures &figures,
                  const LoopGapWatch &clock);

    // Now and then begins a stretch; called once per user action, so the
    // random stream does not depend on how often the loop turns.
    void maybeBegin();
    // Ends the stretches whose time is up.
    void endExpired();
    // Ends every stretch and begins none until resumed.
    void stopAll();
    void resume() { running = true; }

    FakeModuleFaults current() const { return faults; }

private:
    enum Kind { Silent, Late, Partial, RefusedWrites, OutOfRange, Garbage, KindCount };

    void begin(Kind kind);
    void end(Kind kind);
    static const char *name(Kind kind);

    SoakWitness &witness;
    SoakRandom &random;
    SoakFigures &figures;
    const LoopGapWatch &clock;
    std::array<qint64, KindCount> endsAt{}; // 0: not running
    FakeModuleFaults faults;
    bool running = true;
};
