// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/mainwindow.h"
#include "ui_mainwindow.h"

// The rotate and stop buttons: they start and stop the module's pulse
// generator and, while the motor stands, switch its power stage.

// A held button shows the running direction; the other one stays usable so
// that the direction can be reversed without stopping.
void MainWindow::setRotateButtonHeld(bool left, bool held)
{
    QPushButton *button = left ? ui->rotateLeftButton : ui->rotateRightButton;
    button->setEnabled(!held);
    button->setDown(held);
}

void MainWindow::on_rotateLeftButton_clicked()
{
    applyMotion(MotionEvent::RotateLeftClicked);
}

void MainWindow::on_rotateRightButton_clicked()
{
    applyMotion(MotionEvent::RotateRightClicked);
}

// Stops a turning motor; while stopped, switches the power stage on and off.
void MainWindow::on_stopButton_clicked()
{
    applyMotion(MotionEvent::StopClicked);
}

void MainWindow::applyMotion(MotionEvent event)
{
    const MotionStep step = nextMotion(motionState, event, pulseFrequency);
    motionState = step.state;
    if (step.directionShown) {
        setRotateButtonHeld(true, motionState == MotionState::RotatingLeft);
        setRotateButtonHeld(false, motionState == MotionState::RotatingRight);
        ui->stopButton->setDown(false);
    }
    ui->stopButton->setText(QLatin1String(stopButtonText(motionState)));
    if (step.powerStageOff)
        switchPowerStage(*step.powerStageOff);
    if (step.pulseWanted)
        pulseWanted = step.pulseWanted;
    if (step.speed == SpeedShown::Speed)
        ui->rpmLineEdit->setText(formatMotorSpeed());
    else if (step.speed == SpeedShown::Zero)
        ui->rpmLineEdit->setText(QStringLiteral("0"));
}

// Queues the power-stage switch, but only when its state changes.
void MainWindow::switchPowerStage(bool off)
{
    if (powerStageOff == off)
        return;
    powerStageOff = off;
    powerStageRequest = RequestState::Write;
}
