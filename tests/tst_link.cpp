// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/support/connectedwindow.h"
#include "tests/support/eventwait.h"
#include "tests/support/modaldialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSerialPort>
#include <QTest>

namespace {

QString readFrame(int number)
{
    return hexFrame({1, 6, number, 0, 0, 0, 0, 0, (1 + 6 + number) % 256});
}

QString writeFrame(int number, int value)
{
    return hexFrame({1, 5, number, 0, 0, 0, 0, value, (1 + 5 + number + value) % 256});
}

const QString powerStageOffFrame = QStringLiteral("01 0E 02 02 00 00 00 01 14");
const QString powerStageOffMessage =
    QStringLiteral("Power stage is off. You can now plug or unplug the motor.");
const QString noCommunication = QStringLiteral("Error: no communication with VELD-7316");

} // namespace

// The link end to end: the real serial port on a pseudo-terminal, the module
// stand-in on the other side.
class LinkTest : public QObject
{
    Q_OBJECT

private slots:
    void openingReadsEverySettingThenSwitchesThePowerStageOff();
    void openingShowsTheModulesSettings();
    void runCurrentDialStepSendsOneWrite();
    void writesWaitForPendingReads();
    void silentModuleIsReportedAtEveryReplyAndRecovers();
    void lateReplyDoesNotCorruptTheNextOne();
    void unplugReturnsTheWindowToDisconnected();
    void simulatorEnablesControlsAndSendsNothing();
    void failedOpeningShowsMessageBox();
    void closingSendsNothingAndClearsTheStatusBar();
};

void LinkTest::openingReadsEverySettingThenSwitchesThePowerStageOff()
{
    ConnectedWindow rig;
    // At 16 microsteps the multiplier interlock leaves its read alone.
    rig.module.setParameter(140, 4);
    QVERIFY(rig.selectModulePort());
    rig.clickOpen();
    QVERIFY(rig.waitForFrames(8));
    const QStringList expected = {readFrame(179), readFrame(6),      readFrame(7),
                                  readFrame(214), readFrame(140),    readFrame(160),
                                  readFrame(161), powerStageOffFrame};
    QCOMPARE(rig.distinctFrames().mid(0, 8), expected);
    QVERIFY(waitUntil([&] { return rig.statusMessage() == powerStageOffMessage; }));
    QVERIFY(!rig.module.powerStageOn());
    const QColor background = rig.window->statusBar()->palette().color(QPalette::Window);
    QCOMPARE(background, QColor(Qt::green));
    QVERIFY(rig.window->statusBar()->autoFillBackground());
}

void LinkTest::openingShowsTheModulesSettings()
{
    ConnectedWindow rig;
    rig.module.setParameter(179, 0); // full range
    rig.module.setParameter(6, 24);
    rig.module.setParameter(7, 10);
    rig.module.setParameter(214, 15);
    rig.module.setParameter(140, 3); // 32 microsteps
    rig.module.setParameter(160, 0);
    rig.module.setParameter(161, 1);
    QVERIFY(rig.open());

    QCOMPARE(rig.widget<QDial>("runCurrentDial")->sliderPosition(), 39);
    QCOMPARE(rig.widget<QLineEdit>("runCurrentLineEdit")->text(), QStringLiteral("1.123A"));
    QCOMPARE(rig.widget<QDial>("standbyCurrentDial")->sliderPosition(), 10);
    QCOMPARE(rig.widget<QLineEdit>("standbyCurrentLineEdit")->text(), QStringLiteral("494mA"));
    QCOMPARE(rig.widget<QLineEdit>("delayLineEdit")->text(), QStringLiteral("1.5s"));
    QCOMPARE(rig.widget<QDial>("delayDial")->sliderPosition(), 15);
    QCOMPARE(rig.widget<QComboBox>("microstepComboBox")->currentText(), QStringLiteral("32"));
    QVERIFY(!rig.widget<QCheckBox>("x16CheckBox")->isChecked());
    QVERIFY(rig.widget<QCheckBox>("doubleEdgeCheckBox")->isChecked());
    QVERIFY(rig.widget<QGroupBox>("standbyCurrentGroupBox")->isChecked());
    QVERIFY(rig.widget<QDial>("standbyCurrentDial")->isEnabled());
    // The multiplier was read as off: the module needs no write.
    QVERIFY(rig.waitUntilQuiet());
    QCOMPARE(rig.frames(), QStringList());
}

void LinkTest::runCurrentDialStepSendsOneWrite()
{
    ConnectedWindow rig;
    rig.module.setParameter(179, 0);
    rig.module.setParameter(6, 24);
    rig.module.setParameter(7, 10);
    QVERIFY(rig.open());
    QVERIFY(rig.waitUntilQuiet());
    rig.module.clearReceivedFrames();

    ConnectedWindow::drag(rig.widget<QDial>("runCurrentDial"), 40);
    QCOMPARE(rig.widget<QLineEdit>("runCurrentLineEdit")->text(), QStringLiteral("1.168A"));
    QVERIFY(rig.waitForFrames(1));
    QCOMPARE(rig.frames().first(), QStringLiteral("01 05 06 00 00 00 00 19 25"));
    QVERIFY(rig.waitUntilQuiet());
    QCOMPARE(rig.distinctFrames().size(), 1);
    QCOMPARE(rig.module.parameter(6), 25);
}

