// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/mainwindow.h"
#include "bench/benchfiles.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QVector>

#include <algorithm>
#include <cstdio>

// The configuration reader on multi-megabyte junk, which it must refuse at
// once, beside a valid file. Each case is read several times; the median
// counts.

namespace {

constexpr int readsPerCase = 9;
constexpr int junkBytes = 8 * 1024 * 1024;

QByteArray randomBytes()
{
    QVector<quint32> words(junkBytes / int(sizeof(quint32)));
    QRandomGenerator(7316).fillRange(words.data(), words.size());
    return QByteArray(reinterpret_cast<const char *>(words.constData()), junkBytes);
}

struct Reading
{
    double medianMs = 0;
    bool accepted = false;
};

Reading timeReading(MainWindow &window, const QString &path)
{
    QVector<double> times;
    bool accepted = false;
    for (int i = 0; i < readsPerCase; ++i) {
        QElapsedTimer clock;
        clock.start();
        window.setConfigurationFilePath(path);
        accepted = window.readConfigurationFile();
        times.append(clock.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return {times[readsPerCase / 2], accepted};
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    MainWindow window;
    QTemporaryDir directory;
    const QList<QPair<const char *, QByteArray>> cases = {
        {"random", randomBytes()},
        {"line", QByteArray(junkBytes, 'x')},
        {"valid", validConfiguration()},
    };
    for (const auto &[name, bytes] : cases) {
        const QString path = directory.filePath(QLatin1String(name) + QLatin1String(".txt"));
        if (!writeFile(path, bytes)) {
            std::fprintf(stderr, "Could not write %s\n", qPrintable(path));
            return 1;
        }
        const Reading reading = timeReading(window, path);
        std::printf("badinput_%s_ms %.3f\nbadinput_%s_accepted %d\n", name, reading.medianMs, name,
                    int(reading.accepted));
    }
    return 0;
}
