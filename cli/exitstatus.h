// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>

// What the command-line companion's exit status tells a script.
enum class ExitStatus {
    Success = 0,
    ValuesDiffer = 1,
    BadArguments = 2,
    PortNotOpened = 3,
    FileProblem = 4,
    ModuleNotAnswering = 5,
    WriteNotConfirmed = 6,
    ConnectionLost = 7,
    InvalidModuleValue = 8,
    Interrupted = 130,
};

struct ExitStatusDescription
{
    ExitStatus status;
    const char *name; // in the JSON result
    const char *meaning;
};

constexpr std::array<ExitStatusDescription, 10> exitStatusDescriptions = {{
    {ExitStatus::Success, "ok", "done; writes confirmed, compared values equal"},
    {ExitStatus::ValuesDiffer, "values-differ", "the module's values differ from the file's"},
    {ExitStatus::BadArguments, "bad-arguments", "unknown command or option, wrong arguments"},
    {ExitStatus::PortNotOpened, "port-not-opened", "the port cannot be opened (Qt's reason shown)"},
    {ExitStatus::FileProblem, "file-error", "FILE unreadable, invalid, incomplete or unwritable"},
    {ExitStatus::ModuleNotAnswering, "module-not-answering", "no answer, even after retrying"},
    {ExitStatus::WriteNotConfirmed, "write-not-confirmed",
     "a write or the power stage switch not confirmed"},
    {ExitStatus::ConnectionLost, "connection-lost", "the port went away: cable pulled"},
    {ExitStatus::InvalidModuleValue, "invalid-module-value",
     "the module sent a value out of range"},
    {ExitStatus::Interrupted, "interrupted", "Ctrl-C or a termination request; port closed"},
}};

inline const char *exitStatusName(ExitStatus status)
{
    for (const ExitStatusDescription &description : exitStatusDescriptions) {
        if (description.status == status)
            return description.name;
    }
    return "";
}
