#pragma once

#include "link/requesttable.h"

// One device parameter as the window holds it.
template <typename T> struct ParameterEntry
{
    T value{};     // as shown; after a user change, the value to be written
    T fileValue{}; // as last taken from a configuration file
    RequestState request = RequestState::None;
};
