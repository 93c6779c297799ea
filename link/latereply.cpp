// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/latereply.h"

#include "link/frame.h"

bool LateReplyWait::afterReply(int received)
{
    holding = received == frameLength && outOfStep;
    if (holding) {
        outOfStep = false;
        ticksLeft = holdTicks;
        return false;
    }
    owedBytes = received < frameLength ? frameLength - received : 0;
    ticksLeft = received == frameLength ? 0 : waitTicks;
    return received == frameLength;
}

bool LateReplyWait::tick(int arrived)
{
    if (!waiting())
        return true;
    --ticksLeft;
    if (holding)
        return !waiting();
    owedBytes -= arrived;
    // The rest of the reply has come, or, after more bytes than it owed, the
    // line has fallen quiet.
    const bool replyOver = (owedBytes == 0 && arrived > 0) || (owedBytes <= 0 && arrived == 0);
    if (replyOver)
        ticksLeft = 0;
    else if (!waiting())
        outOfStep = true;
    return !waiting();
}

void LateReplyWait::sentOutOfStep()
{
    *this = LateReplyWait();
    outOfStep = true;
}
