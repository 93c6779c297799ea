// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "link/parameters.h"

#include <array>

// One slot per device parameter, reached by the parameter itself.
template <typename T> class PerParameter
{
public:
    T &operator[](DeviceParameter parameter) { return entries[parameterIndex(parameter)]; }
    const T &operator[](DeviceParameter parameter) const
    {
        return entries[parameterIndex(parameter)];
    }

private:
    std::array<T, parameterTable.size()> entries{};
};

// Values as ints: booleans as 0 and 1, the resolution in microsteps per full step.
using ParameterValues = PerParameter<int>;
