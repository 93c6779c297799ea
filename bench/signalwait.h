// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QEventLoop>
#include <QObject>
#include <QTimer>

#include <functional>

// Runs the event loop until the condition holds, checking it whenever the
// sender emits the signal. Returns false when the time runs out first.
// Driven by the signal rather than by polling, so waiting costs no CPU and
// adds no delay to what is timed.
template <typename Sender, typename Signal>
bool waitForSignal(const Sender *sender, Signal signal, const std::function<bool()> &done,
                   int timeoutMs)
{
    if (done())
        return true;
    QEventLoop loop;
    QObject::connect(sender, signal, &loop, [&] {
        if (done())
            loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}
