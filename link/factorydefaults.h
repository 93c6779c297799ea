// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "link/perparameter.h"

// The module's factory settings, which are also what the window shows at start-up.
inline ParameterValues factoryDefaults()
{
    ParameterValues defaults;
    for (const ParameterFacts &facts : parameterTable)
        defaults[facts.parameter] = facts.factoryDefault;
    return defaults;
}
