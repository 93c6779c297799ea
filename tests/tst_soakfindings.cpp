// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/displayformat.h"
#include "tests/support/connectedwindow.h"
#include "tools/emulator/framehex.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <memory>

namespace {

QString readFrame(int number)
{
    return hexFrame({1, 6, number, 0, 0, 0, 0, 0, (1 + 6 + number) % 256});
}

// Runs the action once, when the module receives the frame: the request is
// then on the line and its reply not yet taken.
void whenModuleReceives(FakeModule &module, const QString &frame,
                        const std::function<void()> &action)
{
    auto done = std::make_shared<bool>(false);
    QObject::connect(&module, &FakeModule::frameReceived, &module, [=](const QByteArray &received) {
        if (*done || frameHexText(received) != frame)
            return;
        *done = true;
        action();
    });
}

} // namespace

// Faults found with the soak test: a reply applied over a change the user
// made while that reply's request was on the line.
class SoakFindingsTest : public QObject
{
    Q_OBJECT

private slots:
    void delayChangedWhileItsReadFailsIsShown();
    void runCurrentDraggedWhileTheRangeIsReadIsShownAsTheModuleHasIt();
    void standbyCurrentDraggedWhileTheRangeIsReadAgainIsShownAsTheModuleHasIt();
};

void SoakFindingsTest::delayChangedWhileItsReadFailsIsShown()
{
    ConnectedWindow rig;
    // A standby current of its own: the delay dial is usable once it is read.
    rig.setRegisters({{6, 20}, {7, 10}, {214, 15}});
    auto *delayDial = rig.widget<QDial>("delayDial");
    whenModuleReceives(rig.module, readFrame(214), [&] {
        FakeModuleFaults silent;
        silent.silent = true;
        rig.module.setFaults(silent);
        ConnectedWindow::drag(delayDial, 40);
    });
    whenModuleReceives(rig.module, readFrame(140),
                       [&] { rig.module.setFaults(FakeModuleFaults()); });

    QVERIFY(rig.selectModulePort());
    rig.clickOpen();
    QVERIFY(rig.waitForFrames(8));
    QVERIFY(rig.waitUntilQuiet());

    QCOMPARE(rig.module.parameter(214), 40);
    QCOMPARE(delayDial->sliderPosition(), 40);
    QCOMPARE(rig.widget<QLineEdit>("delayLineEdit")->text(), QStringLiteral("4.0s"));
}

void SoakFindingsTest::runCurrentDraggedWhileTheRangeIsReadIsShownAsTheModuleHasIt()
{
    ConnectedWindow rig;
    // The module is in the half range; the window starts in the full range.
    rig.setRegisters({{179, 1}, {6, 20}, {7, 10}});
    auto *runDial = rig.widget<QDial>("runCurrentDial");
    // Position 40 is the full range's register value 25.
    whenModuleReceives(rig.module, readFrame(179), [&] { ConnectedWindow::drag(runDial, 40); });

    QVERIFY(rig.selectModulePort());
    rig.clickOpen();
    QVERIFY(rig.waitForFrames(8));
    QVERIFY(rig.waitUntilQuiet());

    const bool halfRange = rig.module.parameter(179) == 1;
    const int runCurrent = rig.module.parameter(6);
    QCOMPARE(runDial->sliderPosition(), runCurrentDialPosition(runCurrent, halfRange));
    QCOMPARE(rig.widget<QLineEdit>("runCurrentLineEdit")->text(),
             formatCurrent(runCurrent, halfRange));
}

// The same race on the standby current's text. It needs a window whose range
// differs from the module's, which a rejected range reading leaves behind.
void SoakFindingsTest::standbyCurrentDraggedWhileTheRangeIsReadAgainIsShownAsTheModuleHasIt()
{
    ConnectedWindow rig;
    rig.setRegisters({{179, 1}, {6, 20}, {7, 10}});
    whenModuleReceives(rig.module, readFrame(179), [&] {
        FakeModuleFaults outOfRange;
        outOfRange.outOfRange = true;
        rig.module.setFaults(outOfRange);
    });
    whenModuleReceives(rig.module, readFrame(6), [&] { rig.module.setFaults(FakeModuleFaults()); });
    QVERIFY(rig.selectModulePort());
    rig.clickOpen();
    QVERIFY(rig.waitForFrames(8));
    QVERIFY(rig.waitUntilQuiet());

    rig.module.clearReceivedFrames();
    auto *standbyDial = rig.widget<QDial>("standbyCurrentDial");
    QVERIFY(standbyDial->isEnabled());
    whenModuleReceives(rig.module, readFrame(179), [&] { ConnectedWindow::drag(standbyDial, 12); });
    rig.widget<QPushButton>("closeButton")->click();
    rig.clickOpen();
    QVERIFY(rig.waitForFrames(8));
    QVERIFY(rig.waitUntilQuiet());

    QCOMPARE(rig.module.parameter(7), 12);
    QCOMPARE(rig.widget<QLineEdit>("standbyCurrentLineEdit")->text(),
             formatCurrent(12, rig.module.parameter(179) == 1));
}

QTEST_MAIN(SoakFindingsTest)
#include "tst_soakfindings.moc"
