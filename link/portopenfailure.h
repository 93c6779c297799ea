// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QSerialPort>
#include <QString>

// What the system told about a port that would not open. Inline, so that
// only the programs that open the port need Qt's serial port module.
struct PortOpenFailure
{
    QSerialPort::SerialPortError error = QSerialPort::NoError;
    // Qt's own words for the error.
    QString errorText;
    // Whether the device's rights let this user read and write it. Windows
    // keeps no such rights on a COM port: there it is always true.
    bool deviceAccessible = true;
    // The group that owns the device, where the system has one.
    QString deviceGroup;
};

// Why the port did not open, in words the user can act on; for errors the
// user cannot act on, Qt's own words.
inline QString portOpenFailureReason(const PortOpenFailure &failure)
{
    switch (failure.error) {
    case QSerialPort::DeviceNotFoundError:
        return QStringLiteral("The device is gone. Plug the module in again; its port may come "
                              "back under another name.");
    case QSerialPort::PermissionError:
        // Linux reports a port another program holds (its lock file, or an
        // exclusive open) as it reports a device the user may not use, and
        // Windows reports a port in use as access denied.
        if (failure.deviceAccessible) {
            return QStringLiteral("The port is in use by another program. Close that program, "
                                  "or its connection to the port, and try again.");
        }
        if (failure.deviceGroup.isEmpty())
            return QStringLiteral("You are not allowed to use the port. Ask for read and write "
                                  "access to it.");
        return QStringLiteral("You are not allowed to use the port. Join the group that owns it, "
                              "%1 (sudo usermod -aG %1 $USER), then log out and in again.")
            .arg(failure.deviceGroup);
    default:
        return failure.errorText;
    }
}
