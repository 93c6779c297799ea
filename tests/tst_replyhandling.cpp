// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/support/connectedwindow.h"
#include "tests/support/eventwait.h"
#include "tools/emulator/framehex.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <functional>
#include <memory>

namespace {

using Registers = ConnectedWindow::Registers;

const QString powerStageOffMessage =
    QStringLiteral("Power stage is off. You can now plug or unplug the motor.");
const QString powerStageUnconfirmed = QStringLiteral(
    "Error: VELD-7316 did not confirm the power stage switch. Do not plug / unplug motor!");
const QString powerStageUnconfirmedSettingsWait =
    QStringLiteral("Error: VELD-7316 did not confirm the power stage switch; settings wait. Do "
                   "not plug / unplug motor!");
const QString noCommunication = QStringLiteral("Error: no communication with VELD-7316");
const QString powerStageOnMessage = QStringLiteral("Power stage on. Don not plug / unplug motor!");
const QString pulseUnconfirmed = QStringLiteral(
    "Error: VELD-7316 did not confirm the pulse generator. Motor may still be turning!");
const QString powerStageOffFrame = QStringLiteral("01 0E 02 02 00 00 00 01 14");
const QString readRunCurrentFrame = QStringLiteral("01 06 06 00 00 00 00 00 0D");
const QString readHalfCurrentRangeFrame = QStringLiteral("01 06 B3 00 00 00 00 00 BA");
const QString readDelayFrame = QStringLiteral("01 06 D6 00 00 00 00 00 DD");
const QString readMultiplierFrame = QStringLiteral("01 06 A0 00 00 00 00 00 A7");

// Opens the module's port and waits until the opening's reads and power-stage
// switch are done and nothing more goes out. Keeps the frame log.
bool openAndSettle(ConnectedWindow &rig)
{
    if (!rig.selectModulePort())
        return false;
    rig.clickOpen();
    return waitUntil([&] { return rig.statusMessage() == powerStageOffMessage; }) &&
           rig.waitUntilQuiet();
}

// Closes and opens again, so the module's registers are read once more.
bool reopen(ConnectedWindow &rig)
{
    rig.widget<QPushButton>("closeButton")->click();
    rig.module.clearReceivedFrames();
    return openAndSettle(rig);
}

// Every message the status bar showed, in order.
QStringList shownMessages(const QSignalSpy &spy)
{
    QStringList messages;
    for (const QList<QVariant> &arguments : spy) {
        const QString message = arguments.first().toString();
        if (!message.isEmpty())
            messages << message;
    }
    return messages;
}

// Runs the action once, when the module receives this frame: before it
// answers, so with the frame in flight as the window sees it.
void onceOnFrame(FakeModule &module, const QString &frame, const std::function<void()> &action)
{
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = QObject::connect(&module, &FakeModule::frameReceived, &module,
                                   [connection, frame, action](const QByteArray &received) {
                                       if (frameHexText(received) != frame)
                                           return;
                                       QObject::disconnect(*connection);
                                       action();
                                   });
}

// The module misbehaves on the next few frames only, then is healthy again.
void faultNextFrames(FakeModule &module, const FakeModuleFaults &faults, int count)
{
    auto remaining = std::make_shared<int>(count);
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = QObject::connect(&module, &FakeModule::frameReceived, &module,
                                   [&module, faults, remaining, connection] {
                                       const bool faulty = (*remaining)-- > 0;
                                       module.setFaults(faulty ? faults : FakeModuleFaults());
                                       if (!faulty)
                                           QObject::disconnect(*connection);
                                   });
}

} // namespace

Q_DECLARE_METATYPE(FakeModuleFaults)

