// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/soak/soakactions.h"

#include "tests/soak/configfilescript.h"
#include "tests/soak/soakrandom.h"
#include "tests/soak/soakwitness.h"
#include "tests/support/connectedwindow.h"

#include <QPushButton>

#include <iterator>

namespace {

// Among actions that are not possible now, another one is picked; a few
// tries find one, a disconnected window at least offers to open.
constexpr int pickTries = 12;
// A connected user closes the port now and then; in the Simulator sooner, and
// while the motor turns at once, so that a new connection meets a turning motor.
constexpr int closeWhileConnectedPercent = 25;

} // namespace

const SoakActions::WeightedAction SoakActions::actions[] = {
    {10, &SoakActions::perform<UserAction::DragRunCurrent>, false},
    {6, &SoakActions::perform<UserAction::DragStandbyCurrent>, false},
    {6, &SoakActions::perform<UserAction::DragDelay>, false},
    {5, &SoakActions::perform<UserAction::DragPulseFrequency>, false},
    {4, &SoakActions::perform<UserAction::ClickStandbyBox>, false},
    {5, &SoakActions::perform<UserAction::ClickMultiplier>, false},
    {5, &SoakActions::perform<UserAction::ClickDoubleEdge>, false},
    {6, &SoakActions::perform<UserAction::ChooseMicrosteps>, false},
    {2, &SoakActions::perform<UserAction::ClickHertz>, false},
    {2, &SoakActions::perform<UserAction::ClickHundredHertz>, false},
    {3, &SoakActions::perform<UserAction::ClickRotateLeft>, false},
    {3, &SoakActions::perform<UserAction::ClickRotateRight>, false},
    {4, &SoakActions::perform<UserAction::ClickStop>, false},
    {2, &SoakActions::perform<UserAction::TypeFullSteps>, false},
    {2, &SoakActions::perform<UserAction::TypeStepAngle>, false},
    {2, &SoakActions::perform<UserAction::ResetToFactoryDefaults>, false},
    {3, &SoakActions::workWithConfigurationFile, false},
    {3, &SoakActions::closePort, true},
    {6, &SoakActions::perform<UserAction::OpenModulePort>, true},
    {2, &SoakActions::perform<UserAction::OpenSimulator>, true},
    {4, &SoakActions::waitAWhile, false},
};

SoakActions::SoakActions(ConnectedWindow &rig, SoakWitness &witness, SoakRandom &random,
                         ConfigFileScript &fileScript, std::function<void(int)> pause)
    : rig(rig)
    , witness(witness)
    , random(random)
    , fileScript(fileScript)
    , pause(std::move(pause))
    , controls(rig, random, witness)
{
}

void SoakActions::performOne(bool portActionsAllowed)
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

bool SoakActions::workWithConfigurationFile()
{
    return fileScript.run();
}

bool SoakActions::closePort()
{
    if (!rig.widget<QPushButton>("closeButton")->isEnabled())
        return false;
    const bool turning = rig.widget<QPushButton>("stopButton")->text() == QLatin1String("STOP");
    if (witness.linkOpen() && !turning && !random.chance(closeWhileConnectedPercent))
        return false;
    if (!controls.perform(UserAction::ClosePort))
        return false;
    if (turning && random.chance(50)) {
        rig.module.execute(CommandRunPulseGenerator, 0, 0, 0);
        witness.record(QStringLiteral("another module behind the port, its motor standing"));
    }
    return true;
}

bool SoakActions::waitAWhile()
{
    const int ms = random.between(100, 800);
    witness.record(QStringLiteral("wait %1 ms").arg(ms));
    pause(ms);
    return true;
}
