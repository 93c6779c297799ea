// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/benchfiles.h"
#include "bench/lostreply.h"
#include "bench/signalwait.h"
#include "bench/windowwithmodule.h"
#include "link/frame.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

// A whole Program, clean and with the reply to one of its writes lost: in the
// window from Program to "Values written …", and veld7316-cli program from
// process start to exit. Tries: how often the write whose reply was lost went
// out.

namespace {

constexpr double nanosecondsPerMillisecond = 1e6;
constexpr int cliTimeoutMs = 30000;

// The Program's write of MicroStepResolution 64 (code 2), its third.
QByteArray lostWrite()
{
    const Frame frame = encodeFrame(int(Command::SetParameter), 140, 0, 2);
    return QByteArray(reinterpret_cast<const char *>(frame.data()), frameLength);
}

int tries(const FakeModule &module)
{
    return int(
        module.receivedFrames().count(QString::fromLatin1(lostWrite().toHex(' ').toUpper())));
}

struct Run
{
    double ms = -1;
    int tries = 0;
};

Run programInWindow(WindowWithModule &rig, bool loseReply)
{
    rig.module.clearReceivedFrames();
    if (loseReply)
        loseFirstReplyTo(rig.module, lostWrite());
    QElapsedTimer clock;
    clock.start();
    rig.window->startProgramFromFile();
    const bool written = rig.waitForLogLine(QStringLiteral("Values written to VELD-7316."), 10000);
    return written ? Run{clock.nsecsElapsed() / nanosecondsPerMillisecond, tries(rig.module)}
                   : Run();
}

Run programThroughCli(const QString &file, bool loseReply)
{
    FakeModule module;
    if (!module.start())
        return Run();
    if (loseReply)
        loseFirstReplyTo(module, lostWrite());
    QProcess cli;
    QElapsedTimer clock;
    clock.start();
    cli.start(QStringLiteral(VELD_CLI_PATH), {QStringLiteral("program"), module.portName(), file});
    const bool ended = waitForSignal(
        &cli, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished),
        [&] { return cli.state() == QProcess::NotRunning; }, cliTimeoutMs);
    const double ms = clock.nsecsElapsed() / nanosecondsPerMillisecond;
    return ended && cli.exitCode() == 0 ? Run{ms, tries(module)} : Run();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("settings.txt"));
    WindowWithModule rig;
    if (!writeFile(path, validConfiguration()) || !rig.open())
        return 1;
    rig.window->setConfigurationFilePath(path);
    if (!rig.window->readConfigurationFile())
        return 1;
    const Run windowClean = programInWindow(rig, false);
    const Run windowLost = programInWindow(rig, true);
    const Run cliClean = programThroughCli(path, false);
    const Run cliLost = programThroughCli(path, true);
    if (windowClean.ms < 0 || windowLost.ms < 0 || cliClean.ms < 0 || cliLost.ms < 0) {
        std::fprintf(stderr, "A Program did not end as it should.\n");
        return 1;
    }
    std::printf("lost_window_clean_ms %.3f\nlost_window_ms %.3f\nlost_window_tries %d\n",
                windowClean.ms, windowLost.ms, windowLost.tries);
    std::printf("lost_cli_clean_ms %.3f\nlost_cli_ms %.3f\nlost_cli_tries %d\n", cliClean.ms,
                cliLost.ms, cliLost.tries);
    return 0;
}