// Replies as the module gives them, good, odd and missing, and what the
// window makes of them.
class ReplyHandlingTest : public QObject
{
    Q_OBJECT

private slots:
    void openingReportsEveryValue_data();
    void openingReportsEveryValue();
    void runCurrentReply_data();
    void runCurrentReply();
    void standbyCurrentReply_data();
    void standbyCurrentReply();
    void microstepResolutionReply_data();
    void microstepResolutionReply();
    void booleanReply_data();
    void booleanReply();
    void garbageInUnreadBytesIsHarmless();
    void incompleteReplyCountsAsFailed_data();
    void incompleteReplyCountsAsFailed();
    void failedDelayReadShowsInvalid();
    void unconfirmedRequestEndsAsTheModuleHoldsIt_data();
    void unconfirmedRequestEndsAsTheModuleHoldsIt();
    void standbyBoxFollowsAReadBack();
    void stopAfterAnUnconfirmedStartGoesOut();
    void unconfirmedPowerStageStaysRedAndIsRetried();
    void dialMovedAgainWhileItsWriteIsInFlight();
    void readReplyGivesWayToAChangeMadeInFlight();
};

void ReplyHandlingTest::openingReportsEveryValue_data()
{
    QTest::addColumn<Registers>("registers");
    QTest::addColumn<QStringList>("messages");

    QTest::newRow("factory values")
        << Registers{{179, 0}, {6, 24}, {7, 10}, {214, 15}, {140, 4}, {160, 1}, {161, 0}}
        << QStringList{"HalfCurrentRange = FALSE",    "RunCurrent = 24",
                       "StandbyCurrent = 10",         "StandbyCurrentDelay = 15",
                       "MicroStepResolution = 16",    "MicroStepMultiplier = TRUE",
                       "MicroStepDoubleEdge = FALSE", powerStageOffMessage};
    // At 256 microsteps the multiplier is written off instead of read.
    QTest::newRow("other values") << Registers{{179, 1}, {6, 5},   {7, 31}, {214, 255},
                                               {140, 0}, {160, 0}, {161, 1}}
                                  << QStringList{
                                         "HalfCurrentRange = TRUE",   "RunCurrent = 5",
                                         "StandbyCurrent = 31",       "StandbyCurrentDelay = 255",
                                         "MicroStepResolution = 256", "MicroStepDoubleEdge = TRUE",
                                         powerStageOffMessage};
}

void ReplyHandlingTest::openingReportsEveryValue()
{
    QFETCH(Registers, registers);

    ConnectedWindow rig;
    rig.setRegisters(registers);
    QSignalSpy spy(rig.window->statusBar(), &QStatusBar::messageChanged);
    QVERIFY(openAndSettle(rig));
    QTEST(shownMessages(spy), "messages");
    QCOMPARE(rig.window->statusBar()->palette().color(QPalette::Window), QColor(Qt::green));
}

void ReplyHandlingTest::runCurrentReply_data()
{
    QTest::addColumn<Registers>("registers");
    QTest::addColumn<bool>("outOfRange");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");

    // Each row changes the module after a first opening that read half range
    // and run current 20 (dial 20, 510mA).
    QTest::newRow("24 in full range") << Registers{{179, 0}, {6, 24}} << false << 39 << "1.123A"
                                      << "RunCurrent = 24";
    QTest::newRow("24 in half range") << Registers{{6, 24}} << false << 24 << "608mA"
                                      << "RunCurrent = 24";
    QTest::newRow("31 taken") << Registers{{6, 31}} << false << 31 << "778mA"
                              << "RunCurrent = 31";
    QTest::newRow("32 invalid") << Registers{{6, 32}} << false << 0 << "invalid"
                                << "RunCurrent = invalid";
    QTest::newRow("255 invalid") << Registers{{179, 0}, {6, 255}} << false << 0 << "invalid"
                                 << "RunCurrent = invalid";
    QTest::newRow("out-of-range replies") << Registers() << true << 0 << "invalid"
                                          << "RunCurrent = invalid";
    QTest::newRow("range byte 2 keeps half range")
        << Registers{{179, 2}, {6, 24}} << false << 24 << "608mA"
        << "RunCurrent = 24";
}

