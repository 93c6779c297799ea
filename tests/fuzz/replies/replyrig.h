// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "tests/fuzz/replies/scriptedmodule.h"
#include "tests/support/connectedwindow.h"

// The window and the module stand-in of a fuzz run, both in this process. The
// window's own timer is stopped: the ticks come from here, one after the
// other, so no reply is ever raced by a tick and nothing waits 20 ms.
class ReplyRig
{
public:
    // Needs the application object.
    ReplyRig();

    MainWindow &window() const { return *rig.window; }
    ConnectedWindow &connectedWindow() { return rig; }
    template <typename Widget> Widget *widget(const char *objectName) const
    {
        return rig.widget<Widget>(objectName);
    }

    // Brings the window back to its start values (factory settings, motor at
    // rest) with a module that confirms everything, then opens the port anew:
    // each session starts alike, with the opening's seven reads and its
    // power-stage switch still to be sent.
    void startSession();

    // Lets the window send its next request and has the stand-in answer it.
    // Returns whether a request went out.
    bool sendRequest(ScriptedModule::Answer answer);
    // Lets the window apply the answer to the request it sent.
    void applyReply();

    bool powerStageOffConfirmed() const { return script.powerStageOffConfirmed(); }

private:
    void tick();
    void reopenPort();
    void stopExchangeTimer();
    void releaseRotateButton();
    void restPulseGenerator();
    void restMotorFields();
    void settleWithFactoryModule();

    ConnectedWindow rig;
    ScriptedModule script;
};
