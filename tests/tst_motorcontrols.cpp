// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/support/connectedwindow.h"
#include "tests/support/eventwait.h"
#include "tests/support/modaldialogs.h"
#include "tools/emulator/framehex.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

const QString powerStageOnFrame = QStringLiteral("01 0E 02 02 00 00 00 00 13");
const QString powerStageOffFrame = QStringLiteral("01 0E 02 02 00 00 00 01 14");
const QString left1000HzFrame = QStringLiteral("01 01 00 00 FF FF FC 18 14");
const QString right1000HzFrame = QStringLiteral("01 01 00 00 00 00 03 E8 ED");
const QString stopFrame = QStringLiteral("01 01 00 00 00 00 00 00 02");
const QString powerStageOnMessage = QStringLiteral("Power stage on. Don not plug / unplug motor!");
const QString powerStageOffMessage =
    QStringLiteral("Power stage is off. You can now plug or unplug the motor.");

// At 16 microsteps with the multiplier on, opening leaves nothing to write.
bool openAt16Microsteps(ConnectedWindow &rig)
{
    rig.module.setParameter(140, 4);
    rig.module.setParameter(160, 1);
    return rig.open();
}

// Waits for the frames a user action caused and for the cycle to fall quiet.
bool waitForSettledFrames(const ConnectedWindow &rig, int count)
{
    return rig.waitForFrames(count) && rig.waitUntilQuiet();
}

enum class Direction { Left, Right };

// Dials the frequency from position 0 with the 100 Hz step, starts the motor
// with a rotate button and waits until the module turns. Clears the frame log.
bool startTurning(ConnectedWindow &rig, Direction direction, int dialPosition)
{
    ConnectedWindow::drag(rig.widget<QDial>("pulseFrequencyDial"), dialPosition);
    const bool left = direction == Direction::Left;
    rig.widget<QPushButton>(left ? "rotateLeftButton" : "rotateRightButton")->click();
    const int wanted = (left ? -100 : 100) * dialPosition;
    const bool turning =
        waitUntil([&] { return rig.module.pulseFrequency() == wanted; }) && rig.waitUntilQuiet();
    rig.module.clearReceivedFrames();
    return turning;
}

QColor statusBarColour(const ConnectedWindow &rig)
{
    return rig.window->statusBar()->palette().color(QPalette::Window);
}

// What the settings panel shows, for comparing before and after.
QStringList shownSettings(const ConnectedWindow &rig)
{
    QStringList shown;
    for (const char *name : {"runCurrentDial", "standbyCurrentDial", "delayDial"})
        shown << QString::number(rig.widget<QDial>(name)->sliderPosition());
    for (const char *name : {"runCurrentLineEdit", "standbyCurrentLineEdit", "delayLineEdit"})
        shown << rig.widget<QLineEdit>(name)->text();
    for (const char *name : {"x16CheckBox", "doubleEdgeCheckBox"})
        shown << QString::number(rig.widget<QCheckBox>(name)->isChecked());
    shown << QString::number(rig.widget<QGroupBox>("standbyCurrentGroupBox")->isChecked())
          << QString::number(rig.widget<QDial>("standbyCurrentDial")->isEnabled())
          << rig.widget<QComboBox>("microstepComboBox")->currentText();
    return shown;
}

void triggerFactoryReset(const ConnectedWindow &rig)
{
    rig.window->findChild<QAction *>(QStringLiteral("actionReset_to_Factory_Defaults"))->trigger();
}

// Module settings apart from the defaults, some of them already at their
// defaults: full range, double edge off and no delay.
void setMostlyOtherThanDefaults(FakeModule &module)
{
    const std::initializer_list<std::pair<int, int>> registers = {
        {179, 0}, {6, 20}, {7, 10}, {214, 0}, {140, 2}, {160, 0}, {161, 0}};
    for (const auto &[number, value] : registers)
        module.setParameter(number, value);
}

// How a person goes through the Tools menu.
enum class MenuWay { OpenedAndClosedByMouse, ItemsHoveredByMouse, ItemsWalkedByKeys };

