// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "link/parameters.h"

#include <QString>
#include <QtGlobal>

#include <functional>
#include <optional>

class QIODevice;

// A configuration file holds seven short lines; anything far larger is not
// one, and reading it whole would only flood the log or exhaust memory.
constexpr qint64 maximumConfigurationFileSize = 64 * 1024;
constexpr int maximumConfigurationLineLength = 1024; // bytes, line end included

// What one line of a configuration file says.
struct ConfigurationLine
{
    enum class Kind { Value, Invalid, Unknown };

    Kind kind = Kind::Unknown;
    std::optional<DeviceParameter> parameter; // for Value and Invalid
    int value = 0;                            // for Value: bools as 0 and 1
    QString logLine;
};

// Parses one line as read from the file, its line feed included when it has one.
ConfigurationLine parseConfigurationLine(const QString &line);

// Reads the device line by line from its current position, logging every
// step and storing each accepted value. Stops at the first line that cannot
// be accepted; returns whether the end of the device was reached.
bool readConfiguration(QIODevice &device, const std::function<void(const QString &)> &log,
                       const std::function<void(DeviceParameter, int)> &store);
