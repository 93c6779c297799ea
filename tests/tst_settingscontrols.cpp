#include "tests/support/connectedwindow.h"
#include "tests/support/eventwait.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMap>
#include <QTest>

namespace {

using Registers = ConnectedWindow::Registers;

// Opens with the given registers and waits until the opening's traffic is over.
bool openWith(ConnectedWindow &rig, const Registers &registers)
{
    rig.setRegisters(registers);
    if (!rig.open() || !rig.waitUntilQuiet())
        return false;
    rig.module.clearReceivedFrames();
    return true;
}

// A group box is not a button: its check box toggles with the space key.
void toggleStandbyBoxAsUser(ConnectedWindow &rig)
{
    QTest::keyClick(rig.widget<QGroupBox>("standbyCurrentGroupBox"), Qt::Key_Space);
}

const QString powerStageOffFrame = QStringLiteral("01 0E 02 02 00 00 00 01 14");

} // namespace

// The current and microstep controls driven as a user drives them, judged by
// what the module receives and what the window shows.
class SettingsControlsTest : public QObject
{
    Q_OBJECT

private slots:
    void crossingIntoTheFullRangeRescalesTheStandbyText();
    void dialDragWrites_data();
    void dialDragWrites();
    void uncheckingTheStandbyBoxWritesTheShownValues();
    void delayDialOntoTheCachedValueRewritesOnlyTheText();
    void microstepInterlocks_data();
    void microstepInterlocks();
    void resolutionReplyOtherThan16WritesTheMultiplierOff();
};

void SettingsControlsTest::crossingIntoTheFullRangeRescalesTheStandbyText()
{
    ConnectedWindow rig;
    // Half range, run current 31, a standby current of its own.
    QVERIFY(openWith(rig, {{179, 1}, {6, 31}, {7, 24}, {214, 0}}));
    auto *runDial = rig.widget<QDial>("runCurrentDial");
    auto *runText = rig.widget<QLineEdit>("runCurrentLineEdit");
    auto *standbyText = rig.widget<QLineEdit>("standbyCurrentLineEdit");
    QVERIFY(rig.widget<QGroupBox>("standbyCurrentGroupBox")->isChecked());
    QCOMPARE(runDial->sliderPosition(), 31);
    QCOMPARE(runText->text(), QStringLiteral("778mA"));
    QCOMPARE(standbyText->text(), QStringLiteral("608mA"));

    ConnectedWindow::drag(runDial, 32);
    QCOMPARE(runText->text(), QStringLiteral("809mA"));
    QCOMPARE(standbyText->text(), QStringLiteral("1.123A"));
    QVERIFY(rig.waitForFrames(2));
    QVERIFY(rig.waitUntilQuiet());
    const QStringList written = {QStringLiteral("01 05 06 00 00 00 00 11 1D"),  // RunCurrent 17
                                 QStringLiteral("01 05 B3 00 00 00 00 00 B9")}; // full range
    QCOMPARE(rig.distinctFrames(), written);
    QCOMPARE(rig.module.parameter(7), 24);
}

void SettingsControlsTest::dialDragWrites_data()
{
    QTest::addColumn<Registers>("registers");
    QTest::addColumn<QString>("dial");
    QTest::addColumn<int>("position");
    QTest::addColumn<QStringList>("written");
    QTest::addColumn<QString>("runText");
    QTest::addColumn<QString>("standbyText");
    QTest::addColumn<int>("standbyPosition");
    QTest::addColumn<QString>("delayText");

    const Registers halfRangeTop = {{179, 1}, {6, 31}, {7, 31}, {214, 0}};
    const Registers halfRangeFollowing = {{179, 1}, {6, 24}, {7, 24}, {214, 0}};
    const Registers fullRangeOwnStandby = {{179, 0}, {6, 24}, {7, 10}, {214, 15}};
    // The run current reads as invalid; the window keeps 24 in full range.
    const Registers invalidRunCurrent = {{179, 0}, {6, 40}, {7, 10}, {214, 15}};

    QTest::newRow("full range at the half range top writes only the range")
        << halfRangeTop << "runCurrentDial" << 46
        << QStringList{QStringLiteral("01 05 B3 00 00 00 00 00 B9")} << "1.438A"
        << "1.438A" << 31 << "0ms";
    QTest::newRow("run current with the box unchecked takes the standby current along")
        << halfRangeFollowing << "runCurrentDial" << 10
        << QStringList{QStringLiteral("01 05 06 00 00 00 00 0A 16"),
                       QStringLiteral("01 05 07 00 00 00 00 0A 17")}
        << "267mA"
        << "267mA" << 10 << "0ms";
    QTest::newRow("run current onto the cached value rewrites only the text")
        << invalidRunCurrent << "runCurrentDial" << 39 << QStringList() << "1.123A"
        << "494mA" << 10 << "1.5s";
    QTest::newRow("standby current")
        << fullRangeOwnStandby << "standbyCurrentDial" << 12
        << QStringList{QStringLiteral("01 05 07 00 00 00 00 0C 19")} << "1.123A"
        << "584mA" << 12 << "1.5s";
    QTest::newRow("delay below a second")
        << fullRangeOwnStandby << "delayDial" << 9
        << QStringList{QStringLiteral("01 05 D6 00 00 00 00 09 E5")} << "1.123A"
        << "494mA" << 10 << "900ms";
    QTest::newRow("delay of a second")
        << fullRangeOwnStandby << "delayDial" << 10
        << QStringList{QStringLiteral("01 05 D6 00 00 00 00 0A E6")} << "1.123A"
        << "494mA" << 10 << "1.0s";
    QTest::newRow("longest delay")
        << fullRangeOwnStandby << "delayDial" << 255
        << QStringList{QStringLiteral("01 05 D6 00 00 00 00 FF DB")} << "1.123A"
        << "494mA" << 10 << "25.5s";
}

