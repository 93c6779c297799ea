// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/support/useractions.h"

#include "tests/support/connectedwindow.h"
#include "tests/support/modaldialogs.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

// A little past the field's limit of 1000, so that a keystroke it refuses is
// tried too.
constexpr int typedFullStepsMaximum = 1020;
constexpr int emptyFullStepsPercent = 10;
constexpr int confirmResetPercent = 60;

} // namespace

UserActions::UserActions(ConnectedWindow &rig, UserChoices &choices, UserActionHooks &hooks)
    : rig(rig)
    , choices(choices)
    , hooks(hooks)
{
}

bool UserActions::perform(UserAction action)
{
    switch (action) {
    case UserAction::DragRunCurrent:
        return dragDial("runCurrentDial");
    case UserAction::DragStandbyCurrent:
        return dragDial("standbyCurrentDial");
    case UserAction::DragDelay:
        return dragDial("delayDial");
    case UserAction::DragPulseFrequency:
        return dragDial("pulseFrequencyDial");
    case UserAction::ClickStandbyBox:
        return clickStandbyBox();
    case UserAction::ClickMultiplier:
        return clickButton("x16CheckBox");
    case UserAction::ClickDoubleEdge:
        return clickButton("doubleEdgeCheckBox");
    case UserAction::ChooseMicrosteps:
        return chooseMicrosteps();
    case UserAction::ClickHertz:
        return clickButton("herzRadioButton");
    case UserAction::ClickHundredHertz:
        return clickButton("x100HzRadioButton");
    case UserAction::ClickRotateLeft:
        return clickButton("rotateLeftButton");
    case UserAction::ClickRotateRight:
        return clickButton("rotateRightButton");
    case UserAction::ClickStop:
        return clickButton("stopButton");
    case UserAction::TypeFullSteps:
        return typeFullSteps();
    case UserAction::TypeStepAngle:
        return typeStepAngle();
    case UserAction::ResetToFactoryDefaults:
        return resetToFactoryDefaults();
    case UserAction::OpenModulePort:
        return openModulePort();
    case UserAction::OpenSimulator:
        return openSimulator();
    case UserAction::ClosePort:
        return closePort();
    }
    return false;
}

// Pressed, turned through a few positions on the way, released.
bool UserActions::dragDial(const char *name)
{
    auto *dial = rig.widget<QDial>(name);
    if (!dial->isEnabled())
        return false;
    const int target = choices.between(dial->minimum(), dial->maximum());
    const int from = dial->sliderPosition();
    const int steps = choices.between(1, 3);
    hooks.record(
        QStringLiteral("drag %1 from %2 to %3").arg(QLatin1String(name)).arg(from).arg(target));
    dial->setSliderDown(true);
    for (int step = 1; step <= steps; ++step)
        dial->setSliderPosition(from + (target - from) * step / steps);
    dial->setSliderDown(false);
    return true;
}

bool UserActions::clickButton(const char *name)
{
    auto *button = rig.widget<QAbstractButton>(name);
    if (!button->isEnabled())
        return false;
    hooks.record(QStringLiteral("click %1").arg(QLatin1String(name)));
    button->click();
    return true;
}

// The box's check is toggled with the space bar, as its title is clicked.
bool UserActions::clickStandbyBox()
{
    auto *box = rig.widget<QGroupBox>("standbyCurrentGroupBox");
    if (!box->isEnabled())
        return false;
    const bool wasChecked = box->isChecked();
    hooks.record(QStringLiteral("toggle standbyCurrentGroupBox (was %1)").arg(wasChecked));
    QTest::keyClick(box, Qt::Key_Space);
    if (box->isChecked() == wasChecked)
        hooks.fail(QStringLiteral("the standby box did not toggle"));
    return true;
}

bool UserActions::chooseMicrosteps()
{
    auto *list = rig.widget<QComboBox>("microstepComboBox");
    if (!list->isEnabled())
        return false;
    const int index = choices.between(0, list->count() - 1);
    hooks.record(QStringLiteral("choose microsteps %1").arg(list->itemText(index)));
    list->setCurrentIndex(index);
    return true;
}

bool UserActions::typeFullSteps()
{
    const QString text = choices.chance(emptyFullStepsPercent)
                             ? QString()
                             : QString::number(choices.between(0, typedFullStepsMaximum));
    return typeInto("motorFullStepsLineEdit", text);
}

bool UserActions::typeStepAngle()
{
    const QString text =
        QStringLiteral("%1.%2").arg(choices.between(0, 90)).arg(choices.between(0, 99));
    return typeInto("motorStepAngleLineEdit", text);
}

// Typed key by key: the validator and the other field's rewrites act as they
// do on a user's typing.
bool UserActions::typeInto(const char *name, const QString &text)
{
    auto *field = rig.widget<QLineEdit>(name);
    if (!field->isEnabled())
        return false;
    hooks.record(QStringLiteral("type \"%1\" into %2").arg(text, QLatin1String(name)));
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
    return true;
}

bool UserActions::resetToFactoryDefaults()
{
    auto *action = rig.widget<QAction>("actionReset_to_Factory_Defaults");
    if (!action->isEnabled())
        return false;
    const bool confirm = choices.chance(confirmResetPercent);
    hooks.record(confirm ? QStringLiteral("reset, confirmed") : QStringLiteral("reset, cancelled"));
    MessageBoxAnswer seen;
    answerNextMessageBox(confirm ? QMessageBox::Ok : QMessageBox::Cancel, &seen);
    action->trigger();
    if (!seen.shown)
        hooks.fail(QStringLiteral("the reset asked no question"));
    return true;
}

bool UserActions::openModulePort()
{
    auto *button = rig.widget<QPushButton>("openButton");
    if (!button->isEnabled() || !rig.selectModulePort())
        return false;
    button->click();
    hooks.noteOpened(false);
    return true;
}

bool UserActions::openSimulator()
{
    auto *button = rig.widget<QPushButton>("openButton");
    if (!button->isEnabled())
        return false;
    auto *ports = rig.widget<QComboBox>("serialPortComboBox");
    ports->setCurrentIndex(ports->findText(QStringLiteral("Simulator")));
    button->click();
    hooks.noteOpened(true);
    return true;
}

bool UserActions::closePort()
{
    auto *button = rig.widget<QPushButton>("closeButton");
    if (!button->isEnabled())
        return false;
    button->click();
    hooks.noteClosed();
    return true;
}