void LinkTest::writesWaitForPendingReads()
{
    ConnectedWindow rig;
    rig.module.setParameter(140, 4);
    rig.module.setParameter(179, 0);
    QVERIFY(rig.selectModulePort());
    rig.clickOpen();
    // RunCurrent has been read once its successor's read goes out.
    QVERIFY(rig.waitForFrames(3));
    ConnectedWindow::drag(rig.widget<QDial>("runCurrentDial"), 40);
    QVERIFY(waitUntil([&] { return rig.distinctFrames().size() >= 9; }));
    const QStringList frames = rig.distinctFrames();
    for (int i = 0; i < 7; ++i)
        QVERIFY2(frames.at(i).startsWith(QStringLiteral("01 06")), qPrintable(frames.at(i)));
    QCOMPARE(frames.at(7), powerStageOffFrame);
    QCOMPARE(frames.at(8), writeFrame(6, 25));
}

void LinkTest::silentModuleIsReportedAtEveryReplyAndRecovers()
{
    ConnectedWindow rig;
    FakeModuleFaults silent;
    silent.silent = true;
    rig.module.setFaults(silent);
    QVERIFY(rig.selectModulePort());
    rig.clickOpen();

    QVERIFY(rig.waitForFrames(4));
    QCOMPARE(rig.statusMessage(), noCommunication);
    // Only the first read is repeated; nothing else goes out.
    for (const QString &frame : rig.frames())
        QCOMPARE(frame, readFrame(179));

    rig.module.setFaults(FakeModuleFaults());
    QVERIFY(waitUntil([&] { return rig.statusMessage() == powerStageOffMessage; }));
}

void LinkTest::lateReplyDoesNotCorruptTheNextOne()
{
    ConnectedWindow rig;
    rig.module.setParameter(179, 1); // half range
    rig.module.setParameter(6, 5);
    FakeModuleFaults late;
    late.lateMs = 30; // after the reply tick, before the next request's reply
    rig.module.setFaults(late);
    QVERIFY(rig.selectModulePort());
    rig.clickOpen();
    QVERIFY(rig.waitForFrames(3));
    rig.module.setFaults(FakeModuleFaults());

    // Every value arrives right once the module is on time again, although
    // late bytes of earlier replies reached the port meanwhile.
    QVERIFY(waitUntil([&] { return rig.statusMessage() == powerStageOffMessage; }));
    QCOMPARE(rig.widget<QLineEdit>("runCurrentLineEdit")->text(), QStringLiteral("146mA"));
    QCOMPARE(rig.widget<QDial>("runCurrentDial")->sliderPosition(), 5);
}

void LinkTest::unplugReturnsTheWindowToDisconnected()
{
    ConnectedWindow rig;
    QVERIFY(rig.open());
    QVERIFY(rig.widget<QPushButton>("closeButton")->isEnabled());
    rig.module.unplug();

    QVERIFY(waitUntil([&] { return rig.widget<QPushButton>("openButton")->isEnabled(); }));
    QVERIFY(!rig.widget<QPushButton>("closeButton")->isEnabled());
    QVERIFY(!rig.widget<QDial>("runCurrentDial")->isEnabled());
    const QString message = rig.statusMessage();
    QVERIFY2(message.contains(QStringLiteral("lost")), qPrintable(message));
    // Once said, it stays said: no flood of errors follows.
    processEventsFor(200);
    QCOMPARE(rig.statusMessage(), message);
}

void LinkTest::simulatorEnablesControlsAndSendsNothing()
{
    ConnectedWindow rig;
    auto *ports = rig.widget<QComboBox>("serialPortComboBox");
    ports->setCurrentIndex(ports->findText(QStringLiteral("Simulator")));
    rig.clickOpen();
    QVERIFY(rig.widget<QDial>("runCurrentDial")->isEnabled());
    QVERIFY(!rig.widget<QPushButton>("openButton")->isEnabled());
    ConnectedWindow::drag(rig.widget<QDial>("runCurrentDial"), 20);
    processEventsFor(200);
    QCOMPARE(rig.frames(), QStringList());
}

void LinkTest::failedOpeningShowsMessageBox()
{
    ConnectedWindow rig;
    QVERIFY(rig.selectModulePort());
    // Another program has the port open already.
    QSerialPort otherProgram(rig.module.portName());
    QVERIFY(otherProgram.open(QIODevice::ReadWrite));
    MessageBoxAnswer seen;
    answerNextMessageBox(QMessageBox::Ok, &seen);
    rig.clickOpen();
    QVERIFY(seen.shown);
    QCOMPARE(seen.text, QStringLiteral("Could not open COM port!"));
    QCOMPARE(seen.informativeText,
             QStringLiteral("The port is in use by another program. Close that program, or its "
                            "connection to the port, and try again."));
    QCOMPARE(seen.icon, QMessageBox::Information);
    QCOMPARE(seen.title, QString());
    QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(rig.widget<QPushButton>("openButton")->isEnabled());
    QVERIFY(!rig.widget<QDial>("runCurrentDial")->isEnabled());
}

void LinkTest::closingSendsNothingAndClearsTheStatusBar()
{
    ConnectedWindow rig;
    QVERIFY(rig.open());
    QVERIFY(rig.waitUntilQuiet());
    rig.module.clearReceivedFrames();
    rig.widget<QPushButton>("closeButton")->click();
    processEventsFor(100);
    QCOMPARE(rig.frames(), QStringList());
    QCOMPARE(rig.statusMessage(), QString());
    QVERIFY(!rig.window->statusBar()->autoFillBackground());
    QVERIFY(rig.widget<QPushButton>("openButton")->isEnabled());
}

QTEST_MAIN(LinkTest)
#include "tst_link.moc"
