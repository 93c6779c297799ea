// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/linkstate.h"

#include <QStringList>

#include <algorithm>

bool anyRequest(const LinkState &link, RequestState request)
{
    return std::any_of(
        allDeviceParameters.begin(), allDeviceParameters.end(),
        [&](DeviceParameter parameter) { return link.requests[parameter] == request; });
}

QStringList parametersNotFromModule(const LinkState &link)
{
    QStringList names;
    for (DeviceParameter parameter : readOrder) {
        if (link.held[parameter] != link.values[parameter])
            names.append(parameterName(parameter));
    }
    return names;
}

bool stopUnsent(const LinkState &link)
{
    return link.pulseWanted == 0 && link.pulseSent != 0 && link.lastPulseFrame != 0;
}

bool pulseConfirmed(const LinkState &link)
{
    return !link.pulseWanted || link.pulseSent == link.pulseWanted;
}

PerParameter<std::optional<int>> knownModuleValues(const LinkState &link)
{
    PerParameter<std::optional<int>> known = link.held;
    for (DeviceParameter parameter : allDeviceParameters) {
        if (link.requests[parameter] == RequestState::Write)
            known[parameter].reset();
    }
    return known;
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
    link.lastPulseFrame.reset();
    link.pulseErrorShown = false;
}
