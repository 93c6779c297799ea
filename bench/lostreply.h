// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "tools/emulator/fakemodule.h"

#include <QByteArray>

// The module leaves its reply to the first copy of the request unsent, then
// answers as before: one lost reply.
void loseFirstReplyTo(FakeModule &module, const QByteArray &request);

// Runs the event loop for the time, or until the module has been quiet for
// quietMs, whichever is asked.
void runEventsFor(int milliseconds);
bool waitUntilModuleQuiet(const FakeModule &module, int quietMs, int timeoutMs);
