// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "link/exchangeplan.h"
#include "link/latereply.h"
#include "link/linkstate.h"
#include "link/replystep.h"

#include <QByteArray>
#include <QStringList>

#include <functional>
#include <optional>

// Idle: no port is open and ticks do nothing. Ready: the next tick may send.
// AwaitingReply: a frame went out and the next tick reads its reply.
enum class ExchangeState { Idle = -1, Ready = 0, AwaitingReply = 1 };

// What one tick asks of the front end, in this order.
struct SessionTick
{
    // The effects of the reply this tick read.
    std::optional<ReplyEffects> reply;
    // In a tick that may send: no read is left (a Read sequence can end), no
    // read or write is left among the seven parameters (a Program can end).
    bool readsComplete = false;
    bool writesComplete = false;
    // The bytes to write now.
    std::optional<Frame> frame;
};

// How far a run of the link goes before it counts as done.
enum class LinkGoal { ReadsDone, NothingPending };

// The module link between ticks, without a port, a timer or a widget: the
// request table and what the module is known to hold, the frame sent last,
// the wait for a missing reply's late bytes, the failures in a row and a
// Program's unconfirmed writes. At every tick a front end lets it take what its
// port received, writes the frame it gets back and shows the reply's effects.
class LinkSession
{
public:
    // A write whose reply does not come is sent this many times in all before
    // it counts as not written; a refused one counts at once. One lost reply
    // takes two: the reply to the next try comes while the link is out of
    // step, and is not taken.
    static constexpr int writeTries = 5;

    LinkState &link() { return state; }
    const LinkState &link() const { return state; }

    // A port opened: the seven parameters are read, then the power stage is
    // switched off. Nothing is known of the module.
    void open();
    // The port closed: nothing is sent, and what the module held is forgotten.
    void close();
    void requestAll(RequestState request);

    // One tick of the exchange timer. receive gives what the port holds; it
    // is asked only when the tick reads a reply, waits for late bytes or
    // sends, so a link with nothing to do reads nothing. During a Program a
    // write the module does not confirm is collected, not reported.
    SessionTick tick(const std::function<QByteArray()> &receive, bool programUnderWay);

    // Whether nothing is in flight and what the goal names is done.
    bool reached(LinkGoal goal) const;
    int failuresInARow() const { return failures; }
    Command lastCommand() const { return sent.command; }
    // The parameters whose writes the module did not confirm during Programs.
    const QStringList &unconfirmedWrites() const { return unconfirmed; }
    void clearUnconfirmedWrites() { unconfirmed.clear(); }

private:
    void takeReply(const QByteArray &received, bool programUnderWay, SessionTick &result);
    bool sendsWriteAgain(const Reply &reply);
    void send(const OutgoingFrame &frame, SessionTick &result);

    LinkState state;
    ExchangeState exchange = ExchangeState::Idle;
    OutgoingFrame sent;
    LateReplyWait lateReply;
    int failures = 0;
    // Tries of each parameter's write since a reply to it was taken.
    PerParameter<int> writesSent;
    QStringList unconfirmed;
};
