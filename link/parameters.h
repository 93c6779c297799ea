#pragma once

#include <QString>

#include <array>

// The module's device parameters, numbered as on the wire. Their names are
// the module's vocabulary: they appear in messages and configuration files.
enum class DeviceParameter {
    RunCurrent = 6,
    StandbyCurrent = 7,
    MicroStepResolution = 140,
    MicroStepMultiplier = 160,
    MicroStepDoubleEdge = 161,
    HalfCurrentRange = 179,
    StandbyCurrentDelay = 214,
};

// Values travel through the program as ints: booleans as 0 and 1, the
// microstep resolution as microsteps per full step (8..256).
constexpr std::array<DeviceParameter, 7> allDeviceParameters = {
    DeviceParameter::RunCurrent,          DeviceParameter::StandbyCurrent,
    DeviceParameter::MicroStepResolution, DeviceParameter::MicroStepMultiplier,
    DeviceParameter::MicroStepDoubleEdge, DeviceParameter::HalfCurrentRange,
    DeviceParameter::StandbyCurrentDelay,
};

int parameterNumber(DeviceParameter parameter);
bool isDeviceParameterNumber(int number);
QString parameterName(DeviceParameter parameter);
bool isBooleanParameter(DeviceParameter parameter);

// "TRUE" or "FALSE", as the module's booleans are shown and stored.
QString booleanText(bool value);

// A value as shown: "24", "TRUE".
QString parameterValueText(DeviceParameter parameter, int value);

// How a value is reported: "RunCurrent = 24", "MicroStepMultiplier = TRUE".
QString parameterReport(DeviceParameter parameter, int value);
