#pragma once

#include "link/perparameter.h"
#include "link/requesttable.h"

#include <algorithm>
#include <limits>

// The request table as plain values: what the exchange cycle and reply
// handling decide on. The window gathers one from its members; a driver
// without a window can keep its state in one.
struct LinkSnapshot
{
    PerParameter<RequestState> requests;
    ParameterValues values;
    bool powerStageOff = true;
    RequestState powerStageRequest = RequestState::None;
    int pulseWanted = 0;
    // The pulse generator value the module confirmed last, or unknownPulse.
    int pulseSent = 0;
};

// What the pulse generator runs after a frame the module did not confirm:
// it may have taken it or not, so whatever is wanted next goes out.
constexpr int unknownPulse = std::numeric_limits<int>::min();

// Whether any of the seven parameters has this request pending.
inline bool anyRequest(const LinkSnapshot &link, RequestState request)
{
    return std::any_of(
        allDeviceParameters.begin(), allDeviceParameters.end(),
        [&](DeviceParameter parameter) { return link.requests[parameter] == request; });
}
