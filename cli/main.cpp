// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/filestep.h"
#include "cli/interruption.h"
#include "cli/jsonresult.h"
#include "cli/output.h"

#include <QCoreApplication>

// veld7316-cli: the configuration file dialog's Read, Verify and Program
// without the window, for scripts at a test bench.
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("veld7316-cli"));

    const ParsedArguments parsed = parseArguments(QCoreApplication::arguments());
    if (!parsed.arguments) {
        printStep(parsed.error);
        printStep(QStringLiteral("Try 'veld7316-cli --help'."));
        if (parsed.json)
            printResult(refusedArgumentsJson(parsed.error));
        return int(ExitStatus::BadArguments);
    }
    const Arguments &arguments = *parsed.arguments;
    if (arguments.command == CommandKind::Help) {
        printResult(helpText());
        return int(ExitStatus::Success);
    }
    if (arguments.command == CommandKind::Version) {
        printResult(versionText());
        return int(ExitStatus::Success);
    }

    watchForInterruption();
    const CommandResult result = runCommand(arguments, printStep);
    if (arguments.json)
        printResult(resultJson(arguments, result));
    else if (arguments.command == CommandKind::List && !result.ports.isEmpty())
        printResult(portLines(result.ports));
    return leaveBlockedFileSteps(int(result.status));
}
