#include "tests/fuzz/replies/useractions.h"

#include "tests/fuzz/replies/replyrig.h"
#include "tests/support/modaldialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDial>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

// Any byte is a position within the dial's range.
void drag(QDial *dial, int argument)
{
    if (!dial->isEnabled())
        return;
    const int positions = dial->maximum() - dial->minimum() + 1;
    ConnectedWindow::drag(dial, dial->minimum() + argument % positions);
}

void select(QComboBox *list, int argument)
{
    if (list->isEnabled())
        list->setCurrentIndex(argument % list->count());
}

// Typed key by key: the validator and the other field's rewrites act as they
// do on a user's typing.
void retype(QLineEdit *edit, const QString &text)
{
    if (!edit->isEnabled())
        return;
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

void toggle(QGroupBox *box)
{
    if (box->isEnabled())
        QTest::keyClick(box, Qt::Key_Space);
}

void confirm(QAction *action)
{
    if (!action->isEnabled())
        return;
    answerNextMessageBox(QMessageBox::Ok);
    action->trigger();
}

} // namespace

bool takesArgument(UserAction action)
{
    return action >= UserAction::DragRunCurrent && action <= UserAction::TypeFullSteps;
}

void apply(const ReplyRig &rig, UserAction action, int argument)
{
    switch (action) {
    case UserAction::None:
    case UserAction::Count:
        return;
    case UserAction::DragRunCurrent:
        return drag(rig.widget<QDial>("runCurrentDial"), argument);
    case UserAction::DragStandbyCurrent:
        return drag(rig.widget<QDial>("standbyCurrentDial"), argument);
    case UserAction::DragDelay:
        return drag(rig.widget<QDial>("delayDial"), argument);
    case UserAction::DragPulseFrequency:
        return drag(rig.widget<QDial>("pulseFrequencyDial"), argument);
    case UserAction::SelectResolution:
        return select(rig.widget<QComboBox>("microstepComboBox"), argument);
    case UserAction::TypeFullSteps:
        return retype(rig.widget<QLineEdit>("motorFullStepsLineEdit"),
                      QString::number(argument * 4));
    case UserAction::ClickStandbyBox:
        return toggle(rig.widget<QGroupBox>("standbyCurrentGroupBox"));
    case UserAction::ClickMultiplier:
        return rig.widget<QCheckBox>("x16CheckBox")->click();
    case UserAction::ClickDoubleEdge:
        return rig.widget<QCheckBox>("doubleEdgeCheckBox")->click();
    case UserAction::ClickHertz:
        return rig.widget<QRadioButton>("herzRadioButton")->click();
    case UserAction::ClickHundredHertz:
        return rig.widget<QRadioButton>("x100HzRadioButton")->click();
    case UserAction::RotateLeft:
        return rig.widget<QPushButton>("rotateLeftButton")->click();
    case UserAction::RotateRight:
        return rig.widget<QPushButton>("rotateRightButton")->click();
    case UserAction::Stop:
        return rig.widget<QPushButton>("stopButton")->click();
    case UserAction::ConfirmFactoryReset:
        return confirm(rig.widget<QAction>("actionReset_to_Factory_Defaults"));
    }
}
