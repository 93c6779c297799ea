#include "app/displayformat.h"
#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include <algorithm>

namespace {

constexpr int highestCurrentValue = 31;

const char noCommunication[] = "Error: no communication with VELD-7316";
const char powerStageOnMessage[] = "Power stage on. Don not plug / unplug motor!";
const char powerStageOffMessage[] = "Power stage is off. You can now plug or unplug the motor.";
const char powerStageUnconfirmed[]
    = "Error: VELD-7316 did not confirm the power stage switch. Do not plug / unplug motor!";

} // namespace

// Applies the reply to the frame sent last, on the tick after it was sent.
void MainWindow::handleReply()
{
    QByteArray bytes;
    if (serialPort.isOpen()) {
        // Collects what has arrived even if the port's notifier has not run yet.
        serialPort.waitForReadyRead(0);
        bytes = serialPort.read(frameLength);
    }
    rxFrame.fill(0);
    std::copy(bytes.cbegin(), bytes.cend(), rxFrame.begin());
    const Reply reply = decodeReply(bytes);

    const bool knownParameter = isDeviceParameterNumber(lastType);
    const auto parameter = static_cast<DeviceParameter>(lastType);
    switch (lastCommand) {
    case int(Command::GetParameter):
        if (knownParameter)
            handleReadReply(parameter, reply);
        break;
    case int(Command::SetParameter):
        if (knownParameter)
            handleWriteReply(parameter, reply);
        break;
    case int(Command::SwitchPowerStage):
        if (lastType == powerStageType)
            handlePowerStageReply(reply);
        break;
    default:
        break;
    }
    exchangeState = ExchangeState::Ready;
}

void MainWindow::handleReadReply(DeviceParameter parameter, const Reply &reply)
{
    if (!reply.succeeded()) {
        // The read stays pending and is sent again. A delay the user set
        // meanwhile is written instead, and stays shown.
        report(QLatin1String(noCommunication));
        if (parameter == DeviceParameter::StandbyCurrentDelay &&
            requestOf(parameter) == RequestState::Read) {
            ui->delayLineEdit->setText(QStringLiteral("invalid"));
            ui->delayDial->setSliderPosition(0);
        }
        return;
    }
    // A change the user made while the read was under way wins over the
    // module's old value, and is written next.
    if (requestOf(parameter) == RequestState::Write)
        return;
    applyReadValue(parameter, reply.value);
    requestOf(parameter) = RequestState::None;
}

void MainWindow::applyReadValue(DeviceParameter parameter, int value)
{
    const bool isBoolean = value == 0 || value == 1;
    // A current beyond the register's range keeps the old value.
    const auto showInvalidCurrent = [this, parameter](QLineEdit *text, QDial *dial) {
        text->setText(QStringLiteral("invalid"));
        dial->setSliderPosition(0);
        report(parameterName(parameter) + QStringLiteral(" = invalid"));
    };
    switch (parameter) {
    case DeviceParameter::HalfCurrentRange:
        if (isBoolean) {
            halfCurrentRange.value = value == 1;
            // A standby current the user set meanwhile is written, not read
            // back: show it on the module's scale.
            if (standbyCurrent.request == RequestState::Write)
                ui->standbyCurrentLineEdit->setText(formatCurrent(standbyCurrent.value));
            report(parameterReport(parameter, value));
        }
        return;
    case DeviceParameter::RunCurrent:
        if (value > highestCurrentValue) {
            showInvalidCurrent(ui->runCurrentLineEdit, ui->runCurrentDial);
            return;
        }
        runCurrent.value = value;
        ui->runCurrentLineEdit->setText(formatCurrent(value));
        ui->runCurrentDial->setSliderPosition(runCurrentDialPosition());
        report(parameterReport(parameter, value));
        return;
    case DeviceParameter::StandbyCurrent:
        if (value > highestCurrentValue) {
            showInvalidCurrent(ui->standbyCurrentLineEdit, ui->standbyCurrentDial);
            return;
        }
        standbyCurrent.value = value;
        ui->standbyCurrentLineEdit->setText(formatCurrent(value));
        ui->standbyCurrentDial->setSliderPosition(value);
        report(parameterReport(parameter, value));
        syncStandbyGroupBox();
        return;
    case DeviceParameter::StandbyCurrentDelay:
        standbyCurrentDelay.value = value;
        ui->delayLineEdit->setText(formatDelay(value));
        ui->delayDial->setSliderPosition(value);
        report(parameterReport(parameter, value));
        return;
    case DeviceParameter::MicroStepResolution: {
        // Selecting the item runs the resolution handler before the value is stored.
        const int microsteps = microstepsFromCode(value);
        if (microsteps > 0) {
            selectMicrostepItem(microsteps);
            microStepResolution.value = microsteps;
        }
        report(parameterReport(parameter, microStepResolution.value));
        return;
    }
    case DeviceParameter::MicroStepMultiplier:
        if (isBoolean) {
            microStepMultiplier.value = value == 1;
            ui->x16CheckBox->setChecked(value == 1);
            report(parameterReport(parameter, value));
        }
        return;
    case DeviceParameter::MicroStepDoubleEdge:
        if (isBoolean) {
            microStepDoubleEdge.value = value == 1;
            ui->doubleEdgeCheckBox->setChecked(value == 1);
            report(parameterReport(parameter, value));
        }
        return;
    }
}

void MainWindow::handleWriteReply(DeviceParameter parameter, const Reply &reply)
{
    if (!reply.succeeded()) {
        const QString name = parameterName(parameter);
        report(QStringLiteral("Error: ") + name + QStringLiteral(" not written to VELD-7316"));
        if (!unconfirmedWrites.contains(name))
            unconfirmedWrites.append(name);
    }
    // A refused write is not retried; a newer value set meanwhile still goes out.
    RequestState &request = requestOf(parameter);
    const bool unchangedSinceSent
        = request == RequestState::Write && wireValue(parameter, cachedValue(parameter)) == lastValue;
    if (unchangedSinceSent)
        request = RequestState::None;
}

void MainWindow::handlePowerStageReply(const Reply &reply)
{
    if (!reply.succeeded()) {
        // The state is unknown: warn as for a live power stage and switch again.
        ui->statusBar->showMessage(QLatin1String(powerStageUnconfirmed));
        paintStatusBar(Qt::red);
        return;
    }
    const bool confirmedOff = lastValue != 0;
    if (confirmedOff) {
        ui->statusBar->showMessage(QLatin1String(powerStageOffMessage));
        paintStatusBar(Qt::green);
    } else {
        ui->statusBar->showMessage(QLatin1String(powerStageOnMessage));
        paintStatusBar(Qt::red);
    }
    if (powerStageOff == confirmedOff)
        powerStageRequest = RequestState::None;
}

void MainWindow::report(const QString &message)
{
    if (messageTarget == MessageTarget::FileDialogLog)
        appendLog(message);
    else
        ui->statusBar->showMessage(message);
}

void MainWindow::paintStatusBar(const QColor &colour)
{
    QPalette palette = ui->statusBar->palette();
    palette.setBrush(QPalette::All, QPalette::Window, QBrush(colour, Qt::SolidPattern));
    ui->statusBar->setPalette(palette);
    ui->statusBar->setAutoFillBackground(true);
}
