// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/soak/modalwatchdog.h"

#include <QApplication>
#include <QDialog>

namespace {

constexpr int lookEveryMs = 250;

} // namespace

ModalWatchdog::ModalWatchdog(int limitMs, QObject *parent)
    : QObject(parent)
    , limitMs(limitMs)
{
    connect(&timer, &QTimer::timeout, this, &ModalWatchdog::look);
    timer.start(lookEveryMs);
    watchedFor.start();
}

void ModalWatchdog::look()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (modal != watched) {
        watched = modal;
        watchedFor.restart();
        return;
    }
    if (!modal || watchedFor.elapsed() < limitMs)
        return;
    complaintList << QStringLiteral("a %1 stayed open for %2 ms and was closed")
                         .arg(QLatin1String(modal->metaObject()->className()))
                         .arg(watchedFor.elapsed());
    watchedFor.restart();
    if (auto *dialog = qobject_cast<QDialog *>(modal))
        dialog->reject();
    else
        modal->close();
}
