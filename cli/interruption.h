// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Ctrl-C and termination requests only set a flag, which the exchange's tick
// reads, so the port is closed on the main thread. std::signal works on
// Windows consoles too.
void watchForInterruption();
bool interruptionRequested();
