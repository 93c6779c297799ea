#pragma once

#include "link/parameters.h"

#include <array>

// HalfCurrentRange is read first, so the currents read after it are shown on
// the right scale. Verify reports in the same order.
constexpr std::array<DeviceParameter, 7> readOrder = {
    DeviceParameter::HalfCurrentRange,    DeviceParameter::RunCurrent,
    DeviceParameter::StandbyCurrent,      DeviceParameter::StandbyCurrentDelay,
    DeviceParameter::MicroStepResolution, DeviceParameter::MicroStepMultiplier,
    DeviceParameter::MicroStepDoubleEdge,
};

constexpr std::array<DeviceParameter, 7> writeOrder = {
    DeviceParameter::RunCurrent,          DeviceParameter::StandbyCurrent,
    DeviceParameter::MicroStepResolution, DeviceParameter::MicroStepMultiplier,
    DeviceParameter::MicroStepDoubleEdge, DeviceParameter::HalfCurrentRange,
    DeviceParameter::StandbyCurrentDelay,
};
