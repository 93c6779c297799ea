// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "link/portannouncement.h"
#include "tools/emulator/moduleregisters.h"
#include "tools/emulator/portannouncement.h"
#include "tools/emulator/pseudoterminal.h"

#include <QByteArray>
#include <QFile>
#include <QObject>
#include <QRandomGenerator>
#include <QStringList>

#include <functional>
#include <memory>

class QSocketNotifier;

// Ways the stand-in misbehaves. The defaults are a healthy module. Faults
// touch only the replies; the commands themselves still take effect, except
// where refuseWrites says otherwise.
struct FakeModuleFaults
{
    bool silent = false;       // never answers
    int lateMs = 0;            // answers this long after the request
    int partialBytes = 9;      // sends only the first k bytes of a reply; 9 or more: all
    bool refuseWrites = false; // commands 1, 5 and 14 fail and change nothing
    bool outOfRange = false;   // get replies carry values a reader must reject
    bool garbage = false;      // random bytes in every reply byte but status and value
    int unplugAfterFrames = 0; // vanishes on receiving the Nth frame from now; 0: never
};

// A VELD-7316 stand-in behind a pseudo-terminal: answers each 9-byte request
// with one 9-byte reply (address 2, module 1, status, command echo, value
// big-endian, checksum) and logs every request it receives.
class FakeModule : public QObject
{
    Q_OBJECT

public:
    explicit FakeModule(QObject *parent = nullptr);
    ~FakeModule() override;

    bool start();
    QString portName() const { return terminal.slavePath(); }
    QString errorString() const { return terminal.errorString(); }

    // Announces the port so the programmer lists it, until destruction or unplugging.
    bool announce(const QString &directory = portAnnouncementDirectory());

    // Appends each received frame as a line of hexadecimal text to the file.
    bool setLogFile(const QString &path);
    QStringList receivedFrames() const { return frameLog; }
    void clearReceivedFrames() { frameLog.clear(); }

    int parameter(int number) const { return registers.parameter(number); }
    void setParameter(int number, int wireValue) { registers.setParameter(number, wireValue); }
    bool powerStageOn() const { return registers.powerStageOn(); }
    int pulseFrequency() const { return registers.pulseFrequency(); }
    // Takes a command without a frame and without answering: what an earlier
    // program left the module doing, or another module behind the same port.
    void execute(int command, int type, int motor, qint32 value)
    {
        registers.execute(command, type, motor, value, false);
    }

    void setFaults(const FakeModuleFaults &newFaults);
    void setSeed(quint32 seed) { random.seed(seed); }

    // Answers each request with whatever bytes the function returns (none, a
    // few or more than a frame), instead of the module's reply and without
    // executing the command. An empty function restores the module.
    using ReplyOverride = std::function<QByteArray(const QByteArray &request)>;
    void setReplyOverride(ReplyOverride replies) { replyOverride = std::move(replies); }

    // The pseudo-terminal vanishes, as a module pulled off the USB bus would.
    void unplug();
    bool isUnplugged() const { return unplugged; }

signals:
    void frameReceived(const QByteArray &frame);

private:
    void readFromMaster();
    void handleFrame(const QByteArray &frame);
    QByteArray replyTo(const QByteArray &request);
    qint32 outOfRangeValue(int parameterNumber, qint32 value);
    void scramble(QByteArray &reply);
    void send(const QByteArray &reply);
    void writeToMaster(const QByteArray &bytes);

    PseudoTerminal terminal;
    std::unique_ptr<QSocketNotifier> notifier;
    PortAnnouncement announcement;
    ModuleRegisters registers;
    FakeModuleFaults faults;
    ReplyOverride replyOverride;
    QRandomGenerator random{1};
    QByteArray pending;
    QStringList frameLog;
    QFile logFile;
    int framesSinceFaultsSet = 0;
    bool unplugged = false;
};
