#pragma once

#include "cli/output.h"
#include "link/exchangeplan.h"
#include "link/linksnapshot.h"

#include <QSerialPort>
#include <QStringList>

class QEventLoop;

constexpr int exchangeIntervalMs = 20;
// A request is sent on one tick and its reply read on the next.
constexpr int ticksPerExchange = 2;
// Exchanges in a row without a good reply after which a run gives up.
constexpr int maximumFailedExchanges = 50;

// The module link without a window: a serial port, the request table as plain
// values and the 20 ms tick, deciding by the rules the window follows. Reports
// what the window shows in its status bar or dialog log as step lines.
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

    explicit LinkDriver(StepLog log);
    LinkDriver(const LinkDriver &) = delete;
    LinkDriver &operator=(const LinkDriver &) = delete;

    // Opens the port at 9600 baud, 8 data bits, no parity, one stop bit, no
    // flow control. On failure, reason is Qt's.
    bool open(const QString &name, QString &reason);
    void close();

    void requestReads();
    void requestWrites(const ParameterValues &values);
    void requestPowerStageOff();

    // Serves the requests, one exchange per two ticks, until none is left,
    // the module stops answering, the port goes away or the user interrupts.
    Outcome run();

    // As last read from the module or confirmed by it.
    const ParameterValues &values() const { return link.values; }
    // Parameters whose last read brought a value the program cannot hold.
    QStringList invalidValues() const { return invalid; }
    // Parameters whose writes the module did not confirm since the last
    // requestWrites.
    QStringList unconfirmedWrites() const { return unconfirmed; }

private:
    void tick();
    void send(const OutgoingFrame &frame);
    void handleReply();
    void applyReadReply(DeviceParameter parameter, const Reply &reply, bool firstFailure);
    void applyWriteReply(DeviceParameter parameter, const Reply &reply);
    void applyPowerStageReply(const Reply &reply, bool firstFailure);
    bool anythingPending() const;
    void finish(Outcome result);

    StepLog log;
    QSerialPort port;
    LinkSnapshot link;
    OutgoingFrame lastSent;
    bool awaitingReply = false;
    int failedInARow = 0;
    QStringList invalid;
    QStringList unconfirmed;
    bool portLost = false;
    QEventLoop *loop = nullptr;
    Outcome outcome = Outcome::Done;
};
