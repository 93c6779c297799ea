#pragma once

#include <QByteArray>
#include <QString>

// What the programmer may send to the module, written down apart from the
// programmer's own frame code so the soak checks it independently.

// Key of the power stage switch beside the parameter numbers: its command.
constexpr int powerStageKey = 14;

// The seven parameter numbers.
constexpr int parameterNumbers[] = {6, 7, 140, 160, 161, 179, 214};

// Why the frame is not one the programmer may send; empty when it is.
QString frameProblem(const QByteArray &frame);

int frameByte(const QByteArray &frame, int index);
int frameValue(const QByteArray &frame);

// Whether a get reply for the parameter can carry a value the reader rejects
// (every byte is a valid StandbyCurrentDelay).
bool hasRejectableReading(int number);
