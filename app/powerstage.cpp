#include "app/mainwindow.h"

#include "link/factorydefaults.h"
#include "ui_mainwindow.h"

#include <QMessageBox>

// Queues the power-stage switch, but only when its state changes.
void MainWindow::switchPowerStage(bool off)
{
    if (powerStageOff == off)
        return;
    powerStageOff = off;
    powerStageRequest = RequestState::Write;
}

// Stops a turning motor; while stopped, switches the power stage on and off.
void MainWindow::on_stopButton_clicked()
{
    switch (motionState) {
    case RotatingLeft:
    case RotatingRight:
        setRotateButtonHeld(motionState == RotatingLeft, false);
        motionState = DriverOn;
        pulseWanted = 0;
        ui->rpmLineEdit->setText(QStringLiteral("0"));
        ui->stopButton->setText(QStringLiteral("Driver Off"));
        return;
    case DriverOff:
        motionState = DriverOn;
        switchPowerStage(false);
        pulseWanted = 0;
        ui->stopButton->setText(QStringLiteral("Driver Off"));
        return;
    case DriverOn:
        motionState = DriverOff;
        switchPowerStage(true);
        ui->stopButton->setText(QStringLiteral("Driver On"));
        return;
    }
}

void MainWindow::on_actionReset_to_Factory_Defaults_triggered()
{
    QMessageBox confirmation(QMessageBox::Warning, QString(),
                             QStringLiteral("Values will be Reset to Factory Default!"),
                             QMessageBox::Ok | QMessageBox::Cancel);
    if (confirmation.exec() != QMessageBox::Ok)
        return;

    // Every entry is written, also where it already holds the default.
    placeValues(factoryDefaults(), RequestState::Write);
}
