// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "link/parametertable.h"

#include <QString>

// The parameters' texts, from their rows in the parameter table.

QString parameterName(DeviceParameter parameter);

// "TRUE" or "FALSE", as the module's booleans are shown and stored.
QString booleanText(bool value);

// A value as shown: "24", "TRUE".
QString parameterValueText(DeviceParameter parameter, int value);

// How a value is reported: "RunCurrent = 24", "MicroStepMultiplier = TRUE".
QString parameterReport(DeviceParameter parameter, int value);
