// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Figures a harness reads about its own process.

// Milliseconds since the script launched this process, from the wall-clock
// stamp it puts in VELD_BENCH_LAUNCHED (bash's EPOCHREALTIME) right before
// the exec; negative when the stamp is missing.
double millisecondsSinceLaunch();

// A memory figure of /proc/self/status in KiB, such as "VmHWM" (peak
// resident) or "RssAnon" (resident and private); negative when unreadable.
long processStatusKiB(const char *field);

// CPU time used so far, user and system, in seconds.
double cpuSeconds();
