// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/idlemeasure.h"

#include "bench/processfigures.h"

#include <QEventLoop>
#include <QTimer>

double cpuSecondsOverEventLoop(int milliseconds)
{
    const double before = cpuSeconds();
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
    return cpuSeconds() - before;
}
