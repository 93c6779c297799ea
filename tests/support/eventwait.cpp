// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/support/eventwait.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace {

void runEventLoopOnce()
{
    QEventLoop loop;
    QTimer::singleShot(1, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

bool waitUntil(const std::function<bool()> &condition, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        runEventLoopOnce();
    }
    return true;
}

void processEventsFor(int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds)
        runEventLoopOnce();
}
