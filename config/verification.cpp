// SPDX-License-Identifier: GPL-3.0-or-later

#include "config/verification.h"

PerParameter<Verification> verifyValues(const ParameterValues &fileValues,
                                        const PerParameter<std::optional<int>> &moduleValues)
{
    PerParameter<Verification> verdicts;
    for (DeviceParameter parameter : allDeviceParameters) {
        const std::optional<int> &module = moduleValues[parameter];
        if (!module)
            verdicts[parameter] = Verification::NotKnown;
        else if (*module == fileValues[parameter])
            verdicts[parameter] = Verification::Verified;
        else
            verdicts[parameter] = Verification::Differs;
    }
    return verdicts;
}
