// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "tests/support/useractions.h"

#include <functional>

class ConfigFileScript;
class ConnectedWindow;
class SoakRandom;
class SoakWitness;

// The soak's user: picks what to do at random, weighted, among the window's
// controls, the configuration file dialog, closing and opening the port or
// the Simulator, and waiting.
class SoakActions
{
public:
    SoakActions(ConnectedWindow &rig, SoakWitness &witness, SoakRandom &random,
                ConfigFileScript &fileScript, std::function<void(int)> pause);

    // One action chosen at random among those possible now. Closing and
    // opening only when port actions are allowed.
    void performOne(bool portActionsAllowed);

    // Opens the module's port if the window is disconnected.
    void openModulePort() { controls.perform(UserAction::OpenModulePort); }
    void close() { controls.perform(UserAction::ClosePort); }

private:
    using Action = bool (SoakActions::*)();
    struct WeightedAction
    {
        int weight;
        Action action;
        bool touchesPort;
    };

    template <UserAction action> bool perform() { return controls.perform(action); }
    bool workWithConfigurationFile();
    bool closePort();
    bool waitAWhile();

    static const WeightedAction actions[];

    ConnectedWindow &rig;
    SoakWitness &witness;
    SoakRandom &random;
    ConfigFileScript &fileScript;
    std::function<void(int)> pause;
    UserActions controls;
};
