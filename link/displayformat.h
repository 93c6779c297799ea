// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// Texts and dial positions of the settings panel, computed from register
// values. The window's handlers, reply handling, programming from a file and
// the factory reset all show values through these.

// Current of a register value 0..31 on the half (0.165) or full (0.305) scale:
// "24mA" below one ampere, "1.123A" from one ampere on.
QString formatCurrent(int value, bool halfCurrentRange);

// Standby delay in steps of 100 ms: "900ms" up to 9, "1.0s" from 10 on.
QString formatDelay(int value);

// The run current dial covers both scales: positions 0..31 are the half
// range, 32..46 the full range with register values 17..31.
int runCurrentDialPosition(int runCurrent, bool halfCurrentRange);
bool isHalfRangeDialPosition(int position);
int runCurrentFromDialPosition(int position);

// Pulse frequency in Hz, as "1500Hz" or, for the 100 Hz step, "1.500kHz".
QString formatFrequency(int frequency, bool inHertz);

// The wrapping pulse dial's positions, and its move from one position to
// another in notches: a jump of more than half a turn is taken as crossing
// the wrap point.
constexpr int pulseDialPositions = 100;
int pulseDialNotches(int fromPosition, int toPosition);

// Keeps a pulse frequency within what the module's generator takes.
int clampPulseFrequency(int frequency);

// Motor speed in rotations per minute, with 1 to 3 decimals by size and a
// minus sign while turning left. With no full-step count the speed is
// unknown and shown as unknownMotorSpeed.
QString formatMotorSpeed(int frequency, int microsteps, double fullSteps, bool turningLeft);

extern const char unknownMotorSpeed[];
