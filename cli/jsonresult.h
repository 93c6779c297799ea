// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "cli/arguments.h"
#include "cli/commands.h"

#include <QString>

// One object on one line: what a script needs to know about the command.
QString resultJson(const Arguments &arguments, const CommandResult &result);

// The object for arguments that were refused.
QString refusedArgumentsJson(const QString &error);

// One port per line: name, description and manufacturer, separated by tabs.
QString portLines(const QList<PortDescription> &ports);
