#include "link/exchangeplan.h"

TickPlan planTick(const LinkState &link)
{
    TickPlan plan;
    for (DeviceParameter parameter : readOrder) {
        if (link.requests[parameter] == RequestState::Read) {
            plan.frame = OutgoingFrame{Command::GetParameter, parameterNumber(parameter), 0, 0};
            return plan;
        }
    }
    plan.readsComplete = true;
    plan.writesComplete = !anyRequest(link, RequestState::Write);

    if (link.powerStageRequest == RequestState::Write) {
        plan.frame = OutgoingFrame{Command::SwitchPowerStage, powerStageType, powerStageBank,
                                   link.powerStageOff ? 1 : 0};
        return plan;
    }
    // The parameter table lists the parameters in write order.
    for (DeviceParameter parameter : allDeviceParameters) {
        if (link.requests[parameter] != RequestState::Write)
            continue;
        const int value = wireValue(parameter, link.values[parameter]);
        if (value >= 0)
            plan.frame = OutgoingFrame{Command::SetParameter, parameterNumber(parameter), 0, value};
        return plan;
    }
    if (link.pulseWanted && link.pulseWanted != link.pulseSent)
        plan.frame = OutgoingFrame{Command::RunPulseGenerator, 0, 0, *link.pulseWanted};
    return plan;
}
