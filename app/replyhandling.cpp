#include "app/mainwindow.h"

#include "link/replyrules.h"
#include "link/serialports.h"
#include "ui_mainwindow.h"

#include <algorithm>

// Applies the reply to the frame sent last, on the tick after it was sent.
void MainWindow::handleReply()
{
    const Reply reply = receiveReply();
    const AnsweredRequest answered = answeredRequest(lastCommand, lastType);
    switch (answered.kind) {
    case AnsweredRequest::Kind::Read:
        applyReadReply(answered.parameter, reply);
        break;
    case AnsweredRequest::Kind::Write:
        applyWriteReply(answered.parameter, reply);
        break;
    case AnsweredRequest::Kind::PowerStage:
        applyPowerStageReply(reply);
        break;
    case AnsweredRequest::Kind::PulseGenerator:
        applyPulseGeneratorReply(reply);
        break;
    case AnsweredRequest::Kind::Unknown:
        break;
    }
    exchangeState = ExchangeState::Ready;
}

Reply MainWindow::receiveReply()
{
    const QByteArray bytes = serialPort.isOpen() ? receivedReplyBytes(serialPort) : QByteArray();
    rxFrame.fill(0);
    std::copy(bytes.cbegin(), bytes.cend(), rxFrame.begin());
    return decodeReply(bytes);
}

void MainWindow::applyReadReply(DeviceParameter parameter, const Reply &reply)
{
    const ReadReplyOutcome outcome =
        readReplyOutcome(parameter, reply, requestOf(parameter), cachedValue(parameter));
    if (outcome.kind == ReadReplyOutcome::Kind::Superseded)
        return;
    if (outcome.showInvalid)
        showInvalid(parameter);
    const bool accepted = outcome.kind == ReadReplyOutcome::Kind::Accepted;
    if (accepted) {
        storeValue(parameter, outcome.value);
        showValue(parameter);
    }
    if (!outcome.report.isEmpty())
        report(outcome.report);
    if (accepted && parameter == DeviceParameter::StandbyCurrent)
        syncStandbyGroupBox();
    if (outcome.endsRequest())
        requestOf(parameter) = RequestState::None;
}

void MainWindow::applyWriteReply(DeviceParameter parameter, const Reply &reply)
{
    const WriteReplyOutcome outcome =
        writeReplyOutcome(parameter, reply, requestOf(parameter), cachedValue(parameter), lastValue,
                          bulkOperation == BulkOperation::ProgramFromFile);
    if (!outcome.report.isEmpty())
        report(outcome.report);
    const QString name = parameterName(parameter);
    if (outcome.unconfirmedInProgram && !unconfirmedWrites.contains(name))
        unconfirmedWrites.append(name);
    if (outcome.request)
        requestOf(parameter) = *outcome.request;
}

void MainWindow::applyPowerStageReply(const Reply &reply)
{
    const PowerStageReplyOutcome outcome = powerStageReplyOutcome(
        reply, lastValue != 0, powerStageOff, anyRequest(linkSnapshot(), RequestState::Write));
    showStatus(outcome.status);
    if (outcome.endsRequest)
        powerStageRequest = RequestState::None;
}

void MainWindow::applyPulseGeneratorReply(const Reply &reply)
{
    const bool errorShown =
        ui->statusBar->currentMessage() == QLatin1String(pulseGeneratorUnconfirmedMessage);
    const PulseGeneratorReplyOutcome outcome = pulseGeneratorReplyOutcome(
        reply, lastValue, errorShown, powerStageOff, powerStageRequest == RequestState::None);
    pulseSent = outcome.pulseSent;
    if (outcome.status)
        showStatus(*outcome.status);
}

void MainWindow::report(const QString &message)
{
    if (messageTarget == MessageTarget::FileDialogLog)
        appendLog(message);
    else
        ui->statusBar->showMessage(message);
}

// The power stage and the pulse generator are shown in the status bar, on
// green or red, whatever the file dialog is doing.
void MainWindow::showStatus(const StatusReport &status)
{
    ui->statusBar->showMessage(status.message);
    const QColor colour = status.colour == StatusColour::Green ? Qt::green : Qt::red;
    QPalette palette = ui->statusBar->palette();
    palette.setBrush(QPalette::All, QPalette::Window, QBrush(colour, Qt::SolidPattern));
    ui->statusBar->setPalette(palette);
    ui->statusBar->setAutoFillBackground(true);
}
