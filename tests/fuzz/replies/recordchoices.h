// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "tests/support/useractions.h"

// The choices of one fuzz record's user action. The record's one number, a
// byte, answers the first question for a number; later questions get the
// least answer and a yes-or-no question the likelier one, so that an action
// never needs more of the input than one byte.
class RecordChoices : public UserChoices
{
public:
    void take(int byte)
    {
        number = byte;
        unanswered = true;
    }

    int between(int low, int high) override
    {
        if (!unanswered)
            return low;
        unanswered = false;
        const int count = high - low + 1;
        // A range wider than a byte's values is spread over them evenly.
        if (count > byteValues)
            return low + number * (high - low) / (byteValues - 1);
        return low + number % count;
    }

    bool chance(int percent) override { return percent >= 50; }

private:
    static constexpr int byteValues = 256;
    int number = 0;
    bool unanswered = false;
};
