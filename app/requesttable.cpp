#include "app/mainwindow.h"

// The request table's entries reached by parameter, and the whole table as
// the plain values the link's rules decide on.

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

RequestState &MainWindow::requestOf(DeviceParameter parameter)
{
    return visitEntry(*this, parameter,
                      [](auto &entry) -> RequestState & { return entry.request; });
}

RequestState MainWindow::requestOf(DeviceParameter parameter) const
{
    return visitEntry(*this, parameter, [](const auto &entry) { return entry.request; });
}

int MainWindow::cachedValue(DeviceParameter parameter) const
{
    return visitEntry(*this, parameter, [](const auto &entry) { return int(entry.value); });
}

int MainWindow::fileValueOf(DeviceParameter parameter) const
{
    return visitEntry(*this, parameter, [](const auto &entry) { return int(entry.fileValue); });
}

void MainWindow::storeValue(DeviceParameter parameter, int value)
{
    visitEntry(*this, parameter, [value](auto &entry) {
        using Value = decltype(entry.value);
        entry.value = static_cast<Value>(value);
    });
}

ParameterValues MainWindow::fileValues() const
{
    ParameterValues values;
    for (DeviceParameter parameter : allDeviceParameters)
        values[parameter] = fileValueOf(parameter);
    return values;
}

void MainWindow::setFileValue(DeviceParameter parameter, int value)
{
    visitEntry(*this, parameter, [value](auto &entry) {
        using Value = decltype(entry.value);
        entry.fileValue = static_cast<Value>(value);
    });
}

void MainWindow::writeValues(const SettingsWrites &writes)
{
    for (DeviceParameter parameter : allDeviceParameters) {
        if (writes[parameter]) {
            storeValue(parameter, *writes[parameter]);
            requestOf(parameter) = RequestState::Write;
        }
    }
}

void MainWindow::requestAll(RequestState request)
{
    for (DeviceParameter parameter : allDeviceParameters)
        requestOf(parameter) = request;
}

LinkState MainWindow::linkState() const
{
    LinkState link;
    for (DeviceParameter parameter : allDeviceParameters) {
        link.requests[parameter] = requestOf(parameter);
        link.values[parameter] = cachedValue(parameter);
    }
    link.held = moduleHolds;
    link.powerStageOff = powerStageOff;
    link.powerStageRequest = powerStageRequest;
    link.pulseWanted = pulseWanted;
    link.pulseSent = pulseSent;
    link.pulseErrorShown = pulseErrorShown;
    return link;
}

void MainWindow::takeLinkState(const LinkState &link)
{
    for (DeviceParameter parameter : allDeviceParameters) {
        requestOf(parameter) = link.requests[parameter];
        storeValue(parameter, link.values[parameter]);
    }
    moduleHolds = link.held;
    powerStageOff = link.powerStageOff;
    powerStageRequest = link.powerStageRequest;
    pulseWanted = link.pulseWanted;
    pulseSent = link.pulseSent;
    pulseErrorShown = link.pulseErrorShown;
}