// Opens the Tools menu with the pointer (or Alt and Down), goes over its items
// the given way and closes it again.
bool goThroughToolsMenu(const ConnectedWindow &rig, MenuWay way)
{
    QWindow *window = rig.window->windowHandle();
    auto *menuBar = rig.widget<QMenuBar>("menuBar");
    auto *menu = rig.widget<QMenu>("menuTools");
    const QPoint title =
        menuBar->mapTo(rig.window.get(), menuBar->actionGeometry(menu->menuAction()).center());
    const bool byKeys = way == MenuWay::ItemsWalkedByKeys;
    if (byKeys) {
        QTest::keyClick(rig.window.get(), Qt::Key_Alt);
        QTest::keyClick(menuBar, Qt::Key_Down);
    } else {
        QTest::mouseClick(window, Qt::LeftButton, {}, title);
    }
    if (!waitUntil([&] { return menu->isVisible(); }))
        return false;
    for (QAction *item : menu->actions()) {
        if (byKeys)
            QTest::keyClick(menu, Qt::Key_Down);
        else if (way == MenuWay::ItemsHoveredByMouse)
            QTest::mouseMove(menu->windowHandle(), menu->actionGeometry(item).center());
    }
    if (way == MenuWay::OpenedAndClosedByMouse)
        QTest::mouseClick(window, Qt::LeftButton, {}, title);
    else
        QTest::keyClick(menu, Qt::Key_Escape);
    return waitUntil([&] { return !menu->isVisible(); });
}

// The contrast ratio of two colours as WCAG 2 defines it.
double contrastRatio(const QColor &first, const QColor &second)
{
    const auto luminance = [](const QColor &colour) {
        const auto linear = [](double c) {
            return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
               0.0722 * linear(colour.blueF());
    };
    const auto [darker, lighter] = std::minmax({luminance(first), luminance(second)});
    return (lighter + 0.05) / (darker + 0.05);
}

} // namespace

Q_DECLARE_METATYPE(MenuWay)

// The pulse generator, the power-stage switch and the factory reset, end to
// end through the module stand-in.
class MotorControlsTest : public QObject
{
    Q_OBJECT

private slots:
    void rotateLeftRunsThePulseGeneratorBeforePower();
    void rotateRightReversesWithoutStopping();
    void stopWhileTurningLeavesThePowerStageOn();
    void stopButtonSwitchesThePowerStage();
    void sameRotationAfterReopeningIsSent();
    void pulseDialBackToTheSentValueSendsNothing();
    void frequencyUnitChangesOnlyTheText_data();
    void frequencyUnitChangesOnlyTheText();
    void dialWhileStoppedSendsNothing();
    void speedWithoutFullStepsIsUnknown_data();
    void speedWithoutFullStepsIsUnknown();
    void factoryResetWritesAllSevenDefaults();
    void cancelledFactoryResetChangesNothing();
    void powerStageMessageStaysReadable_data();
    void powerStageMessageStaysReadable();
};

// The power stage goes on only once the module runs what the user wants.
void MotorControlsTest::rotateLeftRunsThePulseGeneratorBeforePower()
{
    ConnectedWindow rig;
    QVERIFY(openAt16Microsteps(rig));
    QVERIFY(rig.widget<QRadioButton>("x100HzRadioButton")->isChecked());
    ConnectedWindow::drag(rig.widget<QDial>("pulseFrequencyDial"), 10);
    QCOMPARE(rig.widget<QLineEdit>("pulseFrequencyLineEdit")->text(), QStringLiteral("1.000kHz"));

    auto *left = rig.widget<QPushButton>("rotateLeftButton");
    auto *right = rig.widget<QPushButton>("rotateRightButton");
    left->click();
    QCOMPARE(rig.widget<QLineEdit>("rpmLineEdit")->text(), QStringLiteral("-18.75"));
    QVERIFY(!left->isEnabled());
    QVERIFY(left->isDown());
    QVERIFY(right->isEnabled());
    QVERIFY(!right->isDown());
    QCOMPARE(rig.widget<QPushButton>("stopButton")->text(), QStringLiteral("STOP"));

    QVERIFY(waitForSettledFrames(rig, 2));
    QCOMPARE(rig.distinctFrames(), QStringList({left1000HzFrame, powerStageOnFrame}));
    QVERIFY(rig.module.powerStageOn());
    QCOMPARE(rig.module.pulseFrequency(), -1000);
    QCOMPARE(rig.statusMessage(), powerStageOnMessage);
    QCOMPARE(statusBarColour(rig), QColor(Qt::red));
}