void ReplyHandlingTest::runCurrentReply()
{
    QFETCH(Registers, registers);
    QFETCH(bool, outOfRange);
    QFETCH(QString, message);

    ConnectedWindow rig;
    QVERIFY(openAndSettle(rig));
    QCOMPARE(rig.widget<QDial>("runCurrentDial")->sliderPosition(), 20);
    rig.setRegisters(registers);
    FakeModuleFaults faults;
    faults.outOfRange = outOfRange;
    rig.module.setFaults(faults);
    QSignalSpy spy(rig.window->statusBar(), &QStatusBar::messageChanged);
    QVERIFY(reopen(rig));

    QTEST(rig.widget<QDial>("runCurrentDial")->sliderPosition(), "position");
    QTEST(rig.widget<QLineEdit>("runCurrentLineEdit")->text(), "text");
    QVERIFY2(shownMessages(spy).contains(message), qPrintable(shownMessages(spy).join('|')));
    // Taken or rejected, the read is over.
    QCOMPARE(rig.distinctFrames().count(readRunCurrentFrame), 1);
}

void ReplyHandlingTest::standbyCurrentReply_data()
{
    QTest::addColumn<Registers>("registers");
    QTest::addColumn<bool>("ownStandbyCurrent");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("message");

    // Each row changes the module after a first opening in full range with
    // run current 24 and standby current 10: box checked.
    QTest::newRow("equal to the run current")
        << Registers{{6, 24}, {7, 24}} << false << "1.123A" << 24 << "StandbyCurrent = 24";
    QTest::newRow("a value of its own")
        << Registers{{6, 24}, {7, 12}} << true << "584mA" << 12 << "StandbyCurrent = 12";
    // The kept standby current 10 would equal the new run current: the box
    // stays checked only because an invalid value leaves it alone.
    QTest::newRow("invalid leaves the box alone")
        << Registers{{6, 10}, {7, 40}} << true << "invalid" << 0 << "StandbyCurrent = invalid";
}

void ReplyHandlingTest::standbyCurrentReply()
{
    QFETCH(Registers, registers);
    QFETCH(bool, ownStandbyCurrent);
    QFETCH(QString, message);

    ConnectedWindow rig;
    rig.setRegisters({{179, 0}, {6, 24}, {7, 10}});
    QVERIFY(openAndSettle(rig));
    auto *box = rig.widget<QGroupBox>("standbyCurrentGroupBox");
    QVERIFY(box->isChecked());
    rig.setRegisters(registers);
    QSignalSpy spy(rig.window->statusBar(), &QStatusBar::messageChanged);
    QVERIFY(reopen(rig));

    QCOMPARE(box->isChecked(), ownStandbyCurrent);
    for (const char *name :
         {"delayLineEdit", "delayDial", "standbyCurrentLineEdit", "standbyCurrentDial"})
        QVERIFY2(rig.widget<QWidget>(name)->isEnabled() == ownStandbyCurrent, name);
    QTEST(rig.widget<QLineEdit>("standbyCurrentLineEdit")->text(), "text");
    QTEST(rig.widget<QDial>("standbyCurrentDial")->sliderPosition(), "position");
    QVERIFY2(shownMessages(spy).contains(message), qPrintable(shownMessages(spy).join('|')));
}

void ReplyHandlingTest::microstepResolutionReply_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("resolution");
    QTest::addColumn<QString>("message");

    // After a first opening at 32 microsteps (code 3).
    QTest::newRow("code 0") << 0 << "256"
                            << "MicroStepResolution = 256";
    QTest::newRow("code 5") << 5 << "8"
                            << "MicroStepResolution = 8";
    // The list keeps what it showed; the report names what the module holds.
    QTest::newRow("code 6, 4 microsteps") << 6 << "32"
                                          << "MicroStepResolution = 4 (not selectable)";
    QTest::newRow("code 200") << 200 << "32"
                              << "MicroStepResolution = invalid";
}

void ReplyHandlingTest::microstepResolutionReply()
{
    QFETCH(int, code);
    QFETCH(QString, message);

    ConnectedWindow rig;
    rig.setRegisters({{140, 3}, {160, 0}});
    QVERIFY(openAndSettle(rig));
    rig.module.setParameter(140, code);
    QSignalSpy spy(rig.window->statusBar(), &QStatusBar::messageChanged);
    QVERIFY(reopen(rig));

    QTEST(rig.widget<QComboBox>("microstepComboBox")->currentText(), "resolution");
    QVERIFY2(shownMessages(spy).contains(message), qPrintable(shownMessages(spy).join('|')));
}

