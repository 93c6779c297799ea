#pragma once

// What the exchange cycle still has to do for one entry of the request table.
enum class RequestState {
    None = 0,
    Read = 1,
    Write = 2,
};

// One device parameter as the window holds it. Its value and request live in
// the link's state, which the entry refers to; T is the value's kind.
template <typename T> struct ParameterEntry
{
    int &value;            // as shown; after a user change, the value to be written
    T fileValue{};         // as last taken from a configuration file
    RequestState &request; // what the exchange cycle still has to do
};

// Stores a value and queues it for writing.
template <typename T> void writeValue(ParameterEntry<T> &entry, T value)
{
    entry.value = value;
    entry.request = RequestState::Write;
}

// Stores a value and queues it for writing, but only when it changed.
template <typename T> void changeValue(ParameterEntry<T> &entry, T value)
{
    if (entry.value != value)
        writeValue(entry, value);
}
