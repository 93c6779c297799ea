// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/idlemeasure.h"
#include "bench/windowwithmodule.h"

#include <QApplication>

#include <cstdio>

// The programmer with a module's port open and nothing to send: what it
// costs to sit there. The in-process module only ever answers frames, so
// with none sent it adds nothing.
int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    WindowWithModule rig;
    if (!rig.open()) {
        std::fprintf(stderr, "The module's port did not open.\n");
        return 1;
    }
    const int framesBefore = rig.module.receivedFrames().size();
    std::printf("idle_cpu_s %.4f\n", cpuSecondsOverEventLoop(idleMilliseconds));
    std::printf("idle_frames %d\n", int(rig.module.receivedFrames().size()) - framesBefore);
    return 0;
}
