#include "app/mainwindow.h"
#include "link/exchangeorder.h"

void MainWindow::sendFrame(int command, int type, int motor, int value)
{
    txFrame = encodeFrame(command, type, motor, value);
    lastCommand = command;
    lastType = type;
    lastValue = value;
    // Bytes of an earlier reply that came late or in pieces must not be
    // taken for part of this request's reply.
    if (serialPort.isOpen())
        serialPort.clear(QSerialPort::Input);
    serialPort.write(reinterpret_cast<const char *>(txFrame.data()), frameLength);
    exchangeState = ExchangeState::AwaitingReply;
}

// One step of the exchange: read the reply to the frame sent last, or send
// the first pending request (reads, then writes, then the pulse generator).
void MainWindow::on_timerEvent()
{
    if (exchangeState == ExchangeState::AwaitingReply) {
        handleReply();
        return;
    }
    if (exchangeState == ExchangeState::Idle)
        return;

    if (sendNextRead())
        return;
    runReadCompletionHook();

    const WriteOutcome outcome = sendNextWrite();
    if (outcome == WriteOutcome::Stalled)
        return;
    if (!anyWritePending())
        runWriteCompletionHook();

    if (outcome == WriteOutcome::NothingPending && pulseWanted != pulseSent) {
        sendFrame(int(Command::RunPulseGenerator), 0, 0, pulseWanted);
        pulseSent = pulseWanted;
    }
}

bool MainWindow::sendNextRead()
{
    for (DeviceParameter parameter : readOrder) {
        if (requestOf(parameter) == RequestState::Read) {
            sendFrame(int(Command::GetParameter), parameterNumber(parameter), 0, 0);
            return true;
        }
    }
    return false;
}

MainWindow::WriteOutcome MainWindow::sendNextWrite()
{
    if (powerStageRequest == RequestState::Write) {
        sendFrame(int(Command::SwitchPowerStage), powerStageType, powerStageBank,
                  powerStageOff ? 1 : 0);
        return WriteOutcome::Sent;
    }
    for (DeviceParameter parameter : writeOrder) {
        if (requestOf(parameter) != RequestState::Write)
            continue;
        // A resolution without a code waits, and holds up the writes after it.
        const int value = wireValue(parameter, cachedValue(parameter));
        if (value < 0)
            return WriteOutcome::Stalled;
        sendFrame(int(Command::SetParameter), parameterNumber(parameter), 0, value);
        return WriteOutcome::Sent;
    }
    return WriteOutcome::NothingPending;
}

bool MainWindow::anyWritePending()
{
    for (DeviceParameter parameter : allDeviceParameters) {
        if (requestOf(parameter) == RequestState::Write)
            return true;
    }
    return false;
}
