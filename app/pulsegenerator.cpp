// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/mainwindow.h"
#include "link/displayformat.h"
#include "ui_mainwindow.h"

namespace {

constexpr int fineStepHz = 1;
constexpr int coarseStepHz = 100;
constexpr double degreesPerRotation = 360.0;

} // namespace

QString MainWindow::formatFrequency() const
{
    return ::formatFrequency(pulseFrequency, ui->herzRadioButton->isChecked());
}

QString MainWindow::formatMotorSpeed() const
{
    return motorSpeedFor(ui->motorFullStepsLineEdit->text().toInt(nullptr, 10));
}

QString MainWindow::motorSpeedFor(double fullSteps) const
{
    return ::formatMotorSpeed(pulseFrequency, microStepResolution.value, fullSteps,
                              motionState == MotionState::RotatingLeft);
}

void MainWindow::on_pulseFrequencyDial_sliderMoved(int position)
{
    const int step = ui->herzRadioButton->isChecked() ? fineStepHz : coarseStepHz;
    pulseFrequency =
        clampPulseFrequency(pulseFrequency + pulseDialNotches(pulseDialPosition, position) * step);
    ui->pulseFrequencyLineEdit->setText(formatFrequency());
    applyMotion(MotionEvent::FrequencyChanged);
    pulseDialPosition = position;
}

void MainWindow::on_herzRadioButton_clicked()
{
    ui->x100HzRadioButton->setChecked(false);
    ui->pulseFrequencyLineEdit->setText(formatFrequency());
}

void MainWindow::on_x100HzRadioButton_clicked()
{
    ui->herzRadioButton->setChecked(false);
    ui->pulseFrequencyLineEdit->setText(formatFrequency());
}

// The two fields describe one motor property; each rewrites the other until
// both agree.
void MainWindow::on_motorStepAngleLineEdit_textChanged(const QString &arg1)
{
    const double angle = arg1.toDouble();
    const double fullSteps = angle == 0 ? 0 : degreesPerRotation / angle;
    ui->motorFullStepsLineEdit->setText(QString::number(fullSteps, 'f', 0));
    ui->rpmLineEdit->setText(isTurning(motionState) ? motorSpeedFor(fullSteps)
                                                    : QStringLiteral("0"));
}

void MainWindow::on_motorFullStepsLineEdit_textChanged(const QString &arg1)
{
    const int fullSteps = arg1.toInt(nullptr, 10);
    const double angle = fullSteps == 0 ? 0 : degreesPerRotation / fullSteps;
    ui->motorStepAngleLineEdit->setText(QString::number(angle, 'f', 2));
    ui->rpmLineEdit->setText(isTurning(motionState) ? motorSpeedFor(fullSteps)
                                                    : QStringLiteral("0"));
}
