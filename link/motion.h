// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>

// What the stop and rotate buttons currently do. In DriverOff and DriverOn the
// stop button switches the power stage.
enum class MotionState { DriverOff = 0, DriverOn = 1, RotatingLeft = 2, RotatingRight = 3 };

enum class MotionEvent {
    StopClicked,
    RotateLeftClicked,
    RotateRightClicked,
    FrequencyChanged, // the pulse dial moved
    Connected,        // a port, or the simulator, opened
};

// What the speed field shows after an event.
enum class SpeedShown { Unchanged, Zero, Speed };

// The next state and what the event asks of the link and the controls.
struct MotionStep
{
    MotionState state = MotionState::DriverOff;
    std::optional<bool> powerStageOff; // the power stage is to be switched so
    std::optional<int> pulseWanted;    // the pulse generator is to run this, in signed Hz
    SpeedShown speed = SpeedShown::Unchanged;
    // The rotate buttons show the direction: the turning one held down, the
    // other usable; both usable once stopped.
    bool directionShown = false;
};

MotionStep nextMotion(MotionState state, MotionEvent event, int frequency);

bool isTurning(MotionState state);

// "Driver On", "Driver Off" or "STOP": what a click on the stop button does next.
const char *stopButtonText(MotionState state);
