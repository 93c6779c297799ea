// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "link/parameters.h"

#include <functional>

class QString;

using LogLine = std::function<void(const QString &)>;

// What reading does with a name that does not exist yet.
enum class MissingFile {
    Create, // made empty and read as such: a chooser for new names offers them
    Refuse, // cannot be opened
};

// Reads the configuration file at path, logging every step, and stores each
// accepted value. Logs "ERROR: cannot open file <path>!" when it cannot be
// opened. An existing file is only read, so a read-only one works as well.
bool readConfigurationFileAt(const QString &path, MissingFile missing, const LogLine &log,
                             const std::function<void(DeviceParameter, int)> &store);

// Writes the seven lines as the whole content of the file at path, logging
// each. Logs "ERROR: cannot write file <path>!" when that fails.
bool writeConfigurationFileAt(const QString &path,
                              const std::function<int(DeviceParameter)> &valueOf,
                              const LogLine &log);
