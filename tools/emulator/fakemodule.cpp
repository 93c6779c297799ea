// SPDX-License-Identifier: GPL-3.0-or-later

#include "tools/emulator/fakemodule.h"

#include "tools/emulator/framehex.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <unistd.h>

namespace {

constexpr int frameSize = 9;
constexpr int moduleAddress = 1;
constexpr int replyAddress = 2;
constexpr int statusByte = 2;
constexpr int valueLowByte = 7;
constexpr int checksumByte = 8;

quint8 byteAt(const QByteArray &frame, int index)
{
    return static_cast<quint8>(frame.at(index));
}

quint8 checksum(const QByteArray &frame)
{
    quint8 sum = 0;
    for (int i = 0; i < checksumByte; ++i)
        sum += byteAt(frame, i);
    return sum;
}

qint32 valueOf(const QByteArray &request)
{
    quint32 value = 0;
    for (int i = 4; i <= valueLowByte; ++i)
        value = (value << 8) | byteAt(request, i);
    return static_cast<qint32>(value);
}

QByteArray replyFrame(int status, int command, qint32 value)
{
    QByteArray reply(frameSize, '\0');
    reply[0] = char(replyAddress);
    reply[1] = char(moduleAddress);
    reply[statusByte] = char(status);
    reply[3] = char(command);
    const quint32 bits = static_cast<quint32>(value);
    for (int i = 0; i < 4; ++i)
        reply[valueLowByte - i] = char(bits >> (8 * i));
    reply[checksumByte] = char(checksum(reply));
    return reply;
}

} // namespace

FakeModule::FakeModule(QObject *parent)
    : QObject(parent)
{
}

FakeModule::~FakeModule() = default;

bool FakeModule::start()
{
    notifier.reset();
    if (!terminal.open())
        return false;
    unplugged = false;
    notifier = std::make_unique<QSocketNotifier>(terminal.master(), QSocketNotifier::Read);
    connect(notifier.get(), &QSocketNotifier::activated, this, &FakeModule::readFromMaster);
    return true;
}

bool FakeModule::announce(const QString &directory)
{
    if (!terminal.isOpen())
        return false;
    const QString manufacturer = QStringLiteral("pid %1").arg(QCoreApplication::applicationPid());
    return announcement.publish(directory, portName(), QStringLiteral("VELD-7316 emulator"),
                                manufacturer);
}

bool FakeModule::setLogFile(const QString &path)
{
    logFile.close();
    logFile.setFileName(path);
    return logFile.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text);
}

void FakeModule::setFaults(const FakeModuleFaults &newFaults)
{
    faults = newFaults;
    framesSinceFaultsSet = 0;
}

void FakeModule::unplug()
{
    if (unplugged)
        return;
    unplugged = true;
    // May run inside the notifier's own signal, so it must not be deleted at once.
    if (notifier) {
        notifier->setEnabled(false);
        notifier.release()->deleteLater();
    }
    terminal.close();
    announcement.withdraw();
    pending.clear();
}

void FakeModule::readFromMaster()
{
    char buffer[256];
    for (;;) {
        const ssize_t count = ::read(terminal.master(), buffer, sizeof buffer);
        if (count > 0) {
            pending.append(buffer, int(count));
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 && errno != EAGAIN) {
            // With our own slave descriptor open this should not happen;
            // watching on would only spin on the same error.
            qWarning("FakeModule: reading the pseudo-terminal failed, errno %d", errno);
            notifier->setEnabled(false);
        }
        break;
    }
    while (pending.size() >= frameSize && !unplugged) {
        const QByteArray frame = pending.left(frameSize);
        pending.remove(0, frameSize);
        handleFrame(frame);
    }
}

void FakeModule::handleFrame(const QByteArray &frame)
{
    const QString text = frameHexText(frame);
    frameLog.append(text);
    if (logFile.isOpen()) {
        logFile.write(text.toLatin1() + '\n');
        logFile.flush();
    }
    emit frameReceived(frame);
    if (replyOverride) {
        writeToMaster(replyOverride(frame));
        return;
    }

    ++framesSinceFaultsSet;
    if (faults.unplugAfterFrames > 0 && framesSinceFaultsSet >= faults.unplugAfterFrames) {
        unplug();
        return;
    }
    const QByteArray reply = replyTo(frame);
    if (!faults.silent)
        send(reply);
}

QByteArray FakeModule::replyTo(const QByteArray &request)
{
    // Like a module on a shared bus, it keeps quiet about frames for others.
    if (byteAt(request, 0) != moduleAddress)
        return {};
    const int command = byteAt(request, 1);
    if (checksum(request) != byteAt(request, checksumByte))
        return replyFrame(StatusWrongChecksum, command, 0);

    const int type = byteAt(request, 2);
    CommandResult result =
        registers.execute(command, type, byteAt(request, 3), valueOf(request), faults.refuseWrites);
    if (faults.outOfRange && command == CommandGetParameter && result.status == StatusOk)
        result.value = outOfRangeValue(type, result.value);
    QByteArray reply = replyFrame(result.status, command, result.value);
    if (faults.garbage)
        scramble(reply);
    return reply;
}

qint32 FakeModule::outOfRangeValue(int parameterNumber, qint32 value)
{
    // A parameter that takes every byte has no out-of-range reading.
    const int largest = registers.largestReadableValue(parameterNumber);
    if (largest >= 255)
        return value;
    return random.bounded(largest + 1, 256);
}

void FakeModule::scramble(QByteArray &reply)
{
    for (int i = 0; i < frameSize; ++i) {
        if (i != statusByte && i != valueLowByte)
            reply[i] = char(random.bounded(256));
    }
}

void FakeModule::send(const QByteArray &reply)
{
    const QByteArray bytes = reply.left(qMax(0, faults.partialBytes));
    if (faults.lateMs > 0)
        QTimer::singleShot(faults.lateMs, this, [this, bytes] { writeToMaster(bytes); });
    else
        writeToMaster(bytes);
}

void FakeModule::writeToMaster(const QByteArray &bytes)
{
    if (unplugged || bytes.isEmpty())
        return;
    const ssize_t written = ::write(terminal.master(), bytes.constData(), size_t(bytes.size()));
    if (written != bytes.size())
        qWarning("FakeModule: reply not written completely");
}
