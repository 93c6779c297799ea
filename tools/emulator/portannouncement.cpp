// SPDX-License-Identifier: GPL-3.0-or-later

#include "tools/emulator/portannouncement.h"

#include "link/portannouncement.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <atomic>

namespace {

// Unique among all announcers: the process id tells processes apart, the
// counter the announcements of one process.
QString uniqueFileName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("emulator-%1-%2%3")
        .arg(QCoreApplication::applicationPid())
        .arg(++counter)
        .arg(QLatin1String(announcementFileSuffix));
}

} // namespace

PortAnnouncement::~PortAnnouncement()
{
    withdraw();
}

bool PortAnnouncement::publish(const QString &directory, const QString &portPath,
                               const QString &description, const QString &manufacturer)
{
    withdraw();
    if (!QDir().mkpath(directory))
        return false;
    QSaveFile file(QDir(directory).filePath(uniqueFileName()));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    file.write(announcementContent({portPath, description, manufacturer}));
    if (!file.commit())
        return false;
    path = file.fileName();
    return true;
}

void PortAnnouncement::withdraw()
{
    if (path.isEmpty())
        return;
    QFile::remove(path);
    path.clear();
}
