// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/interruption.h"

#include <csignal>

namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void onInterruption(int)
{
    interrupted = 1;
}

} // namespace

void watchForInterruption()
{
    std::signal(SIGINT, onInterruption);
    std::signal(SIGTERM, onInterruption);
}

bool interruptionRequested()
{
    return interrupted != 0;
}
