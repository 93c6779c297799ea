#pragma once

#include "link/parameters.h"

#include <array>
#include <functional>

class QTextStream;
class QString;

// The order in which a configuration file lists the parameters.
constexpr std::array<DeviceParameter, 7> configurationFileOrder = {
    DeviceParameter::MicroStepResolution, DeviceParameter::MicroStepMultiplier,
    DeviceParameter::MicroStepDoubleEdge, DeviceParameter::HalfCurrentRange,
    DeviceParameter::RunCurrent,          DeviceParameter::StandbyCurrent,
    DeviceParameter::StandbyCurrentDelay,
};

// Writes the seven lines and logs each; returns whether the stream took them all.
bool writeConfiguration(QTextStream &stream, const std::function<int(DeviceParameter)> &valueOf,
                        const std::function<void(const QString &)> &log);
