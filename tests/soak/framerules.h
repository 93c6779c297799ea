#pragma once

#include <QByteArray>

// How the soak reads the module's frames and names its values. Whether a
// frame is one the programmer may send at all is tests/support/allowedrequests.h.

// Keys of the power stage switch and the pulse generator beside the
// parameter numbers: their commands.
constexpr int powerStageKey = 14;
constexpr int pulseGeneratorKey = 1;

// The seven parameter numbers.
constexpr int parameterNumbers[] = {6, 7, 140, 160, 161, 179, 214};

inline int frameByte(const QByteArray &frame, int index)
{
    return static_cast<quint8>(frame.at(index));
}

// Whether a get reply for the parameter can carry a value the reader rejects
// (every byte is a valid StandbyCurrentDelay).
inline bool hasRejectableReading(int number)
{
    return number != 214;
}
