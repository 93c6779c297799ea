// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/portlist.h"

#include "link/portannouncement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

std::optional<PortDescription> readAnnouncement(const QString &filePath)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    return parseAnnouncement(file.readAll());
}

bool announcedPortPresent(const QString &name)
{
    const bool path = name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\'));
    return !path || QFileInfo::exists(name);
}

} // namespace

QString portItemText(const PortDescription &port)
{
    return port.name + QStringLiteral(" - ") + port.description + QStringLiteral(" (") +
           port.manufacturer + QLatin1Char(')');
}

bool offeredAsModule(const QString &description, const QString &busReportedDescription)
{
    const QLatin1String model("7316");
    return description.contains(model) || busReportedDescription.contains(model);
}

QList<PortDescription> modulePorts(const QList<PortDescription> &ports)
{
    QList<PortDescription> matching;
    for (const PortDescription &port : ports) {
        if (offeredAsModule(port.description, port.busReportedDescription))
            matching.append(port);
    }
    return matching;
}

QStringList portItemTexts(const QList<PortDescription> &ports)
{
    QStringList texts;
    for (const PortDescription &port : modulePorts(ports))
        texts.append(portItemText(port));
    texts.append(QStringLiteral("Simulator"));
    return texts;
}

QString portNameFromItemText(const QString &itemText)
{
    return itemText.split(QLatin1Char(' ')).first();
}

QList<PortDescription> announcedPorts(const QString &directory)
{
    QList<PortDescription> ports;
    const QDir dir(directory);
    const QStringList fileNames =
        dir.entryList({QLatin1String(announcementFilePattern)}, QDir::Files, QDir::Name);
    for (const QString &fileName : fileNames) {
        const std::optional<PortDescription> port = readAnnouncement(dir.filePath(fileName));
        if (port && announcedPortPresent(port->name))
            ports.append(*port);
    }
    return ports;
}
