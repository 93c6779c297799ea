#pragma once

#include <QByteArray>
#include <QString>

// The request frames the programmer may put on the line, written down here
// independently of its own frame code so that the two check each other.
// Returns why the frame is not one of them, or an empty text when it is.
QString requestFrameFault(const QByteArray &frame);

// Whether the frame asks the module to switch its power stage off.
bool isPowerStageOffRequest(const QByteArray &frame);
bool isPowerStageRequest(const QByteArray &frame);
