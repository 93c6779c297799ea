// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/mainwindow.h"

#include "app/statusline.h"
#include "link/replystep.h"
#include "ui_mainwindow.h"

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
