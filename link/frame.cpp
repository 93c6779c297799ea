// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/frame.h"

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

int wireValue(DeviceParameter parameter, int value)
{
    switch (parameterKind(parameter)) {
    case ParameterKind::Resolution:
        return microstepCode(value);
    case ParameterKind::Boolean:
        return value != 0 ? 1 : 0;
    case ParameterKind::Current:
    case ParameterKind::Delay:
        break;
    }
    return value;
}

int valueFromWire(DeviceParameter parameter, int wire)
{
    if (parameterKind(parameter) != ParameterKind::Resolution)
        return wire;
    // Write-only codes included: this is what was sent.
    for (const MicrostepCode &entry : microstepCodes) {
        if (entry.code == wire)
            return entry.microsteps;
    }
    return -1;
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
