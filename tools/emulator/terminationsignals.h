// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGINT and SIGTERM into a Qt signal. The handler only writes one byte
// into a pipe (async-signal-safe); the event loop reads it and emits.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

    // False when the pipe or the handlers could not be set up.
    bool install();

signals:
    void terminationRequested();

private:
    void drainPipe();

    QSocketNotifier *notifier = nullptr;
};
