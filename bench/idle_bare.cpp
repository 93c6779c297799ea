// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/idlemeasure.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

// Idle baseline: the least a program paced by a 20 ms timer can cost.
int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
    timer.start(20);
    std::printf("idle_cpu_s %.4f\n", cpuSecondsOverEventLoop(idleMilliseconds));
    std::printf("idle_ticks %d\n", ticks);
    return 0;
}
