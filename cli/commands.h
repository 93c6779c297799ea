// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "cli/arguments.h"
#include "cli/exitstatus.h"
#include "cli/output.h"
#include "link/perparameter.h"
#include "link/portannouncement.h"

#include <QList>
#include <QStringList>

#include <optional>

struct CommandResult
{
    ExitStatus status = ExitStatus::Success;
    QString error; // the line that explains a failure
    std::optional<ParameterValues> fileValues;
    std::optional<ParameterValues> moduleValues; // as last read or confirmed
    QStringList differing;
    QStringList unconfirmed;
    QList<PortDescription> ports; // list
};

// Runs one command, reporting each step to log.
CommandResult runCommand(const Arguments &arguments, const StepLog &log);