void MotorControlsTest::rotateRightReversesWithoutStopping()
{
    ConnectedWindow rig;
    QVERIFY(openAt16Microsteps(rig));
    QVERIFY(startTurning(rig, Direction::Left, 10));

    auto *left = rig.widget<QPushButton>("rotateLeftButton");
    auto *right = rig.widget<QPushButton>("rotateRightButton");
    right->click();
    QVERIFY(left->isEnabled());
    QVERIFY(!left->isDown());
    QVERIFY(!right->isEnabled());
    QVERIFY(right->isDown());
    QCOMPARE(rig.widget<QLineEdit>("rpmLineEdit")->text(), QStringLiteral("18.75"));
    QCOMPARE(rig.widget<QPushButton>("stopButton")->text(), QStringLiteral("STOP"));

    QVERIFY(waitForSettledFrames(rig, 1));
    QCOMPARE(rig.distinctFrames(), QStringList({right1000HzFrame}));
    QCOMPARE(rig.module.pulseFrequency(), 1000);
}

void MotorControlsTest::stopWhileTurningLeavesThePowerStageOn()
{
    ConnectedWindow rig;
    QVERIFY(openAt16Microsteps(rig));
    QVERIFY(startTurning(rig, Direction::Left, 10));

    auto *stop = rig.widget<QPushButton>("stopButton");
    stop->click();
    QCOMPARE(stop->text(), QStringLiteral("Driver Off"));
    QCOMPARE(rig.widget<QLineEdit>("rpmLineEdit")->text(), QStringLiteral("0"));
    auto *left = rig.widget<QPushButton>("rotateLeftButton");
    QVERIFY(left->isEnabled());
    QVERIFY(!left->isDown());

    QVERIFY(waitForSettledFrames(rig, 1));
    QCOMPARE(rig.distinctFrames(), QStringList({stopFrame}));
    QCOMPARE(rig.module.pulseFrequency(), 0);
    QVERIFY(rig.module.powerStageOn());
}

void MotorControlsTest::stopButtonSwitchesThePowerStage()
{
    ConnectedWindow rig;
    // An earlier program left the module's pulse generator running: the
    // motor must not turn when the power stage goes on.
    rig.module.execute(int(Command::RunPulseGenerator), 0, 0, 1000);
    int pulsesAtPowerOn = -1;
    QObject::connect(&rig.module, &FakeModule::frameReceived, [&](const QByteArray &frame) {
        if (frameHexText(frame) == powerStageOnFrame)
            pulsesAtPowerOn = rig.module.pulseFrequency();
    });
    QVERIFY(openAt16Microsteps(rig));
    auto *stop = rig.widget<QPushButton>("stopButton");
    QCOMPARE(stop->text(), QStringLiteral("Driver On"));

    stop->click();
    QCOMPARE(stop->text(), QStringLiteral("Driver Off"));
    QVERIFY(waitUntil([&] { return rig.statusMessage() == powerStageOnMessage; }));
    QCOMPARE(statusBarColour(rig), QColor(Qt::red));
    QVERIFY(rig.module.powerStageOn());
    QCOMPARE(pulsesAtPowerOn, 0);
    QVERIFY(rig.waitUntilQuiet());

    stop->click();
    QCOMPARE(stop->text(), QStringLiteral("Driver On"));
    QVERIFY(waitUntil([&] { return rig.statusMessage() == powerStageOffMessage; }));
    QCOMPARE(statusBarColour(rig), QColor(Qt::green));
    QVERIFY(!rig.module.powerStageOn());
    QVERIFY(rig.waitUntilQuiet());
    QCOMPARE(rig.distinctFrames(), QStringList({stopFrame, powerStageOnFrame, powerStageOffFrame}));
}

