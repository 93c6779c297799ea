// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/portannouncement.h"

#include <QStandardPaths>
#include <QStringList>

QString portAnnouncementDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) +
           QStringLiteral("/veld7316-ports");
}

QByteArray announcementContent(const PortDescription &port)
{
    return (port.name + QLatin1Char('\n') + port.description + QLatin1Char('\n') +
            port.manufacturer + QLatin1Char('\n'))
        .toUtf8();
}

std::optional<PortDescription> parseAnnouncement(const QByteArray &content)
{
    QStringList lines = QString::fromUtf8(content).split(QLatin1Char('\n'));
    if (lines.size() == 4 && lines.last().isEmpty())
        lines.removeLast();
    if (lines.size() != 3 || lines.first().isEmpty())
        return std::nullopt;
    return PortDescription{lines.at(0), lines.at(1), lines.at(2)};
}
