#include "link/linkstate.h"

#include <QStringList>

#include <algorithm>

bool anyRequest(const LinkState &link, RequestState request)
{
    return std::any_of(
        allDeviceParameters.begin(), allDeviceParameters.end(),
        [&](DeviceParameter parameter) { return link.requests[parameter] == request; });
}

bool isModuleValue(const LinkState &link, DeviceParameter parameter)
{
    return link.held[parameter] == link.values[parameter];
}

QStringList parametersNotFromModule(const LinkState &link)
{
    QStringList names;
    for (DeviceParameter parameter : readOrder) {
        if (!isModuleValue(link, parameter))
            names.append(parameterName(parameter));
    }
    return names;
}

void startConnection(LinkState &link)
{
    for (DeviceParameter parameter : allDeviceParameters) {
        link.requests[parameter] = RequestState::Read;
        link.held[parameter].reset();
    }
    link.powerStageOff = true;
    link.powerStageRequest = RequestState::Write;
    link.pulseWanted.reset();
    link.pulseSent.reset();
    link.pulseErrorShown = false;
}
