// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/lostreply.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <memory>

void loseFirstReplyTo(FakeModule &module, const QByteArray &request)
{
    auto lost = std::make_shared<bool>(false);
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = QObject::connect(&module, &FakeModule::frameReceived, &module,
                                   [&module, request, lost, connection](const QByteArray &frame) {
                                       FakeModuleFaults faults;
                                       faults.silent = !*lost && frame == request;
                                       module.setFaults(faults);
                                       if (*lost)
                                           QObject::disconnect(*connection);
                                       *lost = *lost || faults.silent;
                                   });
}

void runEventsFor(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

bool waitUntilModuleQuiet(const FakeModule &module, int quietMs, int timeoutMs)
{
    QElapsedTimer overall;
    overall.start();
    while (overall.elapsed() < timeoutMs) {
        const int before = int(module.receivedFrames().size());
        runEventsFor(quietMs);
        if (module.receivedFrames().size() == before)
            return true;
    }
    return false;
}
