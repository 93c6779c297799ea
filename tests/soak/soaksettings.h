// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtGlobal>

// How long a soak runs and the seed of its random stream, from
// VELD_SOAK_SECONDS (default 45) and VELD_SOAK_SEED (default: from the clock).
struct SoakSettings
{
    int seconds = 45;
    quint32 seed = 0;

    static SoakSettings fromEnvironment();
};
