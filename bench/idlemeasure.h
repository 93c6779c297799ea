// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// How long both idle harnesses let the event loop run while measuring.
constexpr int idleMilliseconds = 10000;

// Runs the event loop for the given time; returns the CPU seconds it took.
double cpuSecondsOverEventLoop(int milliseconds);
