// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/support/modaldialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

namespace {

void pollForModal(const std::function<void(QWidget *)> &action, QElapsedTimer clock, int timeoutMs)
{
    if (QWidget *modal = QApplication::activeModalWidget()) {
        action(modal);
        return;
    }
    if (clock.elapsed() > timeoutMs)
        return;
    QTimer::singleShot(5, [=] { pollForModal(action, clock, timeoutMs); });
}

} // namespace

void whenModalShown(const std::function<void(QWidget *)> &action, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    QTimer::singleShot(0, [=] { pollForModal(action, clock, timeoutMs); });
}

void answerNextMessageBox(QMessageBox::StandardButton button, MessageBoxAnswer *seen)
{
    whenModalShown([button, seen](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (!box)
            return;
        if (seen) {
            seen->shown = true;
            seen->text = box->text();
            seen->informativeText = box->informativeText();
            seen->title = box->windowTitle();
            seen->icon = box->icon();
            seen->buttons = box->standardButtons();
        }
        box->button(button)->click();
    });
}
