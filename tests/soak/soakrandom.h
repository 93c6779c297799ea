// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "tests/support/useractions.h"

#include <QRandomGenerator>

// The soak's one random stream: every choice it makes comes from here, so a
// seed repeats a run (as far as the machine's timing repeats).
class SoakRandom : public UserChoices
{
public:
    explicit SoakRandom(quint32 seed)
        : generator(seed)
    {
    }

    // A whole number from low to high, both included.
    int between(int low, int high) override { return int(generator.bounded(low, high + 1)); }
    bool chance(int percent) override { return between(1, 100) <= percent; }
    bool chancePerMille(int perMille) { return between(1, 1000) <= perMille; }
    quint32 next() { return generator.generate(); }

private:
    QRandomGenerator generator;
};