void ReplyHandlingTest::booleanReply_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("byte");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("multiplier");
    QTest::addColumn<bool>("doubleEdge");
    QTest::addColumn<int>("runCurrentPosition");

    // After a first opening with the multiplier off, double edge on, half
    // range and run current 20. An empty message: none for that parameter.
    QTest::newRow("multiplier 1") << 160 << 1 << "MicroStepMultiplier"
                                  << "MicroStepMultiplier = TRUE" << true << true << 20;
    QTest::newRow("multiplier 2") << 160 << 2 << "MicroStepMultiplier" << QString() << false << true
                                  << 20;
    QTest::newRow("double edge 0") << 161 << 0 << "MicroStepDoubleEdge"
                                   << "MicroStepDoubleEdge = FALSE" << false << false << 20;
    QTest::newRow("double edge 255")
        << 161 << 255 << "MicroStepDoubleEdge" << QString() << false << true << 20;
    QTest::newRow("half range 0") << 179 << 0 << "HalfCurrentRange"
                                  << "HalfCurrentRange = FALSE" << false << true << 35;
    QTest::newRow("half range 3") << 179 << 3 << "HalfCurrentRange" << QString() << false << true
                                  << 20;
}

void ReplyHandlingTest::booleanReply()
{
    QFETCH(int, number);
    QFETCH(int, byte);
    QFETCH(QString, name);
    QFETCH(QString, message);

    ConnectedWindow rig;
    rig.setRegisters({{140, 4}, {160, 0}, {161, 1}, {179, 1}, {6, 20}});
    QVERIFY(openAndSettle(rig));
    rig.module.setParameter(number, byte);
    QSignalSpy spy(rig.window->statusBar(), &QStatusBar::messageChanged);
    QVERIFY(reopen(rig));

    QTEST(rig.widget<QCheckBox>("x16CheckBox")->isChecked(), "multiplier");
    QTEST(rig.widget<QCheckBox>("doubleEdgeCheckBox")->isChecked(), "doubleEdge");
    QTEST(rig.widget<QDial>("runCurrentDial")->sliderPosition(), "runCurrentPosition");
    const QStringList reports = shownMessages(spy).filter(name + QStringLiteral(" = "));
    const QStringList expected = message.isEmpty() ? QStringList() : QStringList{message};
    QCOMPARE(reports, expected);
}

void ReplyHandlingTest::garbageInUnreadBytesIsHarmless()
{
    ConnectedWindow rig;
    rig.setRegisters({{179, 0}, {6, 24}, {7, 12}, {214, 9}, {140, 1}, {160, 0}, {161, 0}});
    FakeModuleFaults garbage;
    garbage.garbage = true;
    rig.module.setSeed(7316);
    rig.module.setFaults(garbage);
    QVERIFY(openAndSettle(rig));

    QCOMPARE(rig.widget<QDial>("runCurrentDial")->sliderPosition(), 39);
    QCOMPARE(rig.widget<QLineEdit>("runCurrentLineEdit")->text(), QStringLiteral("1.123A"));
    QCOMPARE(rig.widget<QLineEdit>("standbyCurrentLineEdit")->text(), QStringLiteral("584mA"));
    QCOMPARE(rig.widget<QLineEdit>("delayLineEdit")->text(), QStringLiteral("900ms"));
    QCOMPARE(rig.widget<QComboBox>("microstepComboBox")->currentText(), QStringLiteral("128"));
    QVERIFY(!rig.widget<QCheckBox>("doubleEdgeCheckBox")->isChecked());
}

void ReplyHandlingTest::incompleteReplyCountsAsFailed_data()
{
    QTest::addColumn<int>("bytes");
    QTest::addColumn<int>("lateMs");

    QTest::newRow("nothing") << 0 << 0;
    QTest::newRow("one byte") << 1 << 0;
    // Status 100 and the value byte have arrived, the checksum has not.
    QTest::newRow("eight bytes") << 8 << 0;
    // Each reply comes in the next request's time: it must not be taken as
    // that request's answer, which would end the read with another's value.
    QTest::newRow("whole, but a tick and more late") << 9 << 45;
}

