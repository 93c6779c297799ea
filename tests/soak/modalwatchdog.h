// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

// Closes a modal window that stays up far longer than any script keeps one,
// so that a script that lost its way fails the soak instead of hanging it.
class ModalWatchdog : public QObject
{
public:
    explicit ModalWatchdog(int limitMs, QObject *parent = nullptr);

    QStringList complaints() const { return complaintList; }

private:
    void look();

    int limitMs;
    QTimer timer;
    QPointer<QWidget> watched;
    QElapsedTimer watchedFor;
    QStringList complaintList;
};
