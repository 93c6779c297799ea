#pragma once

class ReplyRig;

// What a user may do between two exchanges. The first few take a number
// (a dial position, an item, a step count).
enum class UserAction {
    None,
    DragRunCurrent,
    DragStandbyCurrent,
    DragDelay,
    DragPulseFrequency,
    SelectResolution,
    TypeFullSteps,
    ClickStandbyBox,
    ClickMultiplier,
    ClickDoubleEdge,
    ClickHertz,
    ClickHundredHertz,
    RotateLeft,
    RotateRight,
    Stop,
    ConfirmFactoryReset,
    Count
};

bool takesArgument(UserAction action);

// Does it as a user does; a disabled control takes no input.
void apply(const ReplyRig &rig, UserAction action, int argument);
