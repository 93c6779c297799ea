// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/mainwindow.h"

#include "link/serialports.h"

void MainWindow::sendFrame(const Frame &frame)
{
    txFrame = frame;
    serialPort.write(reinterpret_cast<const char *>(txFrame.data()), frameLength);
}

// One step of the exchange: the session reads the reply to the frame sent
// last, or picks the request to send; the window shows and writes. A reply's
// values are stored before they are shown: selecting a microstep item runs
// its handler, whose interlock may mark other entries, and those marks stay.
void MainWindow::on_timerEvent()
{
    const auto receive = [this] {
        return serialPort.isOpen() ? receivedBytes(serialPort) : QByteArray();
    };
    const SessionTick tick = session.tick(receive, bulkOperation == BulkOperation::ProgramFromFile);
    if (tick.reply)
        showReplyEffects(*tick.reply);
    if (tick.readsComplete)
        runReadCompletionHook();
    if (tick.writesComplete)
        runWriteCompletionHook();
    if (tick.frame)
        sendFrame(*tick.frame);
}
