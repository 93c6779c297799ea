#pragma once

#include <QString>

#include <functional>

class ConfigFileScript;
class ConnectedWindow;
class SoakRandom;
class SoakWitness;

// What a user does with the window: drags dials, clicks boxes and buttons,
// picks from the list, types motor data, answers the reset question, works
// in the configuration file dialog, closes and opens the port or the
// Simulator. Only what is enabled is touched, as with a mouse.
class UserActions
{
public:
    UserActions(ConnectedWindow &rig, SoakWitness &witness, SoakRandom &random,
                ConfigFileScript &fileScript, std::function<void(int)> pause);

    // One action chosen at random among those possible now. Closing and
    // opening only when port actions are allowed.
    void performOne(bool portActionsAllowed);

    // Opens the module's port if the window is disconnected.
    void openModulePort();
    void close();

private:
    using Action = bool (UserActions::*)();
    struct WeightedAction
    {
        int weight;
        Action action;
        bool touchesPort;
    };

    bool dragRunCurrent() { return dragDial("runCurrentDial"); }
    bool dragStandbyCurrent() { return dragDial("standbyCurrentDial"); }
    bool dragDelay() { return dragDial("delayDial"); }
    bool dragPulseFrequency() { return dragDial("pulseFrequencyDial"); }
    bool clickMultiplier() { return clickButton("x16CheckBox"); }
    bool clickDoubleEdge() { return clickButton("doubleEdgeCheckBox"); }
    bool clickHertz() { return clickButton("herzRadioButton"); }
    bool clickHundredHertz() { return clickButton("x100HzRadioButton"); }
    bool clickRotateLeft() { return clickButton("rotateLeftButton"); }
    bool clickRotateRight() { return clickButton("rotateRightButton"); }
    bool clickStop() { return clickButton("stopButton"); }
    bool clickStandbyBox();
    bool chooseMicrosteps();
    bool typeFullSteps();
    bool typeStepAngle();
    bool resetToFactoryDefaults();
    bool workWithConfigurationFile();
    bool closePort();
    bool openPort();
    bool openSimulator();
    bool waitAWhile();

    bool dragDial(const char *name);
    bool clickButton(const char *name);
    bool typeInto(const char *name, const QString &text);

    static const WeightedAction actions[];

    ConnectedWindow &rig;
    SoakWitness &witness;
    SoakRandom &random;
    ConfigFileScript &fileScript;
    std::function<void(int)> pause;
};
