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

// Reads first in read order, then the power stage, then writes in write
// order, then the pulse generator while its wanted value is unconfirmed. A
// resolution without a code holds up the writes after it, and the pulse
// generator, until it is changed.
TickPlan planTick(const LinkState &link);
