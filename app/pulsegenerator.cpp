#include "app/displayformat.h"
#include "app/mainwindow.h"
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
    const int microsteps = ui->microstepComboBox->currentText().toInt(nullptr, 10);
    return ::formatMotorSpeed(pulseFrequency, microsteps, fullSteps, motionState == RotatingLeft);
}

void MainWindow::on_pulseFrequencyDial_sliderMoved(int position)
{
    const int step = ui->herzRadioButton->isChecked() ? fineStepHz : coarseStepHz;
    pulseFrequency =
        clampPulseFrequency(pulseFrequency + pulseDialNotches(pulseDialPosition, position) * step);
    ui->pulseFrequencyLineEdit->setText(formatFrequency());

    if (motionState == RotatingLeft) {
        pulseWanted = -pulseFrequency;
        ui->rpmLineEdit->setText(formatMotorSpeed());
    } else if (motionState == RotatingRight) {
        pulseWanted = pulseFrequency;
        ui->rpmLineEdit->setText(formatMotorSpeed());
    } else {
        ui->rpmLineEdit->setText(QStringLiteral("0"));
    }
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
    startRotation(RotatingLeft);
}

void MainWindow::on_rotateRightButton_clicked()
{
    startRotation(RotatingRight);
}

void MainWindow::startRotation(MotionState direction)
{
    const bool left = direction == RotatingLeft;
    setRotateButtonHeld(left, true);
    setRotateButtonHeld(!left, false);
    ui->stopButton->setDown(false);
    ui->stopButton->setText(QStringLiteral("STOP"));
    // The power stage goes on before the first pulse: the cycle sends it first.
    switchPowerStage(false);
    motionState = direction;
    pulseWanted = left ? -pulseFrequency : pulseFrequency;
    ui->rpmLineEdit->setText(formatMotorSpeed());
}

// The two fields describe one motor property; each rewrites the other until
// both agree.
void MainWindow::on_motorStepAngleLineEdit_textChanged(const QString &arg1)
{
    const double angle = arg1.toDouble();
    const double fullSteps = angle == 0 ? 0 : degreesPerRotation / angle;
    ui->motorFullStepsLineEdit->setText(QString::number(fullSteps, 'f', 0));
    const bool turning = motionState == RotatingLeft || motionState == RotatingRight;
    ui->rpmLineEdit->setText(turning ? motorSpeedFor(fullSteps) : QStringLiteral("0"));
}

void MainWindow::on_motorFullStepsLineEdit_textChanged(const QString &arg1)
{
    const int fullSteps = arg1.toInt(nullptr, 10);
    const double angle = fullSteps == 0 ? 0 : degreesPerRotation / fullSteps;
    ui->motorStepAngleLineEdit->setText(QString::number(angle, 'f', 2));
    const bool turning = motionState == RotatingLeft || motionState == RotatingRight;
    ui->rpmLineEdit->setText(turning ? motorSpeedFor(fullSteps) : QStringLiteral("0"));
}
