// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "tests/support/settledcomparison.h"

#include <QByteArray>

// How the soak reads the module's frames and names its values; the keys of
// the power stage switch and the pulse generator come with the settled
// comparison. Whether a frame is one the programmer may send at all is
// tests/support/allowedrequests.h.

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
