// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "link/requesttable.h"

// One device parameter as the window holds it. Its value and request live in
// the link's state, which the entry refers to; T is the value's kind.
template <typename T> struct ParameterEntry
{
    int &value;            // as shown; after a user change, the value to be written
    T fileValue{};         // as last taken from a configuration file
    RequestState &request; // what the exchange cycle still has to do
};