// A new connection knows nothing of the module's pulse generator (it may be
// another module): the first motion action goes out, even one that asks for
// what was sent before.
void MotorControlsTest::sameRotationAfterReopeningIsSent()
{
    ConnectedWindow rig;
    QVERIFY(openAt16Microsteps(rig));
    QVERIFY(startTurning(rig, Direction::Right, 10));
    rig.widget<QPushButton>("closeButton")->click();
    QVERIFY(rig.open());
    rig.widget<QPushButton>("rotateRightButton")->click();
    QVERIFY(waitForSettledFrames(rig, 2));
    QCOMPARE(rig.distinctFrames(), QStringList({right1000HzFrame, powerStageOnFrame}));
}

void MotorControlsTest::pulseDialBackToTheSentValueSendsNothing()
{
    ConnectedWindow rig;
    QVERIFY(openAt16Microsteps(rig));
    QVERIFY(startTurning(rig, Direction::Right, 10));

    auto *dial = rig.widget<QDial>("pulseFrequencyDial");
    ConnectedWindow::drag(dial, 12);
    ConnectedWindow::drag(dial, 10);
    QCOMPARE(rig.widget<QLineEdit>("pulseFrequencyLineEdit")->text(), QStringLiteral("1.000kHz"));
    QVERIFY(rig.waitUntilQuiet());
    QCOMPARE(rig.frames(), QStringList());
    QCOMPARE(rig.module.pulseFrequency(), 1000);
}

void MotorControlsTest::frequencyUnitChangesOnlyTheText_data()
{
    QTest::addColumn<QStringList>("clicked");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("textOneNotchOn");
    QTest::addColumn<int>("frequencyOneNotchOn");
    QTest::addColumn<QString>("frameOneNotchOn");

    // Turning right at 1500 Hz, dialled with the 100 Hz step.
    QTest::newRow("Hz") << QStringList{"herzRadioButton"} << "1500Hz"
                        << "1501Hz" << 1501 << "01 01 00 00 00 00 05 DD E4";
    QTest::newRow("Hz, then x100Hz")
        << QStringList{"herzRadioButton", "x100HzRadioButton"} << "1.500kHz"
        << "1.600kHz" << 1600 << "01 01 00 00 00 00 06 40 48";
}

void MotorControlsTest::frequencyUnitChangesOnlyTheText()
{
    QFETCH(QStringList, clicked);
    QFETCH(QString, frameOneNotchOn);

    ConnectedWindow rig;
    QVERIFY(openAt16Microsteps(rig));
    QVERIFY(startTurning(rig, Direction::Right, 15));
    auto *rpm = rig.widget<QLineEdit>("rpmLineEdit");
    const QString speed = rpm->text();

    for (const QString &name : clicked)
        rig.widget<QRadioButton>(qPrintable(name))->click();
    auto *hertz = rig.widget<QRadioButton>("herzRadioButton");
    auto *hundreds = rig.widget<QRadioButton>("x100HzRadioButton");
    QCOMPARE(hertz->isChecked(), clicked.last() == hertz->objectName());
    QCOMPARE(hundreds->isChecked(), clicked.last() == hundreds->objectName());
    auto *frequencyText = rig.widget<QLineEdit>("pulseFrequencyLineEdit");
    QTEST(frequencyText->text(), "text");
    QCOMPARE(rpm->text(), speed);
    QVERIFY(rig.waitUntilQuiet());
    QCOMPARE(rig.frames(), QStringList());

    // The unit sets the dial's step; the module always gets Hz.
    ConnectedWindow::drag(rig.widget<QDial>("pulseFrequencyDial"), 16);
    QTEST(frequencyText->text(), "textOneNotchOn");
    QVERIFY(waitForSettledFrames(rig, 1));
    QCOMPARE(rig.distinctFrames(), QStringList({frameOneNotchOn}));
    QTEST(rig.module.pulseFrequency(), "frequencyOneNotchOn");
}

