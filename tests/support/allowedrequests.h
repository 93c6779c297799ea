// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

// The request frames the programmer may put on the line, written down here
// independently of its own frame code so that the two check each other.
// Returns why the frame is not one of them, or an empty text when it is.
QString requestFrameFault(const QByteArray &frame);

// Whether the frame switches the module's power stage, and whether it
// switches it off.
bool isPowerStageRequest(const QByteArray &frame);
bool isPowerStageOffRequest(const QByteArray &frame);
