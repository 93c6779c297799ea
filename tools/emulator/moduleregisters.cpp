// SPDX-License-Identifier: GPL-3.0-or-later

#include "tools/emulator/moduleregisters.h"

namespace {

struct ParameterLimits
{
    int number;
    int startValue;
    int largestWritable;
    int largestReadable;
};

// Start values differ from the programmer's factory defaults, so a program
// that shows its own values instead of the module's is caught. They keep the
// microstep rules: multiplier off, double edge on, 32 microsteps (code 3).
// Code 6 (4 microsteps) can be written but is no valid reading.
constexpr ParameterLimits parameterTable[] = {
    {6, 20, 31, 31},     // RunCurrent
    {7, 10, 31, 31},     // StandbyCurrent
    {140, 3, 6, 5},      // MicroStepResolution, microstep code
    {160, 0, 1, 1},      // MicroStepMultiplier
    {161, 1, 1, 1},      // MicroStepDoubleEdge
    {179, 1, 1, 1},      // HalfCurrentRange
    {214, 15, 255, 255}, // StandbyCurrentDelay
};

const ParameterLimits *limitsOf(int number)
{
    for (const ParameterLimits &limits : parameterTable) {
        if (limits.number == number)
            return &limits;
    }
    return nullptr;
}

constexpr int powerStageType = 2;
constexpr int powerStageMotor = 2;
constexpr int powerStageOffValue = 1;

} // namespace

ModuleRegisters::ModuleRegisters()
{
    for (const ParameterLimits &limits : parameterTable)
        values.insert(limits.number, limits.startValue);
}

void ModuleRegisters::setParameter(int number, int wireValue)
{
    if (hasParameter(number))
        values.insert(number, wireValue);
}

int ModuleRegisters::largestReadableValue(int number) const
{
    const ParameterLimits *limits = limitsOf(number);
    return limits ? limits->largestReadable : -1;
}

CommandResult ModuleRegisters::execute(int command, int type, int motor, qint32 value,
                                       bool writesRefused)
{
    switch (command) {
    case CommandGetParameter:
        if (!hasParameter(type) || motor != 0)
            return {StatusWrongType, 0};
        return {StatusOk, values.value(type)};
    case CommandSetParameter:
        if (!hasParameter(type) || motor != 0)
            return {StatusWrongType, 0};
        if (value < 0 || value > limitsOf(type)->largestWritable)
            return {StatusInvalidValue, value};
        if (writesRefused)
            return {StatusWriteRefused, 0};
        values.insert(type, value);
        return {StatusOk, value};
    case CommandSwitchPowerStage:
        if (type != powerStageType || motor != powerStageMotor)
            return {StatusWrongType, 0};
        if (value != 0 && value != powerStageOffValue)
            return {StatusInvalidValue, value};
        if (writesRefused)
            return {StatusWriteRefused, 0};
        powerOn = value != powerStageOffValue;
        return {StatusOk, value};
    case CommandRunPulseGenerator:
        if (type != 0 || motor != 0)
            return {StatusWrongType, 0};
        if (writesRefused)
            return {StatusWriteRefused, 0};
        pulseHz = value;
        return {StatusOk, value};
    default:
        return {StatusInvalidCommand, 0};
    }
}
