// SPDX-License-Identifier: GPL-3.0-or-later

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
inline constexpr char fileNotWrittenLine[] = "File not written.";

// "RunCurrent verify OK!"
QString verifiedLine(DeviceParameter parameter);

// "RunCurrent not verified: value in VELD-7316 unknown!", for a value that
// was neither read from the module nor confirmed by it.
QString notVerifiedLine(DeviceParameter parameter);

// "ERROR: VELD-7316 did not confirm RunCurrent, StandbyCurrent!"
QString unconfirmedWritesLine(const QStringList &parameterNames);

// "ERROR: VELD-7316 sent no valid value for RunCurrent!"
QString noValidValueLine(const QStringList &parameterNames);
