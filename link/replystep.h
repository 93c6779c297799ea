// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "link/exchangeplan.h"
#include "link/frame.h"
#include "link/linkstate.h"

#include <QString>

#include <optional>

// What the module's reply to the frame sent last means, for the window and
// the command line alike: the link's new state, and what to tell the user.

extern const char noCommunicationMessage[];
extern const char pulseGeneratorUnconfirmedMessage[];

enum class StatusColour { Green, Red };

// A status bar line on its colour.
struct StatusReport
{
    QString message;
    StatusColour colour = StatusColour::Red;
};

// What a front end shows of one reply: the window renders it into its
// controls, the command line prints it.
struct ReplyEffects
{
    // A value the module sent was stored: its controls show it.
    std::optional<DeviceParameter> shownValue;
    // The module sent a value the program cannot hold: the line that names
    // it, "RunCurrent = invalid". The window says it only where it reports.
    QString rejectedValue;
    // Its text reads "invalid" and its dial goes to 0.
    std::optional<DeviceParameter> shownInvalid;
    // The standby box follows the two currents: checked exactly when they differ.
    bool standbyBoxFollows = false;
    // A write the module did not confirm during a Program, which names such
    // writes once, when it ends.
    std::optional<DeviceParameter> unconfirmedWrite;
    // For the status bar, or the file dialog's log during a file sequence;
    // empty: nothing to say.
    QString report;
    // For the status bar, whatever the file dialog is doing.
    std::optional<StatusReport> status;
};

struct ReplyStep
{
    LinkState link;
    ReplyEffects effects;
};

// Applies the reply to the frame sent. A request the reply ends goes back to
// None; one the module did not answer stays pending or is read back; a
// request made while the frame was in flight stands.
ReplyStep replyStep(const LinkState &link, const OutgoingFrame &sent, const Reply &reply,
                    bool programUnderWay);
