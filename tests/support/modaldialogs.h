// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

// Modal dialogs run their own event loop; a test answers them from a timer.

// Runs the action once a modal widget is shown, with that widget. Gives up
// after the deadline, so a dialog that never comes does not hang the test.
void whenModalShown(const std::function<void(QWidget *)> &action, int timeoutMs = 5000);

// Answers the next message box with the button; stores its text and icon.
struct MessageBoxAnswer
{
    bool shown = false;
    QString text;
    QString informativeText;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};
void answerNextMessageBox(QMessageBox::StandardButton button, MessageBoxAnswer *seen = nullptr);
