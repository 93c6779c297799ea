// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "cli/output.h"

#include <functional>

// Reads or writes FILE, logging each step; returns whether that succeeded.
using FileStep = std::function<bool(const StepLog &log)>;

enum class FileStepEnd { Succeeded, Failed, Interrupted };

// Runs the step on a thread of its own while this thread watches for Ctrl-C:
// opening or reading a FIFO or a named pipe can block for good, and Qt
// retries such a call when a signal interrupts it. The step's lines are
// logged here, in order. On an interruption the step is left where it
// blocks, so it must own all it uses, and main must end through
// leaveBlockedFileSteps.
FileStepEnd runFileStep(FileStep step, const StepLog &log);

// The status for main to return. While a file step is left blocked, ends the
// process with it at once instead: that thread can be neither stopped nor
// waited for, and an ordinary ending would destroy what it may still use.
int leaveBlockedFileSteps(int status);
