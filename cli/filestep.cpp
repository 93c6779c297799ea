// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/filestep.h"

#include "cli/interruption.h"

#include <QEventLoop>
#include <QMutex>
#include <QMutexLocker>
#include <QStringList>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace {

// As often as the exchange's tick looks for an interruption.
constexpr int interruptionCheckMs = 20;

std::atomic<bool> stepLeftBlocked{false};

// Never destroyed while its step runs: one left blocked is left for good.
class FileStepThread : public QThread
{
public:
    explicit FileStepThread(FileStep fileStep)
        : step(std::move(fileStep))
    {
    }

    QStringList takeLines()
    {
        QMutexLocker locker(&mutex);
        QStringList taken;
        taken.swap(lines);
        return taken;
    }

    bool stepEnded()
    {
        QMutexLocker locker(&mutex);
        return ended;
    }

    bool stepSucceeded()
    {
        QMutexLocker locker(&mutex);
        return succeeded;
    }

protected:
    void run() override
    {
        const bool result = step([this](const QString &line) {
            QMutexLocker locker(&mutex);
            lines.append(line);
        });
        QMutexLocker locker(&mutex);
        ended = true;
        succeeded = result;
    }

private:
    FileStep step;
    QMutex mutex;
    QStringList lines;
    bool ended = false;
    bool succeeded = false;
};

} // namespace

FileStepEnd runFileStep(FileStep step, const StepLog &log)
{
    auto *thread = new FileStepThread(std::move(step));
    const auto logTaken = [&] {
        for (const QString &line : thread->takeLines())
            log(line);
    };
    QEventLoop events;
    QTimer check;
    QObject::connect(thread, &QThread::finished, &events, &QEventLoop::quit);
    QObject::connect(&check, &QTimer::timeout, &events, [&] {
        logTaken();
        if (interruptionRequested())
            events.quit();
    });
    thread->start();
    check.start(interruptionCheckMs);
    events.exec();
    // Asked first: a step that has ended has handed over all its lines.
    const bool ended = thread->stepEnded();
    logTaken();
    if (!ended) {
        stepLeftBlocked = true;
        return FileStepEnd::Interrupted;
    }
    thread->wait();
    const bool succeeded = thread->stepSucceeded();
    delete thread;
    return succeeded ? FileStepEnd::Succeeded : FileStepEnd::Failed;
}

int leaveBlockedFileSteps(int status)
{
    if (stepLeftBlocked) {
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}