void MotorControlsTest::dialWhileStoppedSendsNothing()
{
    ConnectedWindow rig;
    QVERIFY(openAt16Microsteps(rig));
    QVERIFY(startTurning(rig, Direction::Right, 10));
    rig.widget<QPushButton>("stopButton")->click();
    QVERIFY(waitForSettledFrames(rig, 1));
    rig.module.clearReceivedFrames();

    ConnectedWindow::drag(rig.widget<QDial>("pulseFrequencyDial"), 20);
    QCOMPARE(rig.widget<QLineEdit>("pulseFrequencyLineEdit")->text(), QStringLiteral("2.000kHz"));
    QCOMPARE(rig.widget<QLineEdit>("rpmLineEdit")->text(), QStringLiteral("0"));
    QVERIFY(rig.waitUntilQuiet());
    QCOMPARE(rig.frames(), QStringList());
    QCOMPARE(rig.module.pulseFrequency(), 0);
}

void MotorControlsTest::speedWithoutFullStepsIsUnknown_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");

    QTest::newRow("full steps 0") << "motorFullStepsLineEdit"
                                  << "0";
    QTest::newRow("full steps cleared") << "motorFullStepsLineEdit" << QString();
    QTest::newRow("step angle 0") << "motorStepAngleLineEdit"
                                  << "0";
}

void MotorControlsTest::speedWithoutFullStepsIsUnknown()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);

    ConnectedWindow rig;
    QVERIFY(openAt16Microsteps(rig));
    QVERIFY(startTurning(rig, Direction::Left, 10));
    auto *edit = rig.widget<QLineEdit>(qPrintable(field));
    edit->selectAll();
    if (typed.isEmpty())
        QTest::keyClick(edit, Qt::Key_Backspace);
    else
        QTest::keyClicks(edit, typed);

    QCOMPARE(rig.widget<QLineEdit>("motorFullStepsLineEdit")->text().toInt(), 0);
    QCOMPARE(rig.widget<QLineEdit>("rpmLineEdit")->text(), QStringLiteral("---"));
}

void MotorControlsTest::factoryResetWritesAllSevenDefaults()
{
    ConnectedWindow rig;
    setMostlyOtherThanDefaults(rig.module);
    QVERIFY(rig.open());
    QVERIFY(rig.waitUntilQuiet());
    rig.module.clearReceivedFrames();
    QVERIFY(rig.widget<QGroupBox>("standbyCurrentGroupBox")->isChecked());

    MessageBoxAnswer seen;
    answerNextMessageBox(QMessageBox::Ok, &seen);
    triggerFactoryReset(rig);
    QVERIFY(seen.shown);
    QCOMPARE(seen.icon, QMessageBox::Warning);
    QCOMPARE(seen.title, QString());
    QCOMPARE(seen.text, QStringLiteral("Values will be Reset to Factory Default!"));
    QCOMPARE(seen.buttons, QMessageBox::Ok | QMessageBox::Cancel);

    // The defaults: full range, run and standby current 24 (dial 39, 1.123A),
    // no delay, 16 microsteps with the multiplier, no double edge.
    const QStringList defaults = {"39", "24", "0", "1.123A", "1.123A", "0ms",
                                  "1",  "0",  "0", "0",      "16"};
    QCOMPARE(shownSettings(rig), defaults);
    for (const char *name : {"delayLineEdit", "delayDial", "standbyCurrentLineEdit"})
        QVERIFY2(!rig.widget<QWidget>(name)->isEnabled(), name);

    QVERIFY(waitForSettledFrames(rig, 7));
    const QStringList written = {
        QStringLiteral("01 05 06 00 00 00 00 18 24"), // RunCurrent 24
        QStringLiteral("01 05 07 00 00 00 00 18 25"), // StandbyCurrent 24
        QStringLiteral("01 05 8C 00 00 00 00 04 96"), // MicroStepResolution 16
        QStringLiteral("01 05 A0 00 00 00 00 01 A7"), // MicroStepMultiplier TRUE
        QStringLiteral("01 05 A1 00 00 00 00 00 A7"), // MicroStepDoubleEdge FALSE
        QStringLiteral("01 05 B3 00 00 00 00 00 B9"), // HalfCurrentRange FALSE
        QStringLiteral("01 05 D6 00 00 00 00 00 DC"), // StandbyCurrentDelay 0
    };
    QCOMPARE(rig.distinctFrames(), written);
}

