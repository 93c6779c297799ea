// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/benchfiles.h"
#include "bench/windowwithmodule.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

// The link's pace with a module that answers at once: from clicking Open to
// the opening exchange's end, then the frame rate of a Program.

namespace {

constexpr double nanosecondsPerMillisecond = 1e6;

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    WindowWithModule rig;
    if (!rig.selectModulePort())
        return harnessFailed("The module's port is not listed.");
    QElapsedTimer clock;
    clock.start();
    rig.clickOpen();
    if (!rig.waitUntilOpened())
        return harnessFailed("The opening exchange did not end.");
    std::printf("link_ms %.3f\n", clock.nsecsElapsed() / nanosecondsPerMillisecond);
    std::printf("link_frames %d\n", int(rig.module.receivedFrames().size()));

    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("settings.txt"));
    if (!writeFile(path, validConfiguration()))
        return harnessFailed("The configuration file could not be written.");
    rig.window->setConfigurationFilePath(path);
    if (!rig.window->readConfigurationFile())
        return harnessFailed("The configuration file was refused.");

    // The Program runs from its first frame to its report; each frame takes
    // two ticks, one to send it and one to apply its reply.
    int frames = 0;
    qint64 firstFrameNs = 0;
    QObject::connect(&rig.module, &FakeModule::frameReceived, [&] {
        if (frames++ == 0)
            firstFrameNs = clock.nsecsElapsed();
    });
    clock.restart();
    rig.window->startProgramFromFile();
    const bool written = rig.waitForLogLine(QStringLiteral("Values written to VELD-7316."), 5000);
    const double programMs = (clock.nsecsElapsed() - firstFrameNs) / nanosecondsPerMillisecond;
    if (!written || frames == 0)
        return harnessFailed("The Program did not finish.");
    std::printf("program_frames %d\nprogram_ms %.3f\n", frames, programMs);
    std::printf("program_fps %.3f\n", frames * 1000.0 / programMs);
    return 0;
}
