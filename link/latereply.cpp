#include "link/latereply.h"

#include "link/frame.h"

void LateReplyWait::afterReply(int received)
{
    owedBytes = received < frameLength ? frameLength - received : 0;
    ticksLeft = received == frameLength ? 0 : waitTicks;
}

bool LateReplyWait::tick(int arrived)
{
    if (!waiting())
        return true;
    owedBytes -= arrived;
    --ticksLeft;
    // The rest of the reply has come, or, after more bytes than it owed, the
    // line has fallen quiet.
    const bool replyOver = (owedBytes == 0 && arrived > 0) || (owedBytes <= 0 && arrived == 0);
    if (replyOver)
        ticksLeft = 0;
    return !waiting();
}
