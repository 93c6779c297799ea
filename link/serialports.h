#pragma once

#include "link/frame.h"
#include "link/portlist.h"

#include <QSerialPort>
#include <QSerialPortInfo>

// What the programs that talk to the module share about its port. Inline, so
// that only they need Qt's serial port module.

// The system's serial ports followed by the announced ones.
inline QList<PortDescription> availablePorts()
{
    QList<PortDescription> ports;
    const QList<QSerialPortInfo> systemPorts = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : systemPorts)
        ports.append({info.portName(), info.description(), info.manufacturer()});
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

// Bytes of an earlier reply that came late or in pieces must not be taken for
// part of the next request's reply. They are read out rather than purged: a
// purge aborts the pending read on Windows, which reports it like a pulled cable.
inline void discardStrayInput(QSerialPort &port)
{
    port.waitForReadyRead(0);
    port.readAll();
}

// What has arrived of a reply, at most one frame, without waiting; collected
// even if the port's notifier has not run yet.
inline QByteArray receivedReplyBytes(QSerialPort &port)
{
    port.waitForReadyRead(0);
    return port.read(frameLength);
}
