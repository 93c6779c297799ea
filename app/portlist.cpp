#include "app/portlist.h"

#include "tools/emulator/announcementlocation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSerialPortInfo>

#include <optional>

namespace {

// Three lines: port path, description, manufacturer; the last line end is optional.
std::optional<PortDescription> readAnnouncement(const QString &filePath)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    if (lines.size() == 4 && lines.last().isEmpty())
        lines.removeLast();
    if (lines.size() != 3 || lines.first().isEmpty())
        return std::nullopt;
    return PortDescription{lines.at(0), lines.at(1), lines.at(2)};
}

} // namespace

QString portItemText(const PortDescription &port)
{
    return port.name + QStringLiteral(" - ") + port.description + QStringLiteral(" (") +
           port.manufacturer + QLatin1Char(')');
}

QStringList portItemTexts(const QList<PortDescription> &ports)
{
    QStringList texts;
    for (const PortDescription &port : ports) {
        if (port.description.contains(QLatin1String("7316")))
            texts.append(portItemText(port));
    }
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

QString portAnnouncementDirectory()
{
    return announcementDirectory();
}

QList<PortDescription> availablePorts()
{
    QList<PortDescription> ports;
    const QList<QSerialPortInfo> systemPorts = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : systemPorts)
        ports.append({info.portName(), info.description(), info.manufacturer()});
    return ports + announcedPorts(portAnnouncementDirectory());
}
