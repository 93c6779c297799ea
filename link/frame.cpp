#include "link/frame.h"

namespace {

constexpr std::array<int, 7> microstepsByCode = {256, 128, 64, 32, 16, 8, 4};
constexpr int highestReadableCode = 5;

} // namespace

Frame encodeFrame(int command, int type, int motor, qint32 value)
{
    const auto bits = static_cast<quint32>(value);
    Frame frame = {1,
                   static_cast<quint8>(command),
                   static_cast<quint8>(type),
                   static_cast<quint8>(motor),
                   static_cast<quint8>(bits >> 24),
                   static_cast<quint8>(bits >> 16),
                   static_cast<quint8>(bits >> 8),
                   static_cast<quint8>(bits),
                   0};
    frame[8] = frameChecksum(frame);
    return frame;
}

quint8 frameChecksum(const Frame &frame)
{
    unsigned sum = 0;
    for (int i = 0; i < frameLength - 1; ++i)
        sum += frame[i];
    return static_cast<quint8>(sum);
}

QString frameHex(const Frame &frame)
{
    const QByteArray bytes(reinterpret_cast<const char *>(frame.data()), frameLength);
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

int microstepCode(int microsteps)
{
    for (int code = 0; code < int(microstepsByCode.size()); ++code) {
        if (microstepsByCode[code] == microsteps)
            return code;
    }
    return -1;
}

int microstepsFromCode(int code)
{
    if (code < 0 || code > highestReadableCode)
        return -1;
    return microstepsByCode[code];
}

int wireValue(DeviceParameter parameter, int value)
{
    if (parameter == DeviceParameter::MicroStepResolution)
        return microstepCode(value);
    if (isBooleanParameter(parameter))
        return value != 0 ? 1 : 0;
    return value;
}

int valueFromWire(DeviceParameter parameter, int wire)
{
    if (parameter == DeviceParameter::MicroStepResolution)
        return wire >= 0 && wire < int(microstepsByCode.size()) ? microstepsByCode[wire] : -1;
    return wire;
}

Reply decodeReply(const QByteArray &bytes)
{
    Reply reply;
    // More than a frame means bytes of another reply came with it.
    reply.complete = bytes.size() == frameLength;
    if (reply.complete) {
        reply.status = static_cast<quint8>(bytes.at(2));
        reply.value = static_cast<quint8>(bytes.at(7));
    }
    return reply;
}
