#include "tests/soak/useractions.h"

#include "tests/soak/configfilescript.h"
#include "tests/soak/soakrandom.h"
#include "tests/soak/soakwitness.h"
#include "tests/support/connectedwindow.h"
#include "tests/support/modaldialogs.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <iterator>

namespace {

// Among actions that are not possible now, another one is picked; a few
// tries find one, a disconnected window at least offers to open.
constexpr int pickTries = 12;
// A connected user closes the port now and then; in the Simulator sooner.
constexpr int closeWhileConnectedPercent = 25;

} // namespace

const UserActions::WeightedAction UserActions::actions[] = {
    {10, &UserActions::dragRunCurrent, false},
    {6, &UserActions::dragStandbyCurrent, false},
    {6, &UserActions::dragDelay, false},
    {5, &UserActions::dragPulseFrequency, false},
    {4, &UserActions::clickStandbyBox, false},
    {5, &UserActions::clickMultiplier, false},
    {5, &UserActions::clickDoubleEdge, false},
    {6, &UserActions::chooseMicrosteps, false},
    {2, &UserActions::clickHertz, false},
    {2, &UserActions::clickHundredHertz, false},
    {3, &UserActions::clickRotateLeft, false},
    {3, &UserActions::clickRotateRight, false},
    {4, &UserActions::clickStop, false},
    {2, &UserActions::typeFullSteps, false},
    {2, &UserActions::typeStepAngle, false},
    {2, &UserActions::resetToFactoryDefaults, false},
    {3, &UserActions::workWithConfigurationFile, false},
    {3, &UserActions::closePort, true},
    {6, &UserActions::openPort, true},
    {2, &UserActions::openSimulator, true},
    {4, &UserActions::waitAWhile, false},
};

UserActions::UserActions(ConnectedWindow &rig, SoakWitness &witness, SoakRandom &random,
                         ConfigFileScript &fileScript, std::function<void(int)> pause)
    : rig(rig)
    , witness(witness)
    , random(random)
    , fileScript(fileScript)
    , pause(std::move(pause))
{
}

void UserActions::performOne(bool portActionsAllowed)
{
    int totalWeight = 0;
    for (const WeightedAction &candidate : actions)
        totalWeight += candidate.weight;
    for (int attempt = 0; attempt < pickTries; ++attempt) {
        int pick = random.between(1, totalWeight);
        const WeightedAction *chosen = std::begin(actions);
        while (pick > chosen->weight)
            pick -= (chosen++)->weight;
        if (chosen->touchesPort && !portActionsAllowed)
            continue;
        if ((this->*chosen->action)())
            return;
    }
}

void UserActions::openModulePort()
{
    if (rig.widget<QPushButton>("openButton")->isEnabled())
        openPort();
}

void UserActions::close()
{
    auto *button = rig.widget<QPushButton>("closeButton");
    if (!button->isEnabled())
        return;
    button->click();
    witness.noteClosed();
}

bool UserActions::dragDial(const char *name)
{
    auto *dial = rig.widget<QDial>(name);
    if (!dial->isEnabled())
        return false;
    const int target = random.between(dial->minimum(), dial->maximum());
    const int from = dial->sliderPosition();
    const int steps = random.between(1, 3);
    witness.record(
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
    witness.record(QStringLiteral("click %1").arg(QLatin1String(name)));
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
    witness.record(QStringLiteral("toggle standbyCurrentGroupBox (was %1)").arg(wasChecked));
    QTest::keyClick(box, Qt::Key_Space);
    if (box->isChecked() == wasChecked)
        witness.fail(QStringLiteral("the standby box did not toggle"));
    else if (wasChecked)
        witness.noteStandbyUnchecked();
    return true;
}

bool UserActions::chooseMicrosteps()
{
    auto *list = rig.widget<QComboBox>("microstepComboBox");
    if (!list->isEnabled())
        return false;
    const int index = random.between(0, list->count() - 1);
    witness.record(QStringLiteral("choose microsteps %1").arg(list->itemText(index)));
    list->setCurrentIndex(index);
    return true;
}

bool UserActions::typeFullSteps()
{
    const QString text = random.chance(10) ? QString() : QString::number(random.between(0, 1000));
    return typeInto("motorFullStepsLineEdit", text);
}

bool UserActions::typeStepAngle()
{
    const QString text =
        QStringLiteral("%1.%2").arg(random.between(0, 90)).arg(random.between(0, 99));
    return typeInto("motorStepAngleLineEdit", text);
}

bool UserActions::typeInto(const char *name, const QString &text)
{
    auto *field = rig.widget<QLineEdit>(name);
    if (!field->isEnabled())
        return false;
    witness.record(QStringLiteral("type \"%1\" into %2").arg(text, QLatin1String(name)));
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
    const bool confirm = random.chance(60);
    witness.record(confirm ? QStringLiteral("reset, confirmed")
                           : QStringLiteral("reset, cancelled"));
    MessageBoxAnswer seen;
    answerNextMessageBox(confirm ? QMessageBox::Ok : QMessageBox::Cancel, &seen);
    action->trigger();
    if (!seen.shown)
        witness.fail(QStringLiteral("the reset asked no question"));
    return true;
}

bool UserActions::workWithConfigurationFile()
{
    return fileScript.run();
}

bool UserActions::closePort()
{
    if (!rig.widget<QPushButton>("closeButton")->isEnabled())
        return false;
    if (witness.linkOpen() && !random.chance(closeWhileConnectedPercent))
        return false;
    close();
    return true;
}

bool UserActions::openPort()
{
    auto *button = rig.widget<QPushButton>("openButton");
    if (!button->isEnabled() || !rig.selectModulePort())
        return false;
    button->click();
    witness.noteOpened(false);
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
    witness.noteOpened(true);
    return true;
}

bool UserActions::waitAWhile()
{
    const int ms = random.between(100, 800);
    witness.record(QStringLiteral("wait %1 ms").arg(ms));
    pause(ms);
    return true;
}
