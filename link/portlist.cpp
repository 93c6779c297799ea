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

} // namespace

QString portItemText(const PortDescription &port)
{
    return port.name + QStringLiteral(" - ") + port.description + QStringLiteral(" (") +
           port.manufacturer + QLatin1Char(')');
}

QList<PortDescription> modulePorts(const QList<PortDescription> &ports)
{
    QList<PortDescription> matching;
    for (const PortDescription &port : ports) {
        if (port.description.contains(QLatin1String("7316")))
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
        if (port && QFileInfo::exists(port->name))
            ports.append(*port);
    }
    return ports;
}
