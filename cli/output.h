// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <functional>

// Receives the lines for people, one per step.
using StepLog = std::function<void(const QString &)>;

// One line on standard error.
void printStep(const QString &line);

// Text on standard output, for scripts; a line end is added.
void printResult(const QString &text);
