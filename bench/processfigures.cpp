// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/processfigures.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <sys/resource.h>
#include <time.h>

namespace {

constexpr double nanosecondsPerMillisecond = 1e6;

// "seconds.microseconds"; the decimal mark follows the shell's locale.
qint64 launchStampNanoseconds()
{
    const QString stamp = QString::fromLatin1(qgetenv("VELD_BENCH_LAUNCHED"));
    const QStringList parts = stamp.split(QRegularExpression(QStringLiteral("[.,]")));
    if (parts.size() != 2 || parts[1].size() != 6)
        return -1;
    bool secondsOk = false;
    bool microsecondsOk = false;
    const qint64 seconds = parts[0].toLongLong(&secondsOk);
    const qint64 microseconds = parts[1].toLongLong(&microsecondsOk);
    if (!secondsOk || !microsecondsOk)
        return -1;
    return seconds * 1000000000 + microseconds * 1000;
}

} // namespace

double millisecondsSinceLaunch()
{
    const qint64 launched = launchStampNanoseconds();
    if (launched < 0)
        return -1;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const qint64 nowNanoseconds = qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
    return double(nowNanoseconds - launched) / nanosecondsPerMillisecond;
}

long processStatusKiB(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray label = QByteArray(field) + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(label))
            return line.mid(label.size()).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &time) {
        return time.tv_sec + time.tv_usec / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}
