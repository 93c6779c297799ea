#pragma once

// Replies carry no sequence number, so they are paired with requests by time.
// A reply that has not come whole by the tick after its request may still be
// on its way; its bytes are its own. The link then sends nothing until they
// have come and been dropped, or until a bounded wait has passed, so that
// they are never taken as the next request's answer.
class LateReplyWait
{
public:
    // Ticks after a missing reply during which its late bytes are waited for;
    // the link may send again on the last of them.
    static constexpr int waitTicks = 5;
    // A request that goes unanswered is thus sent again this many ticks later.
    static constexpr int ticksPerUnansweredExchange = 1 + waitTicks;

    // After the tick that took `received` bytes as the reply to the frame
    // sent last. More than a frame means another reply's bytes came with it.
    void afterReply(int received);

    bool waiting() const { return ticksLeft > 0; }

    // One tick while waiting, in which `arrived` bytes came and were dropped.
    // Returns whether the wait is over, so the link may send in this tick.
    bool tick(int arrived);

    void reset() { ticksLeft = 0; }

private:
    int owedBytes = 0;
    int ticksLeft = 0;
};
