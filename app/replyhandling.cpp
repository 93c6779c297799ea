#include "app/mainwindow.h"

#include "app/statusline.h"
#include "link/replystep.h"
#include "link/serialports.h"
#include "ui_mainwindow.h"

#include <algorithm>

// Applies the reply to the frame sent last, on the tick after it was sent.
void MainWindow::handleReply()
{
    const QByteArray bytes = receiveReply();
    const bool replyTaken = lateReply.afterReply(int(bytes.size()));
    const OutgoingFrame sent{Command(lastCommand), lastType, 0, lastValue};
    const Reply reply = replyTaken ? decodeReply(bytes) : Reply();
    const ReplyStep step =
        replyStep(linkState(), sent, reply, bulkOperation == BulkOperation::ProgramFromFile);
    // Stored before it is shown: selecting a microstep item runs its handler,
    // whose interlock may mark other entries, and those marks must stay.
    takeLinkState(step.link);
    showReplyEffects(step.effects);
    exchangeState = ExchangeState::Ready;
}

QByteArray MainWindow::receiveReply()
{
    const QByteArray bytes = serialPort.isOpen() ? receivedReplyBytes(serialPort) : QByteArray();
    rxFrame.fill(0);
    std::copy_n(bytes.cbegin(), std::min<int>(bytes.size(), frameLength), rxFrame.begin());
    return bytes;
}

void MainWindow::showReplyEffects(const ReplyEffects &effects)
{
    if (effects.shownInvalid)
        showInvalid(*effects.shownInvalid);
    if (effects.shownValue)
        showValue(*effects.shownValue);
    if (!effects.report.isEmpty())
        report(effects.report);
    if (effects.standbyBoxFollows)
        syncStandbyGroupBox();
    if (effects.unconfirmedWrite) {
        const QString name = parameterName(*effects.unconfirmedWrite);
        if (!unconfirmedWrites.contains(name))
            unconfirmedWrites.append(name);
    }
    if (effects.status)
        showStatus(*effects.status);
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
    paintStatusBar(ui->statusBar, status.colour == StatusColour::Green ? Qt::green : Qt::red);
}
