#include "tests/soak/framerules.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr int frameSize = 9;
constexpr int largestPulseFrequency = 50000;

bool isParameter(int number)
{
    return std::find(std::begin(parameterNumbers), std::end(parameterNumbers), number)
           != std::end(parameterNumbers);
}

int largestWritable(int number)
{
    switch (number) {
    case 6:
    case 7:
        return 31;
    case 140:
        return 6; // microstep code; 6 (4 microsteps) is writable, never read back
    case 214:
        return 255;
    default:
        return 1;
    }
}

bool allowedCommand(int command, int type, int bank, int value)
{
    switch (command) {
    case 1:
        return type == 0 && bank == 0 && qAbs(value) <= largestPulseFrequency;
    case 5:
        return isParameter(type) && bank == 0 && value >= 0 && value <= largestWritable(type);
    case 6:
        return isParameter(type) && bank == 0 && value == 0;
    case powerStageKey:
        return type == 2 && bank == 2 && (value == 0 || value == 1);
    default:
        return false;
    }
}

} // namespace

int frameByte(const QByteArray &frame, int index)
{
    return static_cast<quint8>(frame.at(index));
}

int frameValue(const QByteArray &frame)
{
    quint32 value = 0;
    for (int index = 4; index <= 7; ++index)
        value = (value << 8) | quint32(frameByte(frame, index));
    return static_cast<qint32>(value);
}

QString frameProblem(const QByteArray &frame)
{
    if (frame.size() != frameSize)
        return QStringLiteral("length %1").arg(frame.size());
    if (frameByte(frame, 0) != 1)
        return QStringLiteral("address %1").arg(frameByte(frame, 0));
    int sum = 0;
    for (int index = 0; index < frameSize - 1; ++index)
        sum += frameByte(frame, index);
    if (sum % 256 != frameByte(frame, frameSize - 1))
        return QStringLiteral("checksum");
    if (!allowedCommand(frameByte(frame, 1), frameByte(frame, 2), frameByte(frame, 3),
                        frameValue(frame)))
        return QStringLiteral("not a request the programmer sends");
    return QString();
}

bool hasRejectableReading(int number)
{
    return number != 214;
}
