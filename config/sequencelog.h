#pragma once

#include "link/parameters.h"

#include <QString>
#include <QStringList>

// Lines the Read, Verify and Program sequences log, in the window's
// configuration file dialog and on the command line alike.
inline constexpr char readingFromModuleLine[] = "Reading values from VELD-7316 ...";
inline constexpr char readingDoneLine[] = "Reading done.";
inline constexpr char verifyStartLine[] = "Verify values ...";
inline constexpr char verifyCompleteLine[] = "Verify complete.";
inline constexpr char programmingLine[] = "Programming values to VELD-7316 ...";
inline constexpr char valuesWrittenLine[] = "Values written to VELD-7316.";

// "RunCurrent verify OK!"
QString verifiedLine(DeviceParameter parameter);

// "ERROR: VELD-7316 did not confirm RunCurrent, StandbyCurrent!"
QString unconfirmedWritesLine(const QStringList &parameterNames);
