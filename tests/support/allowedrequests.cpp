// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/support/allowedrequests.h"

#include <QtGlobal>

namespace {

constexpr int frameSize = 9;
constexpr int moduleAddress = 1;
constexpr int runPulseGenerator = 1;
constexpr int setParameter = 5;
constexpr int getParameter = 6;
constexpr int switchPowerStage = 14;
constexpr int powerStageType = 2;
constexpr int powerStageBank = 2;
constexpr int highestPulseFrequency = 50000;

struct ParameterRange
{
    int number;
    int lowest;
    int highest;
};

// Wire values: currents in register steps, the resolution as its code,
// booleans as 0 and 1, the delay in steps of 100 ms.
constexpr ParameterRange parameterRanges[] = {
    {6, 0, 31}, {7, 0, 31}, {140, 0, 6}, {160, 0, 1}, {161, 0, 1}, {179, 0, 1}, {214, 0, 255},
};

int byteAt(const QByteArray &frame, int index)
{
    return quint8(frame.at(index));
}

qint32 valueOf(const QByteArray &frame)
{
    quint32 value = 0;
    for (int i = 4; i <= 7; ++i)
        value = (value << 8) | quint32(byteAt(frame, i));
    return qint32(value);
}

const ParameterRange *rangeOf(int number)
{
    for (const ParameterRange &range : parameterRanges) {
        if (range.number == number)
            return &range;
    }
    return nullptr;
}

QString parameterFault(int type, int bank, qint32 value, bool isWrite)
{
    const ParameterRange *range = rangeOf(type);
    if (!range)
        return QStringLiteral("unknown parameter %1").arg(type);
    if (bank != 0)
        return QStringLiteral("motor or bank %1").arg(bank);
    if (!isWrite)
        return value == 0 ? QString() : QStringLiteral("read with value %1").arg(value);
    if (value < range->lowest || value > range->highest)
        return QStringLiteral("value %1 for parameter %2").arg(value).arg(type);
    return QString();
}

} // namespace

QString requestFrameFault(const QByteArray &frame)
{
    if (frame.size() != frameSize)
        return QStringLiteral("length %1").arg(frame.size());
    if (byteAt(frame, 0) != moduleAddress)
        return QStringLiteral("address %1").arg(byteAt(frame, 0));
    int sum = 0;
    for (int i = 0; i < frameSize - 1; ++i)
        sum += byteAt(frame, i);
    if (sum % 256 != byteAt(frame, frameSize - 1))
        return QStringLiteral("checksum");

    const int command = byteAt(frame, 1);
    const int type = byteAt(frame, 2);
    const int bank = byteAt(frame, 3);
    const qint32 value = valueOf(frame);
    switch (command) {
    case getParameter:
    case setParameter:
        return parameterFault(type, bank, value, command == setParameter);
    case switchPowerStage:
        if (type != powerStageType || bank != powerStageBank || (value != 0 && value != 1))
            return QStringLiteral("power stage frame");
        return QString();
    case runPulseGenerator:
        if (type != 0 || bank != 0 || value < -highestPulseFrequency ||
            value > highestPulseFrequency)
            return QStringLiteral("pulse generator frame");
        return QString();
    default:
        return QStringLiteral("command %1").arg(command);
    }
}

bool isPowerStageRequest(const QByteArray &frame)
{
    return frame.size() == frameSize && byteAt(frame, 1) == switchPowerStage;
}

bool isPowerStageOffRequest(const QByteArray &frame)
{
    return isPowerStageRequest(frame) && valueOf(frame) == 1;
}
