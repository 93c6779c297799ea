#include "cli/commands.h"

#include "cli/linkdriver.h"
#include "config/configfileio.h"
#include "config/configwriter.h"
#include "config/sequencelog.h"
#include "link/connectionmessages.h"
#include "link/serialports.h"

namespace {

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
    CommandRun(const Arguments &arguments, const StepLog &log)
        : arguments(arguments)
        , log(log)
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
            break;
        }
        driver.close();
        return result;
    }

private:
    bool readToFile()
    {
        if (!connectModule())
            return false;
        const ParameterValues values = driver.values();
        if (!writeConfigurationFileAt(
                arguments.file, [&](DeviceParameter parameter) { return values[parameter]; },
                [this](const QString &line) { say(line); }))
            return failAsSaid(ExitStatus::FileProblem);
        return true;
    }

    bool verify() { return loadFile() && connectModule() && compare(); }

    bool program()
    {
        if (!loadFile() || !connectModule())
            return false;
        say(QLatin1String(programmingLine));
        driver.requestWrites(*result.fileValues);
        if (!runLink())
            return false;
        result.moduleValues = driver.values();
        result.unconfirmed = driver.unconfirmedWrites();
        if (!result.unconfirmed.isEmpty())
            return fail(ExitStatus::WriteNotConfirmed, unconfirmedWritesLine(result.unconfirmed));
        say(QLatin1String(valuesWrittenLine));
        return !arguments.verify || (readModule() && compare());
    }

    // The whole file is needed: a setting it lacks would be programmed with
    // whatever value stood in for it.
    bool loadFile()
    {
        ParameterValues values;
        PerParameter<bool> found;
        const bool read = readConfigurationFileAt(
            arguments.file, MissingFile::Refuse, [this](const QString &line) { say(line); },
            [&](DeviceParameter parameter, int value) {
                values[parameter] = value;
                found[parameter] = true;
            });
        if (!read)
            return failAsSaid(ExitStatus::FileProblem);
        QStringList missing;
        for (DeviceParameter parameter : configurationFileOrder) {
            if (!found[parameter])
                missing.append(parameterName(parameter));
        }
        if (!missing.isEmpty()) {
            return fail(ExitStatus::FileProblem, QStringLiteral("ERROR: No value for ") +
                                                     missing.join(QStringLiteral(", ")) +
                                                     QStringLiteral(" in file <") + arguments.file +
                                                     QStringLiteral(">!"));
        }
        result.fileValues = values;
        return true;
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
        if (!readAll())
            return false;
        driver.requestPowerStageOff();
        return runLink() && takeModuleValues();
    }

    bool readModule() { return readAll() && takeModuleValues(); }

    bool readAll()
    {
        say(QLatin1String(readingFromModuleLine));
        driver.requestReads();
        if (!runLink())
            return false;
        say(QLatin1String(readingDoneLine));
        return true;
    }

    bool takeModuleValues()
    {
        const QStringList invalid = driver.invalidValues();
        if (!invalid.isEmpty()) {
            return fail(ExitStatus::InvalidModuleValue,
                        QStringLiteral("ERROR: VELD-7316 sent no valid value for ") +
                            invalid.join(QStringLiteral(", ")) + QLatin1Char('!'));
        }
        result.moduleValues = driver.values();
        return true;
    }

    bool compare()
    {
        say(QLatin1String(verifyStartLine));
        for (DeviceParameter parameter : readOrder) {
            const int fileValue = (*result.fileValues)[parameter];
            const int moduleValue = (*result.moduleValues)[parameter];
            if (fileValue == moduleValue) {
                say(verifiedLine(parameter));
            } else {
                say(differenceLine(parameter, fileValue, moduleValue));
                result.differing.append(parameterName(parameter));
            }
        }
        say(QLatin1String(verifyCompleteLine));
        if (result.differing.isEmpty())
            return true;
        return fail(ExitStatus::ValuesDiffer,
                    QStringLiteral("ERROR: VELD-7316 differs from the file in ") +
                        result.differing.join(QStringLiteral(", ")) + QLatin1Char('!'));
    }

    bool runLink()
    {
        const LinkDriver::Outcome outcome = driver.run();
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
            return fail(ExitStatus::Interrupted, QStringLiteral("Interrupted. Port closed."));
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
