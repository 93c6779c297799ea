#pragma once

#include "cli/output.h"
#include "link/exchangeplan.h"
#include "link/latereply.h"
#include "link/linkstate.h"

#include <QSerialPort>
#include <QStringList>

class QEventLoop;

// Exchanges in a row without a good reply after which a run gives up.
constexpr int maximumFailedExchanges = 50;

// The module link without a window: a serial port, the link state and the
// tick, under the link's rules. Prints what the window shows in its status
// bar or dialog log as step lines.
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

    void requestReads();
    void requestWrites(const ParameterValues &values);

    enum class Until { ReadsDone, NothingPending };

    // Serves the requests, one exchange per two ticks, until no read or no
    // request at all is left, the module stops answering, the port goes away
    // or the user interrupts.
    Outcome run(Until until = Until::NothingPending);

    // As last read from the module or confirmed by it.
    const ParameterValues &values() const { return link.values; }
    // Parameters whose values are not the module's: it sent a value that
    // the program cannot hold.
    QStringList invalidValues() const { return parametersNotFromModule(link); }
    // Parameters whose writes the module did not confirm since the last
    // requestWrites.
    QStringList unconfirmedWrites() const { return unconfirmed; }

private:
    void tick();
    void send(const OutgoingFrame &frame);
    void handleReply();
    bool done() const;
    void finish(Outcome result);

    StepLog log;
    QSerialPort port;
    LinkState link;
    OutgoingFrame lastSent;
    bool awaitingReply = false;
    LateReplyWait lateReply;
    int failedInARow = 0;
    QStringList unconfirmed;
    bool portLost = false;
    QEventLoop *loop = nullptr;
    Until goal = Until::NothingPending;
    Outcome result = Outcome::Done;
};
