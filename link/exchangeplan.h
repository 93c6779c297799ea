// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "link/frame.h"
#include "link/linkstate.h"

#include <optional>

// The exchange cycle's pace: one frame is sent on a tick, its reply read on
// the next.
constexpr int exchangeIntervalMs = 20;
constexpr int ticksPerExchange = 2;

// The fields of one request frame.
struct OutgoingFrame
{
    Command command = Command::GetParameter;
    int type = 0;
    int motor = 0;
    int value = 0;
};

// What one tick that may send does. The hooks run before the frame is sent;
// neither changes what is sent.
struct TickPlan
{
    std::optional<OutgoingFrame> frame;
    // No read is left: a Read sequence can write its file.
    bool readsComplete = false;
    // No read or write is left among the seven parameters: a Program is done.
    bool writesComplete = false;
};

// A stop not sent yet first; then reads in read order, the power stage,
// writes in write order, and the pulse generator while its wanted value is
// unconfirmed. The power stage goes on only once the pulse generator is
// confirmed: until then its frame takes the switch's place. A resolution
// without a code holds up the writes after it, and the pulse generator, until
// it is changed.
TickPlan planTick(const LinkState &link);
