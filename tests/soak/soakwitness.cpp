// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/soak/soakwitness.h"

#include "tests/soak/framerules.h"
#include "tests/soak/loopgapwatch.h"
#include "tests/support/allowedrequests.h"
#include "tests/support/connectedwindow.h"
#include "tests/support/eventwait.h"

#include <QPlainTextEdit>
#include <QTextBlock>

namespace {

const QString powerStageOffMessage =
    QStringLiteral("Power stage is off. You can now plug or unplug the motor.");
const QString connectionLost = QStringLiteral("Error: connection to VELD-7316 lost. Port closed.");
const QString valuesWritten = QStringLiteral("Values written to VELD-7316.");
const QString writesUnconfirmed = QStringLiteral("ERROR: VELD-7316 did not confirm");
const QString programInterrupted = QStringLiteral("ERROR: Programming interrupted");
const QString pleaseSelect = QStringLiteral("Please select file name!");

constexpr int historyLength = 150;
// A frame still in the line when the port closes reaches the module after.
constexpr qint64 closingGraceMs = 200;

} // namespace

SoakWitness::SoakWitness(ConnectedWindow &rig, const LoopGapWatch &clock, SoakFigures &figures)
    : rig(rig)
    , clock(clock)
    , figures(figures)
{
    connect(&rig.module, &FakeModule::frameReceived, this, &SoakWitness::onFrame);
    connect(rig.window->statusBar(), &QStatusBar::messageChanged, this,
            &SoakWitness::onStatusMessage);
    auto *log = rig.widget<QPlainTextEdit>("configurationFileLogTextEdit");
    connect(log, &QPlainTextEdit::textChanged, this, &SoakWitness::onLogChanged);
}

void SoakWitness::setFaults(const FakeModuleFaults &newFaults)
{
    faults = newFaults;
    framesSinceFaultsSet = 0;
    rig.module.setFaults(newFaults);
}

void SoakWitness::noteOpened(bool simulator)
{
    // The port opening replaces a Program's writes and logs that at once.
    if (!simulator && programUnderWay)
        fail(QStringLiteral("a Program was under way when the port opened, but no "
                            "interruption was logged"));
    link = simulator ? Link::Simulating : Link::Open;
    record(simulator ? QStringLiteral("opened Simulator") : QStringLiteral("opened the port"));
}

void SoakWitness::noteClosed()
{
    if (link == Link::Open) {
        closedAt = clock.now();
        framesSinceClosed = 0;
    }
    link = Link::Closed;
    record(QStringLiteral("closed"));
}

void SoakWitness::noteProgramStarted()
{
    programUnderWay = true;
    acceptedForProgram.clear();
    // The write in flight when Program is pressed counts: the program does
    // not send the same value again.
    if (lastAcceptedWrite >= 0)
        acceptedForProgram.insert(lastAcceptedWrite);
    record(QStringLiteral("Program started"));
}

// A Read replaces a Program's writes; that Program never reports.
void SoakWitness::noteReadStarted()
{
    programUnderWay = false;
    record(QStringLiteral("Read started"));
}

void SoakWitness::onFrame(const QByteArray &frame)
{
    ++figures.frames;
    ++frameCount;
    const qint64 now = clock.now();
    record(QStringLiteral("frame %1").arg(QString::fromLatin1(frame.toHex(' '))));

    const QString problem = requestFrameFault(frame);
    if (!problem.isEmpty())
        fail(QStringLiteral("malformed or unexpected frame (%1): %2")
                 .arg(problem, QString::fromLatin1(frame.toHex(' '))));
    if (link != Link::Open) {
        ++framesSinceClosed;
        if (framesSinceClosed > 1 || now - closedAt > closingGraceMs)
            fail(QStringLiteral("a frame came while no port was open"));
    }

    // The module vanishes on this frame without acting on it.
    if (faults.unplugAfterFrames > 0 && ++framesSinceFaultsSet >= faults.unplugAfterFrames) {
        record(QStringLiteral("module unplugged"));
        return;
    }

    const int command = frameByte(frame, 1);
    const int number = frameByte(frame, 2);
    const bool refused = command != 6 && faults.refuseWrites;
    if (refused)
        ++figures.refused;
    lastAcceptedWrite = command == 5 && !refused ? number : -1;
    // A late reply is never taken for a later request's: nothing is excused
    // for it. A write the window sees unconfirmed is read back, and an
    // unconfirmed switch is sent again.
    if (command == 6) {
        judgeRead(number);
    } else if (command == 5) {
        doubts[number] = false;
        if (!refused && programUnderWay)
            acceptedForProgram.insert(number);
    }
}

void SoakWitness::judgeRead(int number)
{
    const bool replyFails = faults.silent || faults.partialBytes < 9 || faults.lateMs > 0;
    if (faults.outOfRange && !faults.silent && hasRejectableReading(number))
        doubts[number] = true; // a rejected value may stand
    else if (!replyFails)
        doubts[number] = false; // the module's value is shown now
    // A failed reply changes nothing and the read is sent again.
}

void SoakWitness::onStatusMessage(const QString &message)
{
    if (message == powerStageOffMessage && rig.module.powerStageOn())
        fail(QStringLiteral("the window says the power stage is off while the module's is on"));
    if (message == connectionLost) {
        ++lostMessages;
        noteClosed();
    }
}

void SoakWitness::onLogChanged()
{
    auto *log = rig.widget<QPlainTextEdit>("configurationFileLogTextEdit");
    const QTextDocument *document = log->document();
    for (; logLinesSeen < document->blockCount(); ++logLinesSeen)
        onLogLine(document->findBlockByNumber(logLinesSeen).text());
}

void SoakWitness::onLogLine(const QString &line)
{
    if (line == valuesWritten)
        checkProgramConfirmation();
    else if (line.startsWith(writesUnconfirmed) || line.startsWith(programInterrupted))
        programUnderWay = false;
    else if (line == pleaseSelect)
        ++pleaseSelectCount;
    record(QStringLiteral("log: ") + line);
}

void SoakWitness::checkProgramConfirmation()
{
    if (!programUnderWay) {
        fail(QStringLiteral("\"Values written to VELD-7316.\" without a Program under way"));
        return;
    }
    programUnderWay = false;
    QStringList missing;
    for (int number : parameterNumbers) {
        if (!acceptedForProgram.contains(number))
            missing << QString::number(number);
    }
    if (!missing.isEmpty())
        fail(QStringLiteral("\"Values written to VELD-7316.\" but the module accepted no write "
                            "of parameter %1 since the Program began")
                 .arg(missing.join(QStringLiteral(", "))));
}

bool SoakWitness::waitUntilQuiet(int quietMs, int timeoutMs) const
{
    // A stall of a tick or more proves nothing about a quiet cycle.
    constexpr qint64 stallMs = 15;
    int seen = frameCount;
    qint64 since = clock.now();
    return waitUntil(
        [&] {
            const qint64 now = clock.now();
            if (frameCount != seen || clock.stoodStillBetween(since, now, stallMs)) {
                seen = frameCount;
                since = now;
            }
            return now - since >= quietMs;
        },
        timeoutMs);
}

void SoakWitness::record(const QString &event)
{
    history << QStringLiteral("%1 ms: %2").arg(clock.now()).arg(event);
    if (history.size() > historyLength)
        history.removeFirst();
}

void SoakWitness::fail(const QString &failure)
{
    record(QStringLiteral("FAILED: ") + failure);
    failures << failure;
}

QString SoakWitness::report() const
{
    return failures.join(QLatin1Char('\n')) + QStringLiteral("\nlast events:\n") +
           history.join(QLatin1Char('\n'));
}
