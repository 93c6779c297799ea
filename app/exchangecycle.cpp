#include "app/mainwindow.h"

#include "link/exchangeplan.h"
#include "link/serialports.h"

void MainWindow::sendFrame(int command, int type, int motor, int value)
{
    txFrame = encodeFrame(command, type, motor, value);
    lastCommand = command;
    lastType = type;
    lastValue = value;
    if (serialPort.isOpen())
        discardStrayInput(serialPort);
    serialPort.write(reinterpret_cast<const char *>(txFrame.data()), frameLength);
    exchangeState = ExchangeState::AwaitingReply;
}

// One step of the exchange: read the reply to the frame sent last, or send
// the first pending request.
void MainWindow::on_timerEvent()
{
    if (exchangeState == ExchangeState::AwaitingReply) {
        handleReply();
        return;
    }
    if (exchangeState == ExchangeState::Idle)
        return;

    const TickPlan plan = planTick(linkSnapshot());
    if (plan.readsComplete)
        runReadCompletionHook();
    if (plan.writesComplete)
        runWriteCompletionHook();
    if (plan.frame)
        sendFrame(int(plan.frame->command), plan.frame->type, plan.frame->motor, plan.frame->value);
}

LinkSnapshot MainWindow::linkSnapshot() const
{
    LinkSnapshot link;
    for (DeviceParameter parameter : allDeviceParameters) {
        link.requests[parameter] = requestOf(parameter);
        link.values[parameter] = cachedValue(parameter);
    }
    link.powerStageOff = powerStageOff;
    link.powerStageRequest = powerStageRequest;
    link.pulseWanted = pulseWanted;
    link.pulseSent = pulseSent;
    return link;
}
