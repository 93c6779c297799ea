// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/commands.h"

#include "cli/filestep.h"
#include "cli/linkdriver.h"
#include "config/configfileio.h"
#include "config/configwriter.h"
#include "config/sequencelog.h"
#include "config/verification.h"
#include "link/connectionmessages.h"
#include "link/serialports.h"

#include <memory>

namespace {

const char interruptedLine[] = "Interrupted. Port closed.";

// What reading FILE found.
struct LoadedValues
{
    ParameterValues values;
    PerParameter<bool> found;
};

QString differenceLine(DeviceParameter parameter, int fileValue, int moduleValue)
{
    return parameterName(parameter) + QStringLiteral(" differs: file ") +
           parameterValueText(parameter, fileValue) + QStringLiteral(", VELD-7316 ") +
           parameterValueText(parameter, moduleValue);
}

// The steps of one command. Each step returns false once the command has
// failed; the result then says why.
class CommandRun
{
public:
    CommandRun(const Arguments &commandArguments, const StepLog &stepLog)
        : arguments(commandArguments)
        , log(stepLog)
        , driver([this](const QString &line) { say(line); })
    {
    }

    CommandResult run()
    {
        switch (arguments.command) {
        case CommandKind::List:
            result.ports = modulePorts(availablePorts());
            break;
        case CommandKind::Read:
            readToFile();
            break;
        case CommandKind::Verify:
            verify();
            break;
        case CommandKind::Program:
            program();
            break;
        case CommandKind::Help:
        case CommandKind::Version:
            break;
        }
        driver.close();
        return result;
    }

private:
    bool readToFile()
    {
        if (!connectModule() || !takeModuleValues())
            return false;
        const ParameterValues values = *result.moduleValues;
        const QString file = arguments.file;
        return fileStep([file, values](const StepLog &stepLog) {
            return writeConfigurationFileAt(
                file, [&values](DeviceParameter parameter) { return values[parameter]; }, stepLog);
        });
    }

    bool verify() { return loadFile() && connectModule() && takeModuleValues() && compare(); }

    bool program()
    {
        // A value the module holds out of range is named as it is read, and
        // written over like any other.
        if (!loadFile() || !connectModule())
            return false;
        say(QLatin1String(programmingLine));
        LinkSession &session = driver.session();
        session.link().values = *result.fileValues;
        session.requestAll(RequestState::Write);
        session.clearUnconfirmedWrites();
        if (!runLink())
            return false;
        result.moduleValues = session.link().values;
        result.unconfirmed = session.unconfirmedWrites();
        if (!result.unconfirmed.isEmpty())
            return fail(ExitStatus::WriteNotConfirmed, unconfirmedWritesLine(result.unconfirmed));
        say(QLatin1String(valuesWrittenLine));
        return !arguments.verify || (readModule() && compare());
    }

    // The whole file is needed: a setting it lacks would be programmed with
    // whatever value stood in for it.
    bool loadFile()
    {
        // Shared with the step, which outlives this call when left blocked.
        const auto loaded = std::make_shared<LoadedValues>();
        const QString file = arguments.file;
        const bool read = fileStep([file, loaded](const StepLog &stepLog) {
            return readConfigurationFileAt(file, MissingFile::Refuse, stepLog,
                                           [&loaded](DeviceParameter parameter, int value) {
                                               loaded->values[parameter] = value;
                                               loaded->found[parameter] = true;
                                           });
        });
        if (!read)
            return false;
        QStringList missing;
        for (DeviceParameter parameter : configurationFileOrder) {
            if (!loaded->found[parameter])
                missing.append(parameterName(parameter));
        }
        if (!missing.isEmpty()) {
            return fail(ExitStatus::FileProblem, QStringLiteral("ERROR: No value for ") +
                                                     missing.join(QStringLiteral(", ")) +
                                                     QStringLiteral(" in file <") + arguments.file +
                                                     QStringLiteral(">!"));
        }
        result.fileValues = loaded->values;
        return true;
    }

