// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "cli/output.h"
#include "link/linksession.h"

#include <QSerialPort>

class QEventLoop;

// Exchanges in a row without a good reply after which a run gives up.
constexpr int maximumFailedExchanges = 50;

// The module link without a window: a serial port and the 20 ms tick over a
// link session. Prints what the window shows in its status bar or dialog log
// as step lines.
class LinkDriver
{
public:
    enum class Outcome {
        Done,
        NotAnswering,
        PowerStageUnconfirmed,
        ConnectionLost,
        Interrupted,
    };

    explicit LinkDriver(StepLog stepLog);
    LinkDriver(const LinkDriver &) = delete;
    LinkDriver &operator=(const LinkDriver &) = delete;

    // Opens the port at 9600 baud, 8 data bits, no parity, one stop bit, no
    // flow control, and asks what the window asks of a port it opens. On
    // failure, reason says why, as the window does.
    bool open(const QString &name, QString &reason);
    void close();

    // What is asked of the module and what it is known to hold.
    LinkSession &session() { return link; }

    // Serves the requests, one exchange per two ticks, until the goal is
    // reached, the module stops answering, the port goes away or the user
    // interrupts.
    Outcome run(LinkGoal goal = LinkGoal::NothingPending);

private:
    void tick();
    void show(const ReplyEffects &effects);
    void finish(Outcome result);

    StepLog log;
    QSerialPort port;
    LinkSession link;
    bool portLost = false;
    QEventLoop *loop = nullptr;
    LinkGoal goal = LinkGoal::NothingPending;
    Outcome result = Outcome::Done;
};
