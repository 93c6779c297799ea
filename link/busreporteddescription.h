// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QHash>
#include <QString>

// What a USB device itself reports as its product (its bus-reported device
// description), per port name, as Windows keeps it. Windows' own USB serial
// driver describes every port it serves as "USB Serial Device", so this is
// where a module on that driver still names itself. Empty elsewhere.
#ifdef Q_OS_WIN
QHash<QString, QString> busReportedDescriptions();
#else
inline QHash<QString, QString> busReportedDescriptions()
{
    return {};
}
#endif