void ReplyHandlingTest::incompleteReplyCountsAsFailed()
{
    QFETCH(int, bytes);
    QFETCH(int, lateMs);

    ConnectedWindow rig;
    FakeModuleFaults partial;
    partial.partialBytes = bytes;
    partial.lateMs = lateMs;
    rig.module.setFaults(partial);
    QVERIFY(rig.selectModulePort());
    rig.clickOpen();
    QVERIFY(rig.waitForFrames(4));

    QCOMPARE(rig.statusMessage(), noCommunication);
    for (const QString &frame : rig.frames())
        QCOMPARE(frame, readHalfCurrentRangeFrame);
}

void ReplyHandlingTest::failedDelayReadShowsInvalid()
{
    ConnectedWindow rig;
    rig.setRegisters({{214, 15}});
    QVERIFY(openAndSettle(rig));
    auto *delayDial = rig.widget<QDial>("delayDial");
    auto *delayText = rig.widget<QLineEdit>("delayLineEdit");
    QCOMPARE(delayDial->sliderPosition(), 15);

    // Only the delay's read goes unanswered.
    const auto silentForDelay = QObject::connect(
        &rig.module, &FakeModule::frameReceived, &rig.module, [&](const QByteArray &received) {
            FakeModuleFaults faults;
            faults.silent = frameHexText(received) == readDelayFrame;
            rig.module.setFaults(faults);
        });
    rig.widget<QPushButton>("closeButton")->click();
    rig.module.clearReceivedFrames();
    rig.clickOpen();
    QVERIFY(waitUntil([&] { return rig.frames().count(readDelayFrame) >= 3; }));
    QCOMPARE(delayText->text(), QStringLiteral("invalid"));
    QCOMPARE(delayDial->sliderPosition(), 0);
    QCOMPARE(rig.statusMessage(), noCommunication);

    QObject::disconnect(silentForDelay);
    rig.module.setFaults(FakeModuleFaults());
    QVERIFY(waitUntil([&] { return rig.statusMessage() == powerStageOffMessage; }));
    QCOMPARE(delayText->text(), QStringLiteral("1.5s"));
    QCOMPARE(delayDial->sliderPosition(), 15);
}

void ReplyHandlingTest::unconfirmedRequestEndsAsTheModuleHoldsIt_data()
{
    QTest::addColumn<bool>("turnMotor"); // else drag the run current dial
    QTest::addColumn<FakeModuleFaults>("faults");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("moduleHolds"); // the run current, or the pulse frequency

    FakeModuleFaults refused;
    refused.refuseWrites = true;
    FakeModuleFaults unanswered;
    unanswered.silent = true;
    const QString writeRunCurrent = QStringLiteral("01 05 06 00 00 00 00 19 25"); // 25
    const QString stopPulses = QStringLiteral("01 01 00 00 00 00 00 00 02");
    const QString notWritten = QStringLiteral("Error: RunCurrent not written to VELD-7316");

    // A write the module refused is read back, so the window shows what the
    // module holds. One whose reply went missing is sent again until the
    // module answers it: the try right after is answered while the link is
    // out of step, and that answer is not taken. Under load a request may go
    // out more often than listed here, never less.
    QTest::newRow("refused write")
        << false << refused << QStringList{writeRunCurrent, readRunCurrentFrame}
        << QStringList{notWritten, "RunCurrent = 24"} << 24;
    QTest::newRow("unanswered write")
        << false << unanswered << QStringList{writeRunCurrent, writeRunCurrent, writeRunCurrent}
        << QStringList() << 25;
    // An unconfirmed stop is sent again until the module confirms it.
    QTest::newRow("refused stop") << true << refused << QStringList{stopPulses, stopPulses}
                                  << QStringList{pulseUnconfirmed, powerStageOnMessage} << 0;
    QTest::newRow("unanswered stop")
        << true << unanswered << QStringList{stopPulses, stopPulses, stopPulses}
        << QStringList{pulseUnconfirmed, powerStageOnMessage} << 0;
}

