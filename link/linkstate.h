// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "link/perparameter.h"
#include "link/requesttable.h"

#include <optional>

// The request table as plain values, with what the module is known to hold:
// what the exchange cycle and reply handling decide on. The window gathers
// one from its members; the command line keeps its state in one.
struct LinkState
{
    PerParameter<RequestState> requests;
    ParameterValues values;
    // What the module holds as far as it told: read from it or confirmed by
    // it since the port opened. Empty where that is not known.
    PerParameter<std::optional<int>> held;
    bool powerStageOff = true;
    RequestState powerStageRequest = RequestState::None;
    // The pulse generator: a frame is due while the two differ. Empty while
    // unknown: after a frame the module did not confirm, and, for both, on a
    // new connection until the first motion action.
    std::optional<int> pulseWanted = 0;
    std::optional<int> pulseSent = 0;
    // The value of the pulse generator frame sent last, confirmed or not;
    // empty: none since the port opened.
    std::optional<int> lastPulseFrame;
    // The status bar says the module did not confirm the pulse generator.
    bool pulseErrorShown = false;
};

// Whether any of the seven parameters has this request pending.
bool anyRequest(const LinkState &link, RequestState request);

// The names of the parameters whose values are not the module's (read from it
// or confirmed by it, and not changed since), in read order.
QStringList parametersNotFromModule(const LinkState &link);

// A stop asked for while the motor may turn, and not sent since: it goes out
// before anything else, also while the link waits for late bytes.
bool stopUnsent(const LinkState &link);

// Whether the module is known to run what is wanted of its pulse generator.
bool pulseConfirmed(const LinkState &link);

// What the module is known to hold, where no write is about to change it.
PerParameter<std::optional<int>> knownModuleValues(const LinkState &link);

// What opening a port asks of the link, in the window and on the command line
// alike: all seven parameters read, then the power stage switched off. Nothing
// is known of the module yet, its pulse generator included.
void startConnection(LinkState &link);
