// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/mainwindow.h"

#include "ui_mainwindow.h"

// The one path from the request table's values to the controls. Setting a
// dial, a text or a check box from here runs no user-action handler; only
// selecting a microstep item runs the resolution handler, with its interlock.
// Dials are placed with setValue: setSliderPosition reports a turn, as the
// wheel and the keys do, and the turn's handler would write the value back.

void MainWindow::showValue(DeviceParameter parameter)
{
    switch (parameter) {
    case DeviceParameter::HalfCurrentRange:
        // Both currents are shown on its scale.
        showValue(DeviceParameter::RunCurrent);
        showValue(DeviceParameter::StandbyCurrent);
        return;
    case DeviceParameter::RunCurrent:
        ui->runCurrentLineEdit->setText(formatCurrent(runCurrent.value));
        ui->runCurrentDial->setValue(runCurrentDialPosition());
        return;
    case DeviceParameter::StandbyCurrent:
        ui->standbyCurrentLineEdit->setText(formatCurrent(standbyCurrent.value));
        ui->standbyCurrentDial->setValue(standbyCurrent.value);
        return;
    case DeviceParameter::StandbyCurrentDelay:
        ui->delayLineEdit->setText(formatDelay(standbyCurrentDelay.value));
        ui->delayDial->setValue(standbyCurrentDelay.value);
        return;
    case DeviceParameter::MicroStepResolution:
        selectMicrostepItem(microStepResolution.value);
        return;
    case DeviceParameter::MicroStepMultiplier:
        ui->x16CheckBox->setChecked(microStepMultiplier.value);
        return;
    case DeviceParameter::MicroStepDoubleEdge:
        ui->doubleEdgeCheckBox->setChecked(microStepDoubleEdge.value);
        return;
    }
}

// The range comes before the currents shown on its scale, and the resolution
// before the multiplier: selecting the resolution's item may switch the
// multiplier off, and the value given for it must win.
void MainWindow::placeValues(const ParameterValues &values, RequestState request)
{
    constexpr DeviceParameter currents[] = {
        DeviceParameter::HalfCurrentRange, DeviceParameter::RunCurrent,
        DeviceParameter::StandbyCurrent, DeviceParameter::StandbyCurrentDelay};
    constexpr DeviceParameter microsteps[] = {DeviceParameter::MicroStepResolution,
                                              DeviceParameter::MicroStepMultiplier,
                                              DeviceParameter::MicroStepDoubleEdge};
    LinkState &link = session.link();
    const auto place = [&](DeviceParameter parameter) {
        link.values[parameter] = values[parameter];
        link.requests[parameter] = request;
        showValue(parameter);
    };
    for (DeviceParameter parameter : currents)
        place(parameter);
    syncStandbyGroupBox();
    for (DeviceParameter parameter : microsteps)
        place(parameter);
}

// A current the module cannot hold, or a delay that could not be read.
void MainWindow::showInvalid(DeviceParameter parameter)
{
    const auto show = [](QLineEdit *text, QDial *dial) {
        text->setText(QStringLiteral("invalid"));
        dial->setValue(0);
    };
    if (parameter == DeviceParameter::RunCurrent)
        show(ui->runCurrentLineEdit, ui->runCurrentDial);
    else if (parameter == DeviceParameter::StandbyCurrent)
        show(ui->standbyCurrentLineEdit, ui->standbyCurrentDial);
    else if (parameter == DeviceParameter::StandbyCurrentDelay)
        show(ui->delayLineEdit, ui->delayDial);
}

// A standby current of its own shows as a checked box with usable controls.
void MainWindow::syncStandbyGroupBox()
{
    const bool ownStandbyCurrent = standbyCurrent.value != runCurrent.value;
    ui->standbyCurrentGroupBox->setChecked(ownStandbyCurrent);
    enableStandbyControls(ownStandbyCurrent);
}