void ReplyHandlingTest::unconfirmedRequestEndsAsTheModuleHoldsIt()
{
    QFETCH(bool, turnMotor);
    QFETCH(FakeModuleFaults, faults);
    QFETCH(QStringList, sent);
    QFETCH(int, moduleHolds);

    ConnectedWindow rig;
    rig.setRegisters({{179, 0}, {6, 24}, {7, 10}, {140, 4}, {160, 1}});
    QVERIFY(openAndSettle(rig));
    if (turnMotor) {
        ConnectedWindow::drag(rig.widget<QDial>("pulseFrequencyDial"), 10);
        rig.widget<QPushButton>("rotateRightButton")->click();
        QVERIFY(waitUntil([&] { return rig.module.pulseFrequency() == 1000; }));
        QVERIFY(rig.waitUntilQuiet());
    }
    rig.module.clearReceivedFrames();
    faultNextFrames(rig.module, faults, 1);
    QSignalSpy spy(rig.window->statusBar(), &QStatusBar::messageChanged);

    if (turnMotor)
        rig.widget<QPushButton>("stopButton")->click();
    else
        ConnectedWindow::drag(rig.widget<QDial>("runCurrentDial"), 40);
    QVERIFY(rig.waitForFrames(sent.size()));
    QVERIFY(rig.waitUntilQuiet());

    QCOMPARE(rig.distinctFrames(), withoutRepeats(sent));
    QTEST(shownMessages(spy), "messages");
    if (turnMotor) {
        QCOMPARE(rig.module.pulseFrequency(), moduleHolds);
        QCOMPARE(rig.window->statusBar()->palette().color(QPalette::Window), QColor(Qt::red));
    } else {
        QCOMPARE(rig.module.parameter(6), moduleHolds);
        QCOMPARE(rig.widget<QDial>("runCurrentDial")->sliderPosition(), moduleHolds + 15);
    }
}

// After a read-back the box follows the module's two currents, as after any read.
void ReplyHandlingTest::standbyBoxFollowsAReadBack()
{
    ConnectedWindow rig;
    rig.setRegisters({{179, 0}, {6, 24}, {7, 24}, {140, 4}, {160, 1}});
    QVERIFY(openAndSettle(rig));
    auto *box = rig.widget<QGroupBox>("standbyCurrentGroupBox");
    QVERIFY(!box->isChecked());
    FakeModuleFaults refused;
    refused.refuseWrites = true;
    faultNextFrames(rig.module, refused, 1);

    // Both currents are written; the module refuses the run current only.
    ConnectedWindow::drag(rig.widget<QDial>("runCurrentDial"), 40);
    QVERIFY(rig.waitForFrames(3));
    QVERIFY(rig.waitUntilQuiet());

    QCOMPARE(rig.module.parameter(6), 24);
    QCOMPARE(rig.module.parameter(7), 25);
    QVERIFY(box->isChecked());
    QVERIFY(rig.widget<QDial>("standbyCurrentDial")->isEnabled());
}

// The module may have taken a start it did not confirm, so a stop to the
// last confirmed value, 0, must go out too.
void ReplyHandlingTest::stopAfterAnUnconfirmedStartGoesOut()
{
    ConnectedWindow rig;
    QVERIFY(openAndSettle(rig));
    rig.widget<QPushButton>("stopButton")->click(); // power stage on
    ConnectedWindow::drag(rig.widget<QDial>("pulseFrequencyDial"), 10);
    QVERIFY(waitUntil([&] { return rig.module.powerStageOn(); }));
    QVERIFY(rig.waitUntilQuiet());
    FakeModuleFaults unanswered;
    unanswered.silent = true;
    rig.module.setFaults(unanswered);

    rig.widget<QPushButton>("rotateRightButton")->click();
    QVERIFY(waitUntil([&] { return rig.statusMessage() == pulseUnconfirmed; }));
    rig.widget<QPushButton>("stopButton")->click();
    rig.module.setFaults(FakeModuleFaults());
    QVERIFY(waitUntil([&] { return rig.module.pulseFrequency() == 0; }));
    QVERIFY(rig.waitUntilQuiet());
    QCOMPARE(rig.module.pulseFrequency(), 0);
    QCOMPARE(rig.frames().last(), QStringLiteral("01 01 00 00 00 00 00 00 02"));
}

