// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "link/linkstate.h"

#include <optional>

// The settings panel's rules on plain values: what a user's change to a
// current or microstep control asks of the seven parameters. The window
// hands in what it holds, stores and writes what comes back, and shows it.

// The values to store and write to the module. A parameter without one
// keeps its value and its request.
using SettingsWrites = PerParameter<std::optional<int>>;

// The run current dial turned to a position. The dial sets the range too,
// and without a standby current of its own the standby current follows.
SettingsWrites turnRunCurrentDial(const LinkState &link, int position, bool ownStandbyCurrent);

// A value set on its own control: written when it changed.
SettingsWrites chooseValue(const LinkState &link, DeviceParameter parameter, int value);

// The standby box unchecked: the module stands by at the run current at
// once, without delay.
SettingsWrites shareRunCurrent(const LinkState &link);

// A resolution chosen; the multiplier works only at its own resolution.
SettingsWrites chooseResolution(const LinkState &link, int microsteps);

// The multiplier box clicked. Switched on, it takes its resolution and ends
// double edge: the two exclude each other.
SettingsWrites clickMultiplier(const LinkState &link, bool checked);

// The double-edge box clicked. Switched on, it ends the multiplier.
SettingsWrites clickDoubleEdge(const LinkState &link, bool checked);
