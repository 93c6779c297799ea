// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/motion.h"

namespace {

MotionStep rotate(MotionState direction, int frequency)
{
    MotionStep step;
    step.state = direction;
    // The power stage goes on before the first pulse: the cycle sends it first.
    step.powerStageOff = false;
    step.pulseWanted = direction == MotionState::RotatingLeft ? -frequency : frequency;
    step.speed = SpeedShown::Speed;
    step.directionShown = true;
    return step;
}

MotionStep stop(MotionState state)
{
    MotionStep step;
    switch (state) {
    case MotionState::RotatingLeft:
    case MotionState::RotatingRight:
        // The power stage stays on.
        step.state = MotionState::DriverOn;
        step.pulseWanted = 0;
        step.speed = SpeedShown::Zero;
        step.directionShown = true;
        break;
    case MotionState::DriverOff:
        step.state = MotionState::DriverOn;
        step.powerStageOff = false;
        step.pulseWanted = 0;
        break;
    case MotionState::DriverOn:
        step.state = MotionState::DriverOff;
        step.powerStageOff = true;
        break;
    }
    return step;
}

} // namespace

MotionStep nextMotion(MotionState state, MotionEvent event, int frequency)
{
    switch (event) {
    case MotionEvent::StopClicked:
        return stop(state);
    case MotionEvent::RotateLeftClicked:
        return rotate(MotionState::RotatingLeft, frequency);
    case MotionEvent::RotateRightClicked:
        return rotate(MotionState::RotatingRight, frequency);
    case MotionEvent::FrequencyChanged: {
        MotionStep step;
        step.state = state;
        step.speed = SpeedShown::Zero;
        if (isTurning(state)) {
            step.pulseWanted = state == MotionState::RotatingLeft ? -frequency : frequency;
            step.speed = SpeedShown::Speed;
        }
        return step;
    }
    case MotionEvent::Connected:
        break;
    }
    // A button held down before the port closed stays so.
    return MotionStep{};
}

bool isTurning(MotionState state)
{
    return state == MotionState::RotatingLeft || state == MotionState::RotatingRight;
}

const char *stopButtonText(MotionState state)
{
    switch (state) {
    case MotionState::DriverOff:
        return "Driver On";
    case MotionState::DriverOn:
        return "Driver Off";
    case MotionState::RotatingLeft:
    case MotionState::RotatingRight:
        break;
    }
    return "STOP";
}
