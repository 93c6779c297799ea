// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

class ConnectedWindow;

// What a user can do with the window's controls and its port.
enum class UserAction {
    DragRunCurrent,
    DragStandbyCurrent,
    DragDelay,
    DragPulseFrequency,
    ClickStandbyBox,
    ClickMultiplier,
    ClickDoubleEdge,
    ChooseMicrosteps,
    ClickHertz,
    ClickHundredHertz,
    ClickRotateLeft,
    ClickRotateRight,
    ClickStop,
    TypeFullSteps,
    TypeStepAngle,
    ResetToFactoryDefaults,
    OpenModulePort,
    OpenSimulator,
    ClosePort,
};

// Where a user's choices come from: a seeded random stream, a fuzz input.
class UserChoices
{
public:
    virtual ~UserChoices() = default;
    // A whole number from low to high, both included.
    virtual int between(int low, int high) = 0;
    // Yes about percent times in a hundred.
    virtual bool chance(int percent) = 0;
};

// Told what the user does and how the window took it; by default nobody listens.
class UserActionHooks
{
public:
    virtual ~UserActionHooks() = default;
    virtual void record(const QString &) {}
    // The window did not answer an action as it must.
    virtual void fail(const QString &) {}
    virtual void noteOpened(bool /*simulator*/) {}
    virtual void noteClosed() {}
};

// Performs actions as a user does: drags dials, clicks boxes and buttons,
// picks from lists, types, answers the reset question. Only what is enabled
// is touched, as with a mouse.
class UserActions
{
public:
    UserActions(ConnectedWindow &rig, UserChoices &choices, UserActionHooks &hooks);

    // False when the action is not possible now.
    bool perform(UserAction action);

private:
    bool dragDial(const char *name);
    bool clickButton(const char *name);
    bool clickStandbyBox();
    bool chooseMicrosteps();
    bool typeFullSteps();
    bool typeStepAngle();
    bool typeInto(const char *name, const QString &text);
    bool resetToFactoryDefaults();
    bool openModulePort();
    bool openSimulator();
    bool closePort();

    ConnectedWindow &rig;
    UserChoices &choices;
    UserActionHooks &hooks;
};
