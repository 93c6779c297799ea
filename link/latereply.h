// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Replies carry no sequence number, so they are paired with requests by time.
// A reply that has not come whole by the tick after its request may still be
// on its way; its bytes are its own. The link then sends nothing until they
// have come and been dropped, or until a bounded wait has passed, so that
// they are never taken as the next request's answer.
//
// A wait that ends by its bound leaves the link out of step: the reply given
// up on may still come, in the tick after any later frame. The next reply
// that comes whole is therefore not taken; the link holds off instead,
// dropping what comes, until replies even this late are over, and then asks
// again.
class LateReplyWait
{
public:
    // Ticks after a missing reply during which its late bytes are waited for;
    // the link may send again on the last of them.
    static constexpr int waitTicks = 5;
    // A request that goes unanswered is thus sent again this many ticks later.
    static constexpr int ticksPerUnansweredExchange = 1 + waitTicks;
    // Ticks of holding off: replies up to this many ticks late are never
    // misread.
    static constexpr int holdTicks = 25;
    // A request whose reply is not taken because the link was out of step.
    static constexpr int ticksPerDistrustedExchange = 1 + holdTicks;

    // After the tick that took `received` bytes for the reply to the frame
    // sent last. Returns whether they may be taken as its reply. More than a
    // frame means another reply's bytes came with it.
    bool afterReply(int received);

    bool waiting() const { return ticksLeft > 0; }

    // One tick while waiting, in which `arrived` bytes came and were dropped.
    // Returns whether the wait is over, so the link may send in this tick.
    bool tick(int arrived);

    // A frame went out during the wait or the hold, as a stop does: replies
    // cannot be paired by time again until one has been held off.
    void sentOutOfStep();

    void reset() { *this = LateReplyWait(); }

private:
    int owedBytes = 0;
    int ticksLeft = 0;
    bool holding = false;
    bool outOfStep = false;
};
