// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/mainwindow.h"
#include "ui_mainwindow.h"

void MainWindow::selectMicrostepItem(int microsteps)
{
    const int index = ui->microstepComboBox->findText(QString::number(microsteps));
    if (index >= 0)
        ui->microstepComboBox->setCurrentIndex(index);
}

// Runs for selections from code too: replies, programming and the reset rely on it.
void MainWindow::on_microstepComboBox_currentIndexChanged(const QString &arg1)
{
    writeMicrostepSettings(chooseResolution(session.link(), arg1.toInt(nullptr, 10)));
}

void MainWindow::on_x16CheckBox_clicked(bool checked)
{
    writeMicrostepSettings(clickMultiplier(session.link(), checked));
}

void MainWindow::on_doubleEdgeCheckBox_clicked(bool checked)
{
    writeMicrostepSettings(clickDoubleEdge(session.link(), checked));
}

// The values are stored before they are shown: selecting the resolution's
// item runs the resolution handler, which must find it stored.
void MainWindow::writeMicrostepSettings(const SettingsWrites &writes)
{
    writeValues(writes);
    for (DeviceParameter parameter :
         {DeviceParameter::MicroStepResolution, DeviceParameter::MicroStepMultiplier,
          DeviceParameter::MicroStepDoubleEdge}) {
        if (writes[parameter])
            showValue(parameter);
    }
}