void MotorControlsTest::cancelledFactoryResetChangesNothing()
{
    ConnectedWindow rig;
    setMostlyOtherThanDefaults(rig.module);
    QVERIFY(rig.open());
    QVERIFY(rig.waitUntilQuiet());
    rig.module.clearReceivedFrames();
    const QStringList before = shownSettings(rig);

    MessageBoxAnswer seen;
    answerNextMessageBox(QMessageBox::Cancel, &seen);
    triggerFactoryReset(rig);
    QVERIFY(seen.shown);

    QCOMPARE(shownSettings(rig), before);
    QVERIFY(rig.waitUntilQuiet());
    QCOMPARE(rig.frames(), QStringList());
}

void MotorControlsTest::powerStageMessageStaysReadable_data()
{
    QTest::addColumn<QPalette>("theme");
    QTest::addColumn<bool>("powerStageOn");
    QTest::addColumn<MenuWay>("way");
    // The window's colour gives the text its colour: black on light, white on dark.
    const QPalette light(QColor(240, 240, 240), QColor(240, 240, 240));
    const QPalette dark(QColor(53, 53, 53), QColor(53, 53, 53));
    QTest::newRow("dark, off, Tools opened and closed by mouse")
        << dark << false << MenuWay::OpenedAndClosedByMouse;
    QTest::newRow("light, on, Tools items hovered by mouse")
        << light << true << MenuWay::ItemsHoveredByMouse;
    QTest::newRow("dark, on, Tools items walked by keys")
        << dark << true << MenuWay::ItemsWalkedByKeys;
}

// The power stage's message and colour stay until the program shows another
// message, and read on any theme; closing gives the theme its colours back.
void MotorControlsTest::powerStageMessageStaysReadable()
{
    QFETCH(QPalette, theme);
    QFETCH(bool, powerStageOn);
    QFETCH(MenuWay, way);

    const QPalette before = QApplication::palette();
    QApplication::setPalette(theme);
    const auto restore = qScopeGuard([&] { QApplication::setPalette(before); });
    ConnectedWindow rig;
    QVERIFY(openAt16Microsteps(rig));
    rig.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(rig.window.get()));
    const QString message = powerStageOn ? powerStageOnMessage : powerStageOffMessage;
    if (powerStageOn)
        rig.widget<QPushButton>("stopButton")->click();
    QVERIFY(waitUntil([&] { return rig.statusMessage() == message; }));

    QVERIFY(goThroughToolsMenu(rig, way));
    QCOMPARE(rig.statusMessage(), message);
    QStatusBar *statusBar = rig.window->statusBar();
    QVERIFY(statusBar->autoFillBackground());
    QCOMPARE(statusBarColour(rig), QColor(powerStageOn ? Qt::red : Qt::green));
    // In the roles the status bar paints its message with, active or not.
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        const QPalette shown = statusBar->palette();
        QVERIFY(contrastRatio(shown.color(group, QPalette::WindowText),
                              shown.color(group, statusBar->backgroundRole())) >= 4.5);
    }

    rig.widget<QPushButton>("closeButton")->click();
    QCOMPARE(rig.statusMessage(), QString());
    QVERIFY(!statusBar->autoFillBackground());
    QCOMPARE(statusBar->palette().color(QPalette::WindowText),
             QApplication::palette(statusBar).color(QPalette::WindowText));
}

QTEST_MAIN(MotorControlsTest)
#include "tst_motorcontrols.moc"
