// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "link/perparameter.h"

#include <optional>

enum class Verification { Verified, Differs, NotKnown };

// Verify's verdict on each file value against what the module is known to
// hold; the window and the command line only word it.
PerParameter<Verification> verifyValues(const ParameterValues &fileValues,
                                        const PerParameter<std::optional<int>> &moduleValues);
