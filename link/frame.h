// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "link/parameters.h"

#include <QByteArray>
#include <QtGlobal>

#include <array>

// Requests and replies are both 9 bytes long.
constexpr int frameLength = 9;
using Frame = std::array<quint8, frameLength>;

enum class Command {
    RunPulseGenerator = 1,
    SetParameter = 5,
    GetParameter = 6,
    SwitchPowerStage = 14,
};

// Type and motor-or-bank bytes of the power-stage switch; its value is 1 for off.
constexpr int powerStageType = 2;
constexpr int powerStageBank = 2;

constexpr int replySuccessStatus = 100;

// Builds a request: address 1, the low bytes of command, type and motor,
// the value most significant byte first, and the checksum.
Frame encodeFrame(int command, int type, int motor, qint32 value);

// Sum of bytes 0 to 7, modulo 256.
quint8 frameChecksum(const Frame &frame);

// "01 06 B3 00 00 00 00 00 BA"
QString frameHex(const Frame &frame);

// The value a set-parameter frame carries for a program value; -1 when the
// value cannot be sent (a resolution without a code).
int wireValue(DeviceParameter parameter, int value);

// The program value that a set-parameter frame's wire value stands for.
int valueFromWire(DeviceParameter parameter, int wire);

// What the program takes from a reply: byte 2 and byte 7, and only from
// exactly one frame.
struct Reply
{
    bool complete = false;
    int status = 0;
    int value = 0;

    bool succeeded() const { return complete && status == replySuccessStatus; }
};

Reply decodeReply(const QByteArray &bytes);
