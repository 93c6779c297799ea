#pragma once

#include "link/portlist.h"

#include <QSerialPortInfo>

// The system's serial ports followed by the announced ones. Inline, so that
// only the programs that list ports need Qt's serial port module.
inline QList<PortDescription> availablePorts()
{
    QList<PortDescription> ports;
    const QList<QSerialPortInfo> systemPorts = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : systemPorts)
        ports.append({info.portName(), info.description(), info.manufacturer()});
    return ports + announcedPorts(portAnnouncementDirectory());
}
