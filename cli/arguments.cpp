// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/arguments.h"

#include "cli/exitstatus.h"
#include "cli/linkdriver.h"

#include <QCommandLineParser>

namespace {

struct CommandSpelling
{
    const char *name;
    CommandKind kind;
    int operands; // PORT and FILE
};

constexpr CommandSpelling commands[] = {
    {"list", CommandKind::List, 0},
    {"read", CommandKind::Read, 2},
    {"verify", CommandKind::Verify, 2},
    {"program", CommandKind::Program, 2},
};

const char helpIntroduction[] = R"(Usage: veld7316-cli COMMAND [PORT FILE] [--verify] [--json]

Reads, verifies and programs the settings of a VELD-7316 stepper-motor driver
through a configuration file, as the configuration file dialog of the
programmer window does, without the window.

Commands:
  list                  The ports the window offers (their description
                        contains "7316"), one per line: name, description and
                        manufacturer, separated by tabs.
  read PORT FILE        Reads the module's seven settings and writes them to
                        FILE, replacing what it held.
  verify PORT FILE      Reads FILE and the module's settings and compares them:
                        one line per setting.
  program PORT FILE     Writes FILE's settings to the module, also over values
                        it holds out of range. Every write must be confirmed
                        by the module.

Each command with a PORT opens it as the window does: 9600 baud, 8 data bits,
no parity, one stop bit; the seven settings are read and the power stage is
switched off before anything else. FILE is read before the port is opened.

Options:
  --verify              With program: read the settings back and compare.
  --json                Print one result object on standard output.
  -h, --help            Show this text.
  --version             Show the program's name and version.

Each step is reported on standard error, with the texts of the window's
configuration file dialog where it has one. A request without a good answer
is sent again, up to %1 times in a row (%2 s against a silent module, %3 s at
most against one that answers very late); then the command gives up.
Ctrl-C closes the port and ends the command.

The JSON result holds "command", "port", "file", "exitStatus", "result" (the
name below), "error" (the line that explains a failure), "fileValues" and
"moduleValues" (by parameter name, as far as known), "differing" and
"unconfirmed" (parameter names) and, for list, "ports".

Exit status:
)";

} // namespace

ParsedArguments parseArguments(const QStringList &commandLine)
{
    // A script that asked for JSON gets it also when the rest is wrong.
    const bool jsonAsked = commandLine.mid(1).contains(QStringLiteral("--json"));
    const auto refused = [jsonAsked](const QString &error) {
        return ParsedArguments{std::nullopt, error, jsonAsked};
    };
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption verify(QStringLiteral("verify"));
    const QCommandLineOption json(QStringLiteral("json"));
    const QCommandLineOption version(QStringLiteral("version"));
    parser.addOptions({help, verify, json, version});
    if (!parser.parse(commandLine))
        return refused(parser.errorText());
    if (parser.isSet(help))
        return {Arguments{}, QString(), jsonAsked};
    if (parser.isSet(version)) {
        Arguments arguments;
        arguments.command = CommandKind::Version;
        return {arguments, QString(), jsonAsked};
    }

    QStringList operands = parser.positionalArguments();
    if (operands.isEmpty())
        return refused(QStringLiteral("No command given."));
    const QString name = operands.takeFirst();
    for (const CommandSpelling &spelling : commands) {
        if (name != QLatin1String(spelling.name))
            continue;
        if (operands.size() != spelling.operands) {
            return refused(spelling.operands == 0
                               ? QStringLiteral("'%1' takes no arguments.").arg(name)
                               : QStringLiteral("'%1' takes PORT and FILE.").arg(name));
        }
        if (parser.isSet(verify) && spelling.kind != CommandKind::Program)
            return refused(QStringLiteral("--verify goes with 'program' only."));
        Arguments arguments;
        arguments.command = spelling.kind;
        arguments.port = operands.value(0);
        arguments.file = operands.value(1);
        arguments.verify = parser.isSet(verify);
        arguments.json = parser.isSet(json);
        return {arguments, QString(), arguments.json};
    }
    return refused(QStringLiteral("Unknown command '%1'.").arg(name));
}

QString helpText()
{
    const int silentGiveUpMs =
        maximumFailedExchanges * LateReplyWait::ticksPerUnansweredExchange * exchangeIntervalMs;
    // A reply not taken leaves the link in step again, so at worst every
    // other try is one.
    const int longestGiveUpMs =
        ((maximumFailedExchanges + 1) / 2 * LateReplyWait::ticksPerDistrustedExchange +
         maximumFailedExchanges / 2 * LateReplyWait::ticksPerUnansweredExchange) *
        exchangeIntervalMs;
    QString text = QString::fromLatin1(helpIntroduction)
                       .arg(maximumFailedExchanges)
                       .arg(silentGiveUpMs / 1000.0, 0, 'f', 1)
                       .arg(longestGiveUpMs / 1000.0, 0, 'f', 1);
    for (const ExitStatusDescription &description : exitStatusDescriptions) {
        text += QStringLiteral("  %1  %2  %3\n")
                    .arg(int(description.status), 3)
                    .arg(QLatin1String(description.name), -20)
                    .arg(QLatin1String(description.meaning));
    }
    return text.trimmed();
}

QString versionText()
{
    return QStringLiteral("veld7316-cli " VELD_VERSION);
}
