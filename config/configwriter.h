// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "link/parameters.h"

#include <functional>

class QTextStream;
class QString;

// Writes the seven lines and logs each; returns whether the stream took them all.
bool writeConfiguration(QTextStream &stream, const std::function<int(DeviceParameter)> &valueOf,
                        const std::function<void(const QString &)> &log);
