#pragma once

#include "link/parameters.h"

#include <array>
#include <cstddef>

// One slot per device parameter, reached by the parameter itself.
template <typename T> class PerParameter
{
public:
    T &operator[](DeviceParameter parameter) { return entries[indexOf(parameter)]; }
    const T &operator[](DeviceParameter parameter) const { return entries[indexOf(parameter)]; }

private:
    static std::size_t indexOf(DeviceParameter parameter)
    {
        std::size_t index = 0;
        while (allDeviceParameters[index] != parameter)
            ++index;
        return index;
    }

    std::array<T, allDeviceParameters.size()> entries{};
};

// Values as ints: booleans as 0 and 1, the resolution in microsteps per full step.
using ParameterValues = PerParameter<int>;
