// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/mainwindow.h"
#include "link/displayformat.h"
#include "ui_mainwindow.h"

QString MainWindow::formatCurrent(int value) const
{
    return ::formatCurrent(value, halfCurrentRange.value);
}

QString MainWindow::formatDelay(int value) const
{
    return ::formatDelay(value);
}

int MainWindow::runCurrentDialPosition() const
{
    return ::runCurrentDialPosition(runCurrent.value, halfCurrentRange.value);
}

// The standby current controls sit outside the group box, so the box's own
// check state does not reach them.
void MainWindow::enableStandbyControls(bool enabled)
{
    ui->delayLineEdit->setEnabled(enabled);
    ui->delayDial->setEnabled(enabled);
    ui->standbyCurrentLineEdit->setEnabled(enabled);
    ui->standbyCurrentDial->setEnabled(enabled);
}

void MainWindow::on_runCurrentDial_sliderMoved(int position)
{
    const SettingsWrites writes =
        turnRunCurrentDial(session.link(), position, ui->standbyCurrentGroupBox->isChecked());
    writeValues(writes);
    // The standby register value stays; its current reads on the new scale.
    if (writes[DeviceParameter::HalfCurrentRange])
        ui->standbyCurrentLineEdit->setText(formatCurrent(standbyCurrent.value));
    if (writes[DeviceParameter::StandbyCurrent])
        showValue(DeviceParameter::StandbyCurrent);
    ui->runCurrentLineEdit->setText(formatCurrent(runCurrent.value));
}

void MainWindow::on_standbyCurrentDial_sliderMoved(int position)
{
    writeValues(chooseValue(session.link(), DeviceParameter::StandbyCurrent, position));
    ui->standbyCurrentLineEdit->setText(formatCurrent(position));
}

void MainWindow::on_delayDial_sliderMoved(int position)
{
    writeValues(chooseValue(session.link(), DeviceParameter::StandbyCurrentDelay, position));
    ui->delayLineEdit->setText(formatDelay(position));
}

void MainWindow::on_standbyCurrentGroupBox_clicked(bool checked)
{
    enableStandbyControls(checked);
    if (checked)
        return;
    writeValues(shareRunCurrent(session.link()));
    showValue(DeviceParameter::StandbyCurrent);
    ui->delayLineEdit->setText(QStringLiteral("0"));
    ui->delayDial->setValue(0);
}