void SettingsControlsTest::dialDragWrites()
{
    QFETCH(Registers, registers);
    QFETCH(QString, dial);
    QFETCH(int, position);
    QFETCH(QStringList, written);

    ConnectedWindow rig;
    QVERIFY(openWith(rig, registers));
    auto *dragged = rig.widget<QDial>(qPrintable(dial));
    QVERIFY(dragged->isEnabled());
    ConnectedWindow::drag(dragged, position);

    QTEST(rig.widget<QLineEdit>("runCurrentLineEdit")->text(), "runText");
    QTEST(rig.widget<QLineEdit>("standbyCurrentLineEdit")->text(), "standbyText");
    QTEST(rig.widget<QDial>("standbyCurrentDial")->sliderPosition(), "standbyPosition");
    QTEST(rig.widget<QLineEdit>("delayLineEdit")->text(), "delayText");
    QVERIFY(rig.waitForFrames(written.size()));
    QVERIFY(rig.waitUntilQuiet());
    QCOMPARE(rig.distinctFrames(), written);
}

void SettingsControlsTest::uncheckingTheStandbyBoxWritesTheShownValues()
{
    ConnectedWindow rig;
    QVERIFY(openWith(rig, {{179, 0}, {6, 24}, {7, 10}, {214, 15}}));
    auto *box = rig.widget<QGroupBox>("standbyCurrentGroupBox");
    QVERIFY(box->isChecked());

    toggleStandbyBoxAsUser(rig);
    QVERIFY(!box->isChecked());
    QCOMPARE(rig.widget<QLineEdit>("delayLineEdit")->text(), QStringLiteral("0"));
    QCOMPARE(rig.widget<QDial>("delayDial")->sliderPosition(), 0);
    QCOMPARE(rig.widget<QLineEdit>("standbyCurrentLineEdit")->text(), QStringLiteral("1.123A"));
    QCOMPARE(rig.widget<QDial>("standbyCurrentDial")->sliderPosition(), 24);
    for (const char *name :
         {"delayLineEdit", "delayDial", "standbyCurrentLineEdit", "standbyCurrentDial"})
        QVERIFY2(!rig.widget<QWidget>(name)->isEnabled(), name);

    // The module stands by at the run current at once, as shown.
    QVERIFY(rig.waitForFrames(2));
    QVERIFY(rig.waitUntilQuiet());
    QCOMPARE(rig.distinctFrames(), QStringList({hexFrame({1, 5, 7, 0, 0, 0, 0, 24, 37}),
                                                hexFrame({1, 5, 214, 0, 0, 0, 0, 0, 220})}));
    QCOMPARE(rig.module.parameter(7), 24);
    QCOMPARE(rig.module.parameter(214), 0);
}

void SettingsControlsTest::delayDialOntoTheCachedValueRewritesOnlyTheText()
{
    ConnectedWindow rig;
    QVERIFY(openWith(rig, {{179, 0}, {6, 24}, {7, 10}, {214, 15}}));
    auto *box = rig.widget<QGroupBox>("standbyCurrentGroupBox");
    toggleStandbyBoxAsUser(rig);
    toggleStandbyBoxAsUser(rig);
    QVERIFY(box->isChecked());
    QVERIFY(rig.waitForFrames(2) && rig.waitUntilQuiet());
    rig.module.clearReceivedFrames();
    auto *delayDial = rig.widget<QDial>("delayDial");
    QVERIFY(delayDial->isEnabled());
    QCOMPARE(rig.widget<QLineEdit>("delayLineEdit")->text(), QStringLiteral("0"));
    // Turned by a key, the dial leaves the cached value and the text alone.
    QTest::keyClick(delayDial, Qt::Key_Up);
    QCOMPARE(delayDial->sliderPosition(), 1);
    QCOMPARE(rig.widget<QLineEdit>("delayLineEdit")->text(), QStringLiteral("0"));

    ConnectedWindow::drag(delayDial, 0);
    QCOMPARE(rig.widget<QLineEdit>("delayLineEdit")->text(), QStringLiteral("0ms"));
    QVERIFY(rig.waitUntilQuiet());
    QCOMPARE(rig.frames(), QStringList());
}

