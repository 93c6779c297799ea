// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "link/busreporteddescription.h"
#include "link/portinput.h"
#include "link/portlist.h"
#include "link/portopenfailure.h"

#include <QFileInfo>
#include <QSerialPort>
#include <QSerialPortInfo>

// What the programs that talk to the module share about its port. Inline, so
// that only they need Qt's serial port module.

// The system's serial ports followed by the announced ones.
inline QList<PortDescription> availablePorts()
{
    QList<PortDescription> ports;
    const QList<QSerialPortInfo> systemPorts = QSerialPortInfo::availablePorts();
    const QHash<QString, QString> busReported = busReportedDescriptions();
    for (const QSerialPortInfo &info : systemPorts)
        ports.append({info.portName(), info.description(), info.manufacturer(),
                      busReported.value(info.portName())});
    return ports + announcedPorts(portAnnouncementDirectory());
}

// Opens the port to the module for reading and writing and sets its line: 9600
// baud, 8 data bits, no parity, one stop bit, no flow control, set only once
// the port is open. False when the port cannot be opened.
inline bool openModulePort(QSerialPort &port, const QString &name)
{
    port.setPortName(name);
    if (!port.open(QIODevice::ReadWrite))
        return false;
    port.setBaudRate(QSerialPort::Baud9600);
    port.setDataBits(QSerialPort::Data8);
    port.setFlowControl(QSerialPort::NoFlowControl);
    port.setParity(QSerialPort::NoParity);
    port.setStopBits(QSerialPort::OneStop);
    return true;
}

// What the system tells about the port that would not open: Qt's error and,
// where devices are files, who may use the device.
inline PortOpenFailure portOpenFailure(const QSerialPort &port)
{
    PortOpenFailure failure;
    failure.error = port.error();
    failure.errorText = port.errorString();
#ifndef Q_OS_WIN
    // Found where Qt looks for it: a name that is no path lives in /dev.
    const QString name = port.portName();
    const bool path = name.startsWith(QLatin1Char('/')) || name.startsWith(QLatin1String("./")) ||
                      name.startsWith(QLatin1String("../"));
    const QFileInfo device(path ? name : QLatin1String("/dev/") + name);
    failure.deviceAccessible = device.isReadable() && device.isWritable();
    failure.deviceGroup = device.group();
#endif
    return failure;
}

// Whether the port reports that its device is gone: an unplugged device makes
// it report read or resource errors, on a pseudo-terminal even in a busy loop.
// On Windows a pulled cable may instead fail a write, or complete a pending
// read or write refused (the device is being deleted), not found or with an
// error Qt does not name, after which Qt reads no more from the port.
inline bool isPortLoss(QSerialPort::SerialPortError error)
{
    return error == QSerialPort::ReadError || error == QSerialPort::ResourceError ||
           error == QSerialPort::WriteError || error == QSerialPort::PermissionError ||
           error == QSerialPort::DeviceNotFoundError || error == QSerialPort::UnknownError;
}

// Calls lost, in the context's thread, whenever the open port reports that its
// device is gone; the caller acts on the first call.
template <typename Lost> void watchForPortLoss(QSerialPort &port, QObject *context, Lost lost)
{
    QObject::connect(&port, &QSerialPort::errorOccurred, context,
                     [&port, lost](QSerialPort::SerialPortError error) {
                         if (port.isOpen() && isPortLoss(error))
                             lost();
                     });
}
