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
// the first pending request once the late bytes of a missing reply are over.
void MainWindow::on_timerEvent()
{
    if (exchangeState == ExchangeState::AwaitingReply) {
        handleReply();
        return;
    }
    if (exchangeState == ExchangeState::Idle || !lateReplyWaitOver())
        return;

    const TickPlan plan = planTick(linkState());
    if (plan.readsComplete)
        runReadCompletionHook();
    if (plan.writesComplete)
        runWriteCompletionHook();
    if (plan.frame)
        sendFrame(int(plan.frame->command), plan.frame->type, plan.frame->motor, plan.frame->value);
}

bool MainWindow::lateReplyWaitOver()
{
    if (!lateReply.waiting())
        return true;
    return lateReply.tick(serialPort.isOpen() ? discardStrayInput(serialPort) : 0);
}
