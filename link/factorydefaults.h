#pragma once

#include "link/perparameter.h"

// The module's factory settings, which are also what the window shows at start-up.
inline ParameterValues factoryDefaults()
{
    ParameterValues defaults;
    defaults[DeviceParameter::HalfCurrentRange] = false;
    defaults[DeviceParameter::RunCurrent] = 24;
    defaults[DeviceParameter::StandbyCurrent] = 24;
    defaults[DeviceParameter::StandbyCurrentDelay] = 0;
    defaults[DeviceParameter::MicroStepResolution] = 16;
    defaults[DeviceParameter::MicroStepMultiplier] = true;
    defaults[DeviceParameter::MicroStepDoubleEdge] = false;
    return defaults;
}
