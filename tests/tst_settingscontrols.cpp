// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/support/connectedwindow.h"
#include "tests/support/eventwait.h"
#include "tests/support/settledcomparison.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QStyleOptionGroupBox>
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

const QString powerStageOffFrame = QStringLiteral("01 0E 02 02 00 00 00 01 14");

// The ways a person works a control. A drag presses a dial at its top and
// lets go at its right; a click hits a dial at its left. Keys are pressed as
// named ("PgUp", "Space"); typing replaces a field's text, or searches a list.
enum class Way { Drag, Click, WheelUp, WheelDown, Keys, Type };

// A checkable group box toggles where its check box is drawn.
QPoint checkBoxOf(const QGroupBox *box)
{
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.subControls = QStyle::SC_GroupBoxCheckBox | QStyle::SC_GroupBoxLabel;
    return box->style()
        ->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxCheckBox, box)
        .center();
}

void work(QWidget *control, Way way, const QString &keys)
{
    const QRect area = control->rect();
    const QPoint top(area.center().x(), area.top() + 5);
    const QPoint right(area.right() - 5, area.center().y());
    const QPoint left(area.left() + 5, area.center().y());
    switch (way) {
    case Way::Drag: {
        QTest::mousePress(control, Qt::LeftButton, Qt::NoModifier, top);
        QMouseEvent move(QEvent::MouseMove, QPointF(right), QPointF(control->mapToGlobal(right)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(control, &move);
        QTest::mouseRelease(control, Qt::LeftButton, Qt::NoModifier, right);
        return;
    }
    case Way::Click: {
        const auto *box = qobject_cast<QGroupBox *>(control);
        const bool dial = qobject_cast<QDial *>(control);
        QTest::mouseClick(control, Qt::LeftButton, Qt::NoModifier,
                          box ? checkBoxOf(box) : (dial ? left : area.center()));
        return;
    }
    case Way::WheelUp:
    case Way::WheelDown: {
        // One notch.
        const QPoint notch(0, way == Way::WheelUp ? 120 : -120);
        QWheelEvent wheel(QPointF(area.center()), QPointF(control->mapToGlobal(area.center())),
                          QPoint(), notch, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(control, &wheel);
        return;
    }
    case Way::Keys:
        QTest::keySequence(control, QKeySequence(keys));
        return;
    case Way::Type:
        if (qobject_cast<QLineEdit *>(control))
            QTest::keySequence(control, QKeySequence::SelectAll);
        QTest::keyClicks(control, keys);
        return;
    }
}

// What a control shows: a text, a list's item, a box's check.
QString shown(const QWidget *control)
{
    if (const auto *field = qobject_cast<const QLineEdit *>(control))
        return field->text();
    if (const auto *list = qobject_cast<const QComboBox *>(control))
        return list->currentText();
    if (const auto *button = qobject_cast<const QPushButton *>(control))
        return button->text();
    const auto *box = qobject_cast<const QGroupBox *>(control);
    const auto *check = qobject_cast<const QAbstractButton *>(control);
    const bool checked = box ? box->isChecked() : check && check->isChecked();
    return checked ? QStringLiteral("checked") : QStringLiteral("unchecked");
}

// The motor turning right at 1000 Hz, with the 100 Hz step.
bool startTurningRight(ConnectedWindow &rig)
{
    ConnectedWindow::drag(rig.widget<QDial>("pulseFrequencyDial"), 10);
    rig.widget<QPushButton>("rotateRightButton")->click();
    return waitUntil([&] { return rig.module.pulseFrequency() == 1000; }) && rig.waitUntilQuiet();
}

} // namespace

Q_DECLARE_METATYPE(Way)

// The current and microstep controls driven as a user drives them, judged by
// what the module receives and what the window shows.
class SettingsControlsTest : public QObject
{
    Q_OBJECT

private slots:
    void uncheckingTheStandbyBoxWritesTheShownValues();
    void runDialOntoTheCachedValueRewritesOnlyTheText();
    void resolutionReplyOtherThan16WritesTheMultiplierOff();
    void workedAnyWayTheModuleHoldsWhatIsShown_data();
    void workedAnyWayTheModuleHoldsWhatIsShown();
};

void SettingsControlsTest::uncheckingTheStandbyBoxWritesTheShownValues()
{
    ConnectedWindow rig;
    QVERIFY(openWith(rig, {{179, 0}, {6, 24}, {7, 10}, {214, 15}}));
    auto *box = rig.widget<QGroupBox>("standbyCurrentGroupBox");
    QVERIFY(box->isChecked());

    work(box, Way::Keys, QStringLiteral("Space"));
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

void SettingsControlsTest::runDialOntoTheCachedValueRewritesOnlyTheText()
{
    ConnectedWindow rig;
    // The run current reads as invalid, its dial at 0; the window keeps 24
    // in the full range.
    QVERIFY(openWith(rig, {{179, 0}, {6, 40}, {7, 10}, {214, 15}}));
    auto *runText = rig.widget<QLineEdit>("runCurrentLineEdit");
    QCOMPARE(runText->text(), QStringLiteral("invalid"));

    ConnectedWindow::drag(rig.widget<QDial>("runCurrentDial"), 39);
    QCOMPARE(runText->text(), QStringLiteral("1.123A"));
    QVERIFY(rig.waitUntilQuiet());
    QCOMPARE(rig.frames(), QStringList());
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

void SettingsControlsTest::workedAnyWayTheModuleHoldsWhatIsShown_data()
{
    QTest::addColumn<Registers>("registers");
    QTest::addColumn<bool>("turning");
    QTest::addColumn<QString>("control");
    QTest::addColumn<Way>("way");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("shows");

    // Full range, run current 24 (dial at 39), standby 10 of its own, delay
    // 1.5 s, 16 microsteps with the multiplier: every control usable.
    const Registers own = {{179, 0}, {6, 24}, {7, 10}, {214, 15}, {140, 4}, {160, 1}, {161, 0}};
    Registers shared = own;
    shared[7] = 24;
    const Registers halfTop = {{179, 1}, {6, 31}, {7, 24}, {214, 0}};
    const Registers halfTopShared = {{179, 1}, {6, 31}, {7, 31}, {214, 0}};
    const Registers doubleEdgeAt64 = {{140, 2}, {160, 0}, {161, 1}};
    const auto row = [&](const char *name, const Registers &registers, bool turning,
                         const char *control, Way way, const char *field, const char *shows,
                         const char *keys = "") {
        QTest::newRow(name) << registers << turning << control << way << keys << field << shows;
    };
    // A wheel notch turns a dial by three steps, a page by ten. The motor
    // turns at 1000 Hz with the 100 Hz step, dial at 10.
    row("run current dragged", own, false, "runCurrentDial", Way::Drag, "runCurrentLineEdit",
        "1.033A");
    row("run current clicked into the half range", own, false, "runCurrentDial", Way::Click,
        "runCurrentLineEdit", "243mA");
    row("run current arrow key into the full range, standby text rescaled", halfTop, false,
        "runCurrentDial", Way::Keys, "standbyCurrentLineEdit", "1.123A", "Up");
    row("run current page key into the half range", own, false, "runCurrentDial", Way::Keys,
        "runCurrentLineEdit", "729mA", "PgDown");
    row("run current wheel down, standby following", shared, false, "runCurrentDial",
        Way::WheelDown, "standbyCurrentLineEdit", "988mA");
    row("run current End from the half range top writes the range", halfTopShared, false,
        "runCurrentDial", Way::Keys, "runCurrentLineEdit", "1.438A", "End");
    row("standby current arrow key", own, false, "standbyCurrentDial", Way::Keys,
        "standbyCurrentLineEdit", "449mA", "Down");
    row("standby current clicked", own, false, "standbyCurrentDial", Way::Click,
        "standbyCurrentLineEdit", "315mA");
    row("delay dragged", own, false, "delayDial", Way::Drag, "delayLineEdit", "20.3s");
    row("delay page key", own, false, "delayDial", Way::Keys, "delayLineEdit", "2.5s", "PgUp");
    row("delay wheel down", own, false, "delayDial", Way::WheelDown, "delayLineEdit", "1.2s");
    row("delay Home", own, false, "delayDial", Way::Keys, "delayLineEdit", "0ms", "Home");
    row("pulse frequency dragged", own, true, "pulseFrequencyDial", Way::Drag,
        "pulseFrequencyLineEdit", "7.400kHz");
    row("pulse frequency clicked", own, true, "pulseFrequencyDial", Way::Click,
        "pulseFrequencyLineEdit", "2.500kHz");
    row("pulse frequency wheel up", own, true, "pulseFrequencyDial", Way::WheelUp, "rpmLineEdit",
        "24.38");
    row("pulse frequency arrow key", own, true, "pulseFrequencyDial", Way::Keys,
        "pulseFrequencyLineEdit", "1.100kHz", "Up");
    row("pulse frequency page key", own, true, "pulseFrequencyDial", Way::Keys,
        "pulseFrequencyLineEdit", "0.000kHz", "PgDown");
    row("pulse frequency while stopped", own, false, "pulseFrequencyDial", Way::Keys,
        "pulseFrequencyLineEdit", "0.100kHz", "Up");
    row("multiplier clicked at 64 with double edge", doubleEdgeAt64, false, "x16CheckBox",
        Way::Click, "microstepComboBox", "16");
    row("double edge by space", own, false, "doubleEdgeCheckBox", Way::Keys, "x16CheckBox",
        "unchecked", "Space");
    row("microsteps arrow key", own, false, "microstepComboBox", Way::Keys, "x16CheckBox",
        "unchecked", "Down");
    row("microsteps typed", own, false, "microstepComboBox", Way::Type, "microstepComboBox", "64",
        "64");
    row("standby box clicked", own, false, "standbyCurrentGroupBox", Way::Click,
        "standbyCurrentLineEdit", "1.123A");
    row("standby box by space", own, false, "standbyCurrentGroupBox", Way::Keys, "delayLineEdit",
        "0", "Space");
    row("Hz clicked", own, true, "herzRadioButton", Way::Click, "pulseFrequencyLineEdit", "1000Hz");
    row("full steps typed", own, true, "motorFullStepsLineEdit", Way::Type, "rpmLineEdit", "12.50",
        "300");
    row("reversed by space", own, true, "rotateLeftButton", Way::Keys, "rpmLineEdit", "-18.75",
        "Space");
    row("stopped by a click", own, true, "stopButton", Way::Click, "stopButton", "Driver Off");
    row("power stage on by space", own, false, "stopButton", Way::Keys, "stopButton", "Driver Off",
        "Space");
}

// However a control is worked, the window ends up showing what the module
// holds, and the status bar says what the power stage is.
void SettingsControlsTest::workedAnyWayTheModuleHoldsWhatIsShown()
{
    QFETCH(Registers, registers);
    QFETCH(bool, turning);
    QFETCH(QString, control);
    QFETCH(Way, way);
    QFETCH(QString, keys);
    QFETCH(QString, field);
    QFETCH(QString, shows);

    ConnectedWindow rig;
    QVERIFY(openWith(rig, registers));
    QVERIFY(!turning || startTurningRight(rig));
    auto *worked = rig.widget<QWidget>(qPrintable(control));
    QVERIFY(worked->isEnabled());
    work(worked, way, keys);
    QCOMPARE(shown(rig.widget<QWidget>(qPrintable(field))), shows);

    const auto nothingExcused = [](int) {
        return false;
    };
    waitUntil([&] { return settledDifferences(rig, nothingExcused).isEmpty(); });
    QVERIFY(rig.waitUntilQuiet());
    QCOMPARE(settledDifferences(rig, nothingExcused), QStringList());
    QCOMPARE(shown(rig.widget<QWidget>(qPrintable(field))), shows);
    QCOMPARE(rig.statusMessage(),
             QLatin1String(rig.module.powerStageOn()
                               ? "Power stage on. Don not plug / unplug motor!"
                               : "Power stage is off. You can now plug or unplug the motor."));
}

QTEST_MAIN(SettingsControlsTest)
#include "tst_settingscontrols.moc"
