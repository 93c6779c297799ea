// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/displayformat.h"

#include "link/parametertable.h"

#include <QtGlobal>

#include <cmath>

namespace {

constexpr double halfRangeScale = 0.165;
constexpr double fullRangeScale = 0.305;
// The half range takes the first positions, one per register value.
constexpr int halfRangeTopPosition = highestValue(DeviceParameter::RunCurrent);
constexpr int fullRangePositionOffset = 15;
constexpr int maximumPulseFrequency = 50000;

} // namespace

const char unknownMotorSpeed[] = "---";

QString formatCurrent(int value, bool halfCurrentRange)
{
    const double scale = halfCurrentRange ? halfRangeScale : fullRangeScale;
    // The divisor is the module's own rounded square root of two.
    const double amperes = (value + 1) * scale / 4.8 / 1.414213;
    if (amperes < 1)
        return QString::number(amperes * 1000, 'f', 0) + QStringLiteral("mA");
    return QString::number(amperes, 'f', 3) + QStringLiteral("A");
}

QString formatDelay(int value)
{
    if (value <= 9)
        return QString::number(value * 100.0, 'f', 0) + QStringLiteral("ms");
    return QString::number(value / 10.0, 'f', 1) + QStringLiteral("s");
}

int runCurrentDialPosition(int runCurrent, bool halfCurrentRange)
{
    return halfCurrentRange ? runCurrent : runCurrent + fullRangePositionOffset;
}

bool isHalfRangeDialPosition(int position)
{
    return position <= halfRangeTopPosition;
}

int runCurrentFromDialPosition(int position)
{
    return isHalfRangeDialPosition(position) ? position : position - fullRangePositionOffset;
}

QString formatFrequency(int frequency, bool inHertz)
{
    if (inHertz)
        return QString::number(frequency, 'f', 0) + QStringLiteral("Hz");
    return QString::number(frequency / 1000.0, 'f', 3) + QStringLiteral("kHz");
}

int pulseDialNotches(int fromPosition, int toPosition)
{
    int notches = toPosition - fromPosition;
    if (notches > pulseDialPositions / 2)
        notches -= pulseDialPositions;
    else if (notches < -pulseDialPositions / 2)
        notches += pulseDialPositions;
    return notches;
}

int clampPulseFrequency(int frequency)
{
    return qBound(0, frequency, maximumPulseFrequency);
}

QString formatMotorSpeed(int frequency, int microsteps, double fullSteps, bool turningLeft)
{
    const double stepsPerRotation = microsteps * fullSteps;
    if (!(stepsPerRotation > 0) || !std::isfinite(stepsPerRotation))
        return QString::fromLatin1(unknownMotorSpeed);
    const double speed = frequency * 60.0 / stepsPerRotation;
    const int decimals = speed > 50 ? 1 : (speed > 1 ? 2 : 3);
    // A motor turning left at 0 Hz is shown as 0, not as minus zero.
    const bool negative = turningLeft && speed > 0;
    return QString::number(negative ? -speed : speed, 'f', decimals);
}
