// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/mainwindow.h"

// The values a configuration file gave, kept in the request table's entries.

template <typename Window, typename Visit>
decltype(auto) MainWindow::visitEntry(Window &window, DeviceParameter parameter, Visit visit)
{
    switch (parameter) {
    case DeviceParameter::RunCurrent:
        return visit(window.runCurrent);
    case DeviceParameter::StandbyCurrent:
        return visit(window.standbyCurrent);
    case DeviceParameter::MicroStepResolution:
        return visit(window.microStepResolution);
    case DeviceParameter::MicroStepMultiplier:
        return visit(window.microStepMultiplier);
    case DeviceParameter::MicroStepDoubleEdge:
        return visit(window.microStepDoubleEdge);
    case DeviceParameter::HalfCurrentRange:
        return visit(window.halfCurrentRange);
    case DeviceParameter::StandbyCurrentDelay:
        break;
    }
    return visit(window.standbyCurrentDelay);
}

ParameterValues MainWindow::fileValues() const
{
    ParameterValues values;
    for (DeviceParameter parameter : allDeviceParameters)
        values[parameter] =
            visitEntry(*this, parameter, [](const auto &entry) { return int(entry.fileValue); });
    return values;
}

void MainWindow::setFileValue(DeviceParameter parameter, int value)
{
    visitEntry(*this, parameter, [value](auto &entry) {
        using Value = decltype(entry.fileValue);
        entry.fileValue = static_cast<Value>(value);
    });
}

void MainWindow::writeValues(const SettingsWrites &writes)
{
    LinkState &link = session.link();
    for (DeviceParameter parameter : allDeviceParameters) {
        if (writes[parameter]) {
            link.values[parameter] = *writes[parameter];
            link.requests[parameter] = RequestState::Write;
        }
    }
}
