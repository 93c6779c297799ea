// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringList>

#include <functional>

class ConnectedWindow;

// Keys of the power stage switch and the pulse generator beside the
// parameter numbers: their commands.
constexpr int powerStageKey = 14;
constexpr int pulseGeneratorKey = 1;

// Differences between what the window shows for the seven settings and the
// power stage switch, and what the module holds. The module's wire values
// are turned into what the window would have to show for them. A value
// (parameter number, powerStageKey or pulseGeneratorKey) for which excused()
// holds is left out.
QStringList settledDifferences(const ConnectedWindow &rig, const std::function<bool(int)> &excused);