void SettingsControlsTest::microstepInterlocks_data()
{
    QTest::addColumn<Registers>("registers");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QStringList>("written");
    QTest::addColumn<QString>("resolution");
    QTest::addColumn<bool>("multiplier");
    QTest::addColumn<bool>("doubleEdge");

    // 140 holds the microstep code: 4 is 16, 3 is 32, 2 is 64.
    const Registers multiplierAt16 = {{140, 4}, {160, 1}, {161, 0}};
    const Registers plainAt32 = {{140, 3}, {160, 0}, {161, 0}};
    const Registers doubleEdgeAt64 = {{140, 2}, {160, 0}, {161, 1}};
    const QString resolution16 = QStringLiteral("01 05 8C 00 00 00 00 04 96");
    const QString resolution32 = QStringLiteral("01 05 8C 00 00 00 00 03 95");
    const QString multiplierOn = QStringLiteral("01 05 A0 00 00 00 00 01 A7");
    const QString multiplierOff = QStringLiteral("01 05 A0 00 00 00 00 00 A6");
    const QString doubleEdgeOn = QStringLiteral("01 05 A1 00 00 00 00 01 A8");
    const QString doubleEdgeOff = QStringLiteral("01 05 A1 00 00 00 00 00 A7");

    // The cycle writes resolution, multiplier, double edge in this order,
    // whatever order the handler marked them in.
    QTest::newRow("32 with the multiplier on")
        << multiplierAt16 << "microstepComboBox"
        << "32" << QStringList{resolution32, multiplierOff} << "32" << false << false;
    QTest::newRow("multiplier at 64 with double edge")
        << doubleEdgeAt64 << "x16CheckBox" << QString()
        << QStringList{resolution16, multiplierOn, doubleEdgeOff} << "16" << true << false;
    QTest::newRow("double edge with the multiplier on")
        << multiplierAt16 << "doubleEdgeCheckBox" << QString()
        << QStringList{multiplierOff, doubleEdgeOn} << "16" << false << true;
    QTest::newRow("16 with the multiplier off")
        << plainAt32 << "microstepComboBox"
        << "16" << QStringList{resolution16} << "16" << false << false;
    QTest::newRow("multiplier off keeps the resolution")
        << multiplierAt16 << "x16CheckBox" << QString() << QStringList{multiplierOff} << "16"
        << false << false;
    QTest::newRow("double edge off") << doubleEdgeAt64 << "doubleEdgeCheckBox" << QString()
                                     << QStringList{doubleEdgeOff} << "64" << false << false;
    QTest::newRow("the item already selected") << multiplierAt16 << "microstepComboBox"
                                               << "16" << QStringList() << "16" << true << false;
}

void SettingsControlsTest::microstepInterlocks()
{
    QFETCH(Registers, registers);
    QFETCH(QString, control);
    QFETCH(QString, item);
    QFETCH(QStringList, written);

    ConnectedWindow rig;
    QVERIFY(openWith(rig, registers));
    auto *list = rig.widget<QComboBox>("microstepComboBox");
    if (control == list->objectName()) {
        // How a choice from the list's popup ends.
        list->setCurrentIndex(list->findText(item));
    } else {
        rig.widget<QCheckBox>(qPrintable(control))->click();
    }

    QTEST(list->currentText(), "resolution");
    QTEST(rig.widget<QCheckBox>("x16CheckBox")->isChecked(), "multiplier");
    QTEST(rig.widget<QCheckBox>("doubleEdgeCheckBox")->isChecked(), "doubleEdge");
    QVERIFY(rig.waitForFrames(written.size()));
    QVERIFY(rig.waitUntilQuiet());
    QCOMPARE(rig.distinctFrames(), written);
}

void SettingsControlsTest::resolutionReplyOtherThan16WritesTheMultiplierOff()
{
    ConnectedWindow rig;
    // 32 microsteps with the multiplier on: a state the window must mend.
    rig.setRegisters({{140, 3}, {160, 1}, {161, 0}});
    QVERIFY(rig.selectModulePort());
    rig.clickOpen();
    QVERIFY(rig.waitForFrames(8));
    QVERIFY(rig.waitUntilQuiet());

    // The multiplier's read gives way to the write.
    const QStringList expected = {QStringLiteral("01 06 B3 00 00 00 00 00 BA"),
                                  QStringLiteral("01 06 06 00 00 00 00 00 0D"),
                                  QStringLiteral("01 06 07 00 00 00 00 00 0E"),
                                  QStringLiteral("01 06 D6 00 00 00 00 00 DD"),
                                  QStringLiteral("01 06 8C 00 00 00 00 00 93"),
                                  QStringLiteral("01 06 A1 00 00 00 00 00 A8"),
                                  powerStageOffFrame,
                                  QStringLiteral("01 05 A0 00 00 00 00 00 A6")};
    QCOMPARE(rig.distinctFrames(), expected);
    QCOMPARE(rig.module.parameter(160), 0);
    QCOMPARE(rig.widget<QComboBox>("microstepComboBox")->currentText(), QStringLiteral("32"));
    QVERIFY(!rig.widget<QCheckBox>("x16CheckBox")->isChecked());
}

QTEST_MAIN(SettingsControlsTest)
#include "tst_settingscontrols.moc"