    // FILE can block for good (a FIFO, a named pipe); Ctrl-C still ends the
    // command then.
    bool fileStep(FileStep step)
    {
        switch (runFileStep(std::move(step), [this](const QString &line) { say(line); })) {
        case FileStepEnd::Succeeded:
            return true;
        case FileStepEnd::Failed:
            return failAsSaid(ExitStatus::FileProblem);
        case FileStepEnd::Interrupted:
            break;
        }
        driver.close();
        return fail(ExitStatus::Interrupted, QLatin1String(interruptedLine));
    }

    // As the window opens a port: the seven reads, then the power stage off.
    bool connectModule()
    {
        QString reason;
        if (!driver.open(arguments.port, reason)) {
            return fail(ExitStatus::PortNotOpened, QLatin1String(portNotOpenedMessage) +
                                                       QLatin1Char(' ') + arguments.port +
                                                       QStringLiteral(": ") + reason);
        }
        return readAll() && runLink();
    }

    bool readModule() { return readAll() && takeModuleValues(); }

    bool readAll()
    {
        say(QLatin1String(readingFromModuleLine));
        driver.session().requestAll(RequestState::Read);
        if (!runLink(LinkGoal::ReadsDone))
            return false;
        say(QLatin1String(readingDoneLine));
        return true;
    }

    bool takeModuleValues()
    {
        const LinkState &link = driver.session().link();
        const QStringList invalid = parametersNotFromModule(link);
        if (!invalid.isEmpty())
            return fail(ExitStatus::InvalidModuleValue, noValidValueLine(invalid));
        result.moduleValues = link.values;
        return true;
    }

    bool compare()
    {
        say(QLatin1String(verifyStartLine));
        const PerParameter<std::optional<int>> known = knownModuleValues(driver.session().link());
        const PerParameter<Verification> verdicts = verifyValues(*result.fileValues, known);
        for (DeviceParameter parameter : readOrder) {
            switch (verdicts[parameter]) {
            case Verification::Verified:
                say(verifiedLine(parameter));
                continue;
            case Verification::Differs:
                say(differenceLine(parameter, (*result.fileValues)[parameter], *known[parameter]));
                break;
            case Verification::NotKnown:
                say(notVerifiedLine(parameter));
                break;
            }
            result.differing.append(parameterName(parameter));
        }
        say(QLatin1String(verifyCompleteLine));
        if (result.differing.isEmpty())
            return true;
        return fail(ExitStatus::ValuesDiffer,
                    QStringLiteral("ERROR: VELD-7316 differs from the file in ") +
                        result.differing.join(QStringLiteral(", ")) + QLatin1Char('!'));
    }

    bool runLink(LinkGoal goal = LinkGoal::NothingPending)
    {
        const LinkDriver::Outcome outcome = driver.run(goal);
        if (outcome == LinkDriver::Outcome::Done)
            return true;
        driver.close();
        const QString tries =
            QStringLiteral(" Gave up after %1 tries.").arg(maximumFailedExchanges);
        switch (outcome) {
        case LinkDriver::Outcome::NotAnswering:
            return fail(ExitStatus::ModuleNotAnswering,
                        QStringLiteral("ERROR: VELD-7316 not answering!") + tries);
        case LinkDriver::Outcome::PowerStageUnconfirmed:
            return fail(ExitStatus::WriteNotConfirmed,
                        QStringLiteral("ERROR: VELD-7316 did not confirm the power stage switch!") +
                            tries);
        case LinkDriver::Outcome::ConnectionLost:
            return fail(ExitStatus::ConnectionLost, QLatin1String(connectionLostMessage));
        case LinkDriver::Outcome::Interrupted:
            return fail(ExitStatus::Interrupted, QLatin1String(interruptedLine));
        case LinkDriver::Outcome::Done:
            break;
        }
        return true;
    }

    void say(const QString &line)
    {
        log(line);
        lastLine = line;
    }

    bool fail(ExitStatus status, const QString &line)
    {
        say(line);
        return failAsSaid(status);
    }

    // The reader and writer have logged why already.
    bool failAsSaid(ExitStatus status)
    {
        result.status = status;
        result.error = lastLine;
        return false;
    }

    const Arguments &arguments;
    StepLog log;
    LinkDriver driver;
    CommandResult result;
    QString lastLine;
};

} // namespace

CommandResult runCommand(const Arguments &arguments, const StepLog &log)
{
    return CommandRun(arguments, log).run();
}
