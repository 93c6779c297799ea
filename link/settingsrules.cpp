// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/settingsrules.h"

#include "link/displayformat.h"

namespace {

using P = DeviceParameter;

void change(SettingsWrites &writes, const LinkState &link, DeviceParameter parameter, int value)
{
    if (link.values[parameter] != value)
        writes[parameter] = value;
}

} // namespace

SettingsWrites turnRunCurrentDial(const LinkState &link, int position, bool ownStandbyCurrent)
{
    SettingsWrites writes;
    const bool halfRange = isHalfRangeDialPosition(position);
    // A read of the range still under way must not put the current the user
    // chose on the other scale.
    if (link.requests[P::HalfCurrentRange] == RequestState::Read)
        writes[P::HalfCurrentRange] = halfRange;
    else
        change(writes, link, P::HalfCurrentRange, halfRange);

    const int value = runCurrentFromDialPosition(position);
    if (value != link.values[P::RunCurrent]) {
        writes[P::RunCurrent] = value;
        if (!ownStandbyCurrent)
            writes[P::StandbyCurrent] = value;
    }
    return writes;
}

SettingsWrites chooseValue(const LinkState &link, DeviceParameter parameter, int value)
{
    SettingsWrites writes;
    change(writes, link, parameter, value);
    return writes;
}

SettingsWrites shareRunCurrent(const LinkState &link)
{
    // Both are written, so that the module holds what is shown.
    SettingsWrites writes;
    writes[P::StandbyCurrent] = link.values[P::RunCurrent];
    writes[P::StandbyCurrentDelay] = 0;
    return writes;
}

SettingsWrites chooseResolution(const LinkState &link, int microsteps)
{
    SettingsWrites writes;
    if (microsteps != multiplierResolution)
        change(writes, link, P::MicroStepMultiplier, false);
    change(writes, link, P::MicroStepResolution, microsteps);
    return writes;
}

SettingsWrites clickMultiplier(const LinkState &link, bool checked)
{
    SettingsWrites writes;
    change(writes, link, P::MicroStepMultiplier, checked);
    if (checked) {
        change(writes, link, P::MicroStepDoubleEdge, false);
        change(writes, link, P::MicroStepResolution, multiplierResolution);
    }
    return writes;
}

SettingsWrites clickDoubleEdge(const LinkState &link, bool checked)
{
    SettingsWrites writes;
    if (checked)
        change(writes, link, P::MicroStepMultiplier, false);
    change(writes, link, P::MicroStepDoubleEdge, checked);
    return writes;
}