void ReplyHandlingTest::unconfirmedPowerStageStaysRedAndIsRetried()
{
    ConnectedWindow rig;
    rig.setRegisters({{140, 4}, {160, 1}});
    FakeModuleFaults refusing;
    refusing.refuseWrites = true;
    rig.module.setFaults(refusing);
    QSignalSpy spy(rig.window->statusBar(), &QStatusBar::messageChanged);
    QVERIFY(rig.selectModulePort());
    rig.clickOpen();

    // Seven reads, then the switch again and again.
    QVERIFY(rig.waitForFrames(10));
    const QStringList switches = rig.frames().mid(7);
    QCOMPARE(switches.count(powerStageOffFrame), switches.size());
    QCOMPARE(rig.statusMessage(), powerStageUnconfirmed);
    QCOMPARE(rig.window->statusBar()->palette().color(QPalette::Window), QColor(Qt::red));
    QVERIFY(rig.window->statusBar()->autoFillBackground());
    QVERIFY(!shownMessages(spy).contains(powerStageOffMessage));
    QVERIFY(rig.module.powerStageOn());

    // A setting changed meanwhile waits behind the switch, and the user is told.
    ConnectedWindow::drag(rig.widget<QDial>("runCurrentDial"), 40);
    QVERIFY(waitUntil([&] { return rig.statusMessage() == powerStageUnconfirmedSettingsWait; }));
    QCOMPARE(rig.frames().mid(7).count(powerStageOffFrame), rig.frames().size() - 7);

    rig.module.setFaults(FakeModuleFaults());
    QVERIFY(waitUntil([&] { return rig.module.parameter(6) == 25; }));
    QCOMPARE(rig.statusMessage(), powerStageOffMessage);
    QCOMPARE(rig.window->statusBar()->palette().color(QPalette::Window), QColor(Qt::green));
    QVERIFY(!rig.module.powerStageOn());
}

void ReplyHandlingTest::dialMovedAgainWhileItsWriteIsInFlight()
{
    ConnectedWindow rig;
    rig.setRegisters({{179, 0}, {6, 24}, {7, 10}, {140, 4}, {160, 1}});
    QVERIFY(openAndSettle(rig));
    rig.module.clearReceivedFrames();
    auto *runDial = rig.widget<QDial>("runCurrentDial");

    const QString firstWrite = QStringLiteral("01 05 06 00 00 00 00 19 25"); // 25
    onceOnFrame(rig.module, firstWrite, [&] { ConnectedWindow::drag(runDial, 42); });
    ConnectedWindow::drag(runDial, 40);
    QVERIFY(rig.waitForFrames(2));
    QVERIFY(rig.waitUntilQuiet());

    const QStringList sent = {firstWrite, QStringLiteral("01 05 06 00 00 00 00 1B 27")}; // 27
    QCOMPARE(rig.distinctFrames(), sent);
    QCOMPARE(rig.module.parameter(6), 27);
    QCOMPARE(rig.widget<QLineEdit>("runCurrentLineEdit")->text(), QStringLiteral("1.258A"));
}

void ReplyHandlingTest::readReplyGivesWayToAChangeMadeInFlight()
{
    ConnectedWindow rig;
    rig.setRegisters({{140, 4}, {160, 1}, {161, 0}});
    auto *multiplierBox = rig.widget<QCheckBox>("x16CheckBox");
    onceOnFrame(rig.module, readMultiplierFrame, [&] { multiplierBox->click(); });
    QVERIFY(openAndSettle(rig));

    QVERIFY(!multiplierBox->isChecked());
    QCOMPARE(rig.distinctFrames().mid(5),
             QStringList({readMultiplierFrame, QStringLiteral("01 06 A1 00 00 00 00 00 A8"),
                          powerStageOffFrame, QStringLiteral("01 05 A0 00 00 00 00 00 A6")}));
    QCOMPARE(rig.module.parameter(160), 0);
}

QTEST_MAIN(ReplyHandlingTest)
#include "tst_replyhandling.moc"
