// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/exchangeplan.h"

namespace {

OutgoingFrame pulseGeneratorFrame(int frequency)
{
    return OutgoingFrame{Command::RunPulseGenerator, 0, 0, frequency};
}

std::optional<OutgoingFrame> nextFrame(const LinkState &link)
{
    if (stopUnsent(link))
        return pulseGeneratorFrame(0);
    for (DeviceParameter parameter : readOrder) {
        if (link.requests[parameter] == RequestState::Read)
            return OutgoingFrame{Command::GetParameter, parameterNumber(parameter), 0, 0};
    }
    if (link.powerStageRequest == RequestState::Write) {
        // A pulse generator left running, or one whose stop went unconfirmed,
        // would turn the motor the moment the power stage is on: the module
        // confirms what is wanted of it first.
        if (!link.powerStageOff && !pulseConfirmed(link))
            return pulseGeneratorFrame(*link.pulseWanted);
        return OutgoingFrame{Command::SwitchPowerStage, powerStageType, powerStageBank,
                             link.powerStageOff ? 1 : 0};
    }
    // The parameter table lists the parameters in write order.
    for (DeviceParameter parameter : allDeviceParameters) {
        if (link.requests[parameter] != RequestState::Write)
            continue;
        const int value = wireValue(parameter, link.values[parameter]);
        if (value < 0)
            return std::nullopt;
        return OutgoingFrame{Command::SetParameter, parameterNumber(parameter), 0, value};
    }
    if (!pulseConfirmed(link))
        return pulseGeneratorFrame(*link.pulseWanted);
    return std::nullopt;
}

} // namespace

TickPlan planTick(const LinkState &link)
{
    TickPlan plan;
    plan.readsComplete = !anyRequest(link, RequestState::Read);
    plan.writesComplete = plan.readsComplete && !anyRequest(link, RequestState::Write);
    plan.frame = nextFrame(link);
    return plan;
}
