// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/frame.h"
#include "link/parametertable.h"
#include "tests/support/eventwait.h"
#include "tests/support/framelog.h"
#include "tools/emulator/fakemodule.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>

#include <csignal>

Q_DECLARE_METATYPE(FakeModuleFaults)

namespace {

// The stand-in's own start values.
const QByteArray moduleFile("MicroStepResolution 32\nMicroStepMultiplier FALSE\n"
                            "MicroStepDoubleEdge TRUE\nHalfCurrentRange TRUE\nRunCurrent 20\n"
                            "StandbyCurrent 10\nStandbyCurrentDelay 15\n");
// Differs from the module in every setting.
const QByteArray programFile("MicroStepResolution 16\nMicroStepMultiplier TRUE\n"
                             "MicroStepDoubleEdge FALSE\nHalfCurrentRange FALSE\nRunCurrent 24\n"
                             "StandbyCurrent 12\nStandbyCurrentDelay 7\n");
// Long enough for the command to be waiting on a FIFO given as FILE, or
// trying again against a silent module.
constexpr int interruptAfterMs = 300;

QString request(int command, int type, int value = 0)
{
    const int bank = command == int(Command::SwitchPowerStage) ? powerStageBank : 0;
    return frameHex(encodeFrame(command, type, bank, value));
}

QString read(DeviceParameter parameter)
{
    return request(int(Command::GetParameter), parameterNumber(parameter));
}

QStringList readAll()
{
    QStringList frames;
    for (DeviceParameter parameter : readOrder)
        frames << read(parameter);
    return frames;
}

// The seven reads, then the power stage off.
QStringList opening()
{
    return readAll() << request(int(Command::SwitchPowerStage), powerStageType, 1);
}

// programFile's values in write order: (number, wire value).
const QList<QPair<int, int>> programWrites = {{6, 24},  {7, 12},  {140, 4}, {160, 1},
                                              {161, 0}, {179, 0}, {214, 7}};

QString write(int index)
{
    return request(int(Command::SetParameter), programWrites[index].first,
                   programWrites[index].second);
}

QStringList writes(bool eachReadBack)
{
    QStringList frames;
    for (int i = 0; i < programWrites.size(); ++i) {
        frames << write(i);
        if (eachReadBack)
            frames << request(int(Command::GetParameter), programWrites[i].first);
    }
    return frames;
}

FakeModuleFaults faultsWith(bool FakeModuleFaults::*fault)
{
    FakeModuleFaults faults;
    faults.*fault = true;
    return faults;
}

FakeModuleFaults unplugAtOnce()
{
    FakeModuleFaults faults;
    faults.unplugAfterFrames = 1;
    return faults;
}

// The command line under test: this build's, or the command VELD_CLI gives,
// such as the Windows build under Wine.
QStringList cliCommand()
{
    const QString command = qEnvironmentVariable("VELD_CLI");
    return command.isEmpty() ? QStringList{QStringLiteral(VELD_CLI_PATH)}
                             : QProcess::splitCommand(command);
}

// The name under which the command line reaches the stand-in. For another
// system, VELD_CLI_PORT_ADAPTER is a command that, given the pseudo-terminal,
// makes it a port there, announces it as the stand-in announced itself and
// prints its name (tests/windows/wine-com-port.sh).
QString portSeenByCli(const FakeModule &module)
{
    QStringList adapter = QProcess::splitCommand(qEnvironmentVariable("VELD_CLI_PORT_ADAPTER"));
    if (adapter.isEmpty())
        return module.portName();
    QProcess process;
    const QString program = adapter.takeFirst();
    process.start(program, adapter << module.portName());
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QString();
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

// VELD_CLI_SYSTEM names Windows when the command line is a Windows program.
bool cliIsForWindows()
{
    return qEnvironmentVariable("VELD_CLI_SYSTEM") == QLatin1String("windows");
}

// A text file as the command line writes it: with CR LF on Windows.
QByteArray writtenByCli(QByteArray text)
{
    if (cliIsForWindows())
        text.replace("\n", "\r\n");
    return text;
}

// A line on standard error that reads as said.
bool saidOnAnyLine(const QString &errors, const QString &said)
{
    return errors.split(QLatin1Char('\n')).contains(said);
}

} // namespace

// veld7316-cli as a script runs it, against the module stand-in on a
// pseudo-terminal: exit status, output, the file and the frames the module got.
class CliTest : public QObject
{
    Q_OBJECT

private slots:
    void commandAgainstModule_data();
    void commandAgainstModule();
};

void CliTest::commandAgainstModule_data()
{
    // $PORT, $FILE and $FIFO are filled in; $FIFO is a FIFO nobody else opens.
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("fileBefore"); // null: no file
    QTest::addColumn<FakeModuleFaults>("faults");
    QTest::addColumn<int>("faultsFromFrame"); // 0: none
    // interruptAfterMs after that frame, or with $FIFO after the start for 0. The
    // frames are counted as the frames column counts them.
    QTest::addColumn<int>("interruptAtFrame");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("fileAfter");
    // What reached the module, a frame asked again right after itself counted
    // once; for an interruption, the first ones.
    QTest::addColumn<QStringList>("frames");
    QTest::addColumn<QString>("said");    // a line on standard error
    QTest::addColumn<QString>("printed"); // in standard output; empty: nothing

    const FakeModuleFaults none;
    const QStringList noFrames;
    QByteArray otherRunCurrent = moduleFile;
    otherRunCurrent.replace("RunCurrent 20", "RunCurrent 21");

    QTest::newRow("list") << QStringList{"list"} << QByteArray() << none << 0 << 0 << 0
                          << QByteArray() << noFrames << QString()
                          << "$PORT\tVELD-7316 emulator\tpid ";
    QTest::newRow("read over a longer file")
        << QStringList{"read", "$PORT", "$FILE"} << QByteArray(40, '#').append('\n').repeated(5)
        << none << 0 << 0 << 0 << moduleFile << opening() << "Reading done." << QString();
    QTest::newRow("read, file cannot be written")
        << QStringList{"read", "$PORT", "$FILE/settings.txt"} << QByteArray() << none << 0 << 0 << 4
        << QByteArray() << opening() << "ERROR: cannot write file <$FILE/settings.txt>!"
        << QString();
    QTest::newRow("verify equal") << QStringList{"verify", "$PORT", "$FILE"} << moduleFile << none
                                  << 0 << 0 << 0 << moduleFile << opening()
                                  << "HalfCurrentRange verfiy OK!" << QString();
    QTest::newRow("verify differing, json")
        << QStringList{"verify", "$PORT", "$FILE", "--json"} << otherRunCurrent << none << 0 << 0
        << 1 << otherRunCurrent << opening() << "RunCurrent differs: file 21, VELD-7316 20"
        << R"("differing":["RunCurrent"])";
    QTest::newRow("program confirmed, verified")
        << QStringList{"program", "$PORT", "$FILE", "--verify"} << programFile << none << 0 << 0
        << 0 << programFile << opening() + writes(false) + readAll()
        << "Values written to VELD-7316." << QString();
    QTest::newRow("program refused")
        << QStringList{"program", "$PORT", "$FILE"} << programFile
        << faultsWith(&FakeModuleFaults::refuseWrites) << 9 << 0 << 6 << programFile
        << opening() + writes(true)
        << "ERROR: VELD-7316 did not confirm RunCurrent, StandbyCurrent, MicroStepResolution, "
           "MicroStepMultiplier, MicroStepDoubleEdge, HalfCurrentRange, StandbyCurrentDelay!"
        << QString();
    QTest::newRow("silent module")
        << QStringList{"verify", "$PORT", "$FILE"} << moduleFile
        << faultsWith(&FakeModuleFaults::silent) << 1 << 0 << 5 << moduleFile
        << QStringList{read(DeviceParameter::HalfCurrentRange)}
        << "ERROR: VELD-7316 not answering! Gave up after 50 tries." << QString();
    FakeModuleFaults late;
    late.lateMs = 150;
    QTest::newRow("replies many ticks late")
        << QStringList{"verify", "$PORT", "$FILE"} << moduleFile << late << 1 << 0 << 5
        << moduleFile << QStringList{read(DeviceParameter::HalfCurrentRange)}
        << "ERROR: VELD-7316 not answering! Gave up after 50 tries." << QString();
    QTest::newRow("values out of range")
        << QStringList{"verify", "$PORT", "$FILE"} << moduleFile
        << faultsWith(&FakeModuleFaults::outOfRange) << 1 << 0 << 8 << moduleFile << opening()
        << "RunCurrent = invalid" << QString();
    // Programming writes over what the module held, and repairs it.
    QTest::newRow("program over values out of range")
        << QStringList{"program", "$PORT", "$FILE"} << programFile
        << faultsWith(&FakeModuleFaults::outOfRange) << 1 << 0 << 0 << programFile
        << opening() + writes(false) << "RunCurrent = invalid" << QString();
    QTest::newRow("unplugged mid-way")
        << QStringList{"program", "$PORT", "$FILE"} << programFile << unplugAtOnce() << 10 << 0 << 7
        << programFile << opening() + writes(false).mid(0, 2)
        << "Error: connection to VELD-7316 lost. Port closed." << QString();
    QTest::newRow("interrupted") << QStringList{"verify", "$PORT", "$FILE"} << moduleFile
                                 << faultsWith(&FakeModuleFaults::silent) << 1 << 1 << 130
                                 << moduleFile
                                 << QStringList{read(DeviceParameter::HalfCurrentRange)}
                                 << "Interrupted. Port closed." << QString();
    QTest::newRow("verify, FILE blocks, interrupted before the port opens")
        << QStringList{"verify", "$PORT", "$FIFO"} << QByteArray() << none << 0 << 0 << 130
        << QByteArray() << noFrames << "Interrupted. Port closed." << QString();
    QTest::newRow("read, FILE blocks, interrupted with the port open, json")
        << QStringList{"read", "$PORT", "$FIFO", "--json"} << QByteArray() << none << 0
        << opening().size() << 130 << QByteArray() << opening() << "Interrupted. Port closed."
        << R"("result":"interrupted")";
    QTest::newRow("junk file") << QStringList{"program", "$PORT", "$FILE"}
                               << QByteArray("\x7f"
                                             "ELF\x02\x01\x01\n",
                                             8)
                               << none << 0 << 0 << 4
                               << QByteArray("\x7f"
                                             "ELF\x02\x01\x01\n",
                                             8)
                               << noFrames << "ERROR: Binary data in file! Plain text expected!"
                               << QString();
    QTest::newRow("missing port") << QStringList{"read", "/dev/veld7316-missing", "$FILE"}
                                  << QByteArray() << none << 0 << 0 << 3 << QByteArray() << noFrames
                                  << "Could not open COM port! /dev/veld7316-missing: The "
                                     "device is gone. Plug the module in again; its port may "
                                     "come back under another name."
                                  << QString();
    QTest::newRow("version") << QStringList{"--version"} << QByteArray() << none << 0 << 0 << 0
                             << QByteArray() << noFrames << QString()
                             << QStringLiteral("veld7316-cli " VELD_VERSION "\n");
    QTest::newRow("bad arguments")
        << QStringList{"program", "$PORT"} << QByteArray() << none << 0 << 0 << 2 << QByteArray()
        << noFrames << "'program' takes PORT and FILE." << QString();
    QTest::newRow("bad arguments, json")
        << QStringList{"verify", "--json"} << QByteArray() << none << 0 << 0 << 2 << QByteArray()
        << noFrames << "'verify' takes PORT and FILE."
        << R"("error":"'verify' takes PORT and FILE.")";
}

void CliTest::commandAgainstModule()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, fileBefore);
    QFETCH(FakeModuleFaults, faults);
    QFETCH(int, faultsFromFrame);
    QFETCH(int, interruptAtFrame);
    QFETCH(int, status);
    QFETCH(QByteArray, fileAfter);
    QFETCH(QStringList, frames);
    QFETCH(QString, said);
    QFETCH(QString, printed);

    FakeModule module;
    QVERIFY2(module.start(), qPrintable(module.errorString()));
    QVERIFY(module.announce());
    const QString port = portSeenByCli(module);
    QVERIFY(!port.isEmpty());
    QTemporaryDir directory;
    const QString file = directory.filePath(QStringLiteral("settings.txt"));
    const QString fifo = directory.filePath(QStringLiteral("fifo"));
    const bool blockingFile = arguments.join(QLatin1Char(' ')).contains(QLatin1String("$FIFO"));
    if (blockingFile && cliIsForWindows())
        QSKIP("Wine opens a FIFO without waiting for a writer");
    if (blockingFile)
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    if (!fileBefore.isNull()) {
        QFile before(file);
        QVERIFY(before.open(QIODevice::WriteOnly) && before.write(fileBefore) == fileBefore.size());
    }
    const auto fillIn = [&](QString text) {
        return text.replace(QLatin1String("$PORT"), port)
            .replace(QLatin1String("$FILE"), file)
            .replace(QLatin1String("$FIFO"), fifo);
    };
    for (QString &argument : arguments)
        argument = fillIn(argument);

    QProcess cli;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C")); // Qt's reasons untranslated
    cli.setProcessEnvironment(environment);
    // Ctrl-C, which a Windows program gets too: Wine passes SIGINT on as one,
    // but ends a program at once on SIGTERM.
    const auto ctrlC = [&] {
        ::kill(pid_t(cli.processId()), SIGINT);
    };
    const auto interrupt = [&] {
        QTimer::singleShot(interruptAfterMs, &cli, ctrlC);
    };
    int received = 0;
    QByteArray last;
    connect(&module, &FakeModule::frameReceived, &cli, [&](const QByteArray &frame) {
        if (frame == last)
            return;
        last = frame;
        ++received;
        if (received == faultsFromFrame)
            module.setFaults(faults);
        if (received == interruptAtFrame)
            interrupt();
    });
    QStringList command = cliCommand();
    const QString program = command.takeFirst();
    cli.start(program, command + arguments);
    if (blockingFile && interruptAtFrame == 0)
        interrupt();
    const bool finished = waitUntil([&] { return cli.state() == QProcess::NotRunning; }, 30000);
    if (!finished) {
        cli.kill();
        cli.waitForFinished();
    }
    QVERIFY(finished);

    // A Windows program ends its console lines with CR LF.
    const QString errors = QString::fromLocal8Bit(cli.readAllStandardError()).remove('\r');
    const QString output = QString::fromLocal8Bit(cli.readAllStandardOutput()).remove('\r');
    QVERIFY2(cli.exitStatus() == QProcess::NormalExit, qPrintable(errors));
    QVERIFY2(cli.exitCode() == status, qPrintable(errors));
    QVERIFY2(saidOnAnyLine(errors, fillIn(said)), qPrintable(errors));
    if (printed.isEmpty())
        QCOMPARE(output, QString());
    else
        QVERIFY2(output.contains(fillIn(printed)), qPrintable(output));
    if (arguments.contains(QStringLiteral("--json"))) {
        const QJsonObject result = QJsonDocument::fromJson(output.toUtf8()).object();
        QCOMPARE(result.value(QStringLiteral("exitStatus")).toInt(-1), status);
    }

    QFile after(file);
    QCOMPARE(after.exists(), !fileAfter.isNull());
    if (after.open(QIODevice::ReadOnly))
        QCOMPARE(after.readAll(), fileAfter == fileBefore ? fileAfter : writtenByCli(fileAfter));
    QStringList distinct = withoutRepeats(module.receivedFrames());
    frames = withoutRepeats(frames);
    if (interruptAtFrame > 0)
        distinct = distinct.mid(0, frames.size());
    QCOMPARE(distinct, frames);
}

QTEST_GUILESS_MAIN(CliTest)
#include "tst_cli.moc"
