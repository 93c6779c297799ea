// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>

// Waits that keep the event loop turning. QTest::qWait sleeps between passes,
// long enough for an in-process module to miss a 20 ms tick; these do not.

// Processes events until the condition holds or the deadline passes.
// Returns whether the condition held.
bool waitUntil(const std::function<bool()> &condition, int timeoutMs = 5000);

// Processes events for the given time.
void processEventsFor(int milliseconds);
