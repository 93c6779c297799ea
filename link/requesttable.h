#pragma once

// What the exchange cycle still has to do for one entry of the request table.
enum class RequestState {
    None = 0,
    Read = 1,
    Write = 2,
};

// One device parameter as the window holds it.
template <typename T> struct ParameterEntry
{
    T value{};     // as shown; after a user change, the value to be written
    T fileValue{}; // as last taken from a configuration file
    RequestState request = RequestState::None;
};
