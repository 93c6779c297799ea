// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "link/portannouncement.h"

#include <QList>
#include <QString>
#include <QStringList>

// "name - description (manufacturer)"
QString portItemText(const PortDescription &port);

// Whether a port leads to a VELD-7316: its description names it ("7316"
// anywhere), or else what the device reports as its product does, as for a
// module on Windows' own USB serial driver ("USB Serial Device").
bool offeredAsModule(const QString &description, const QString &busReportedDescription);

// The ports that lead to a VELD-7316, in the given order.
QList<PortDescription> modulePorts(const QList<PortDescription> &ports);

// Texts of the ports that lead to a VELD-7316, in the given order, then "Simulator".
QStringList portItemTexts(const QList<PortDescription> &ports);

// The port name is everything before the first blank of an item text.
QString portNameFromItemText(const QString &itemText);

// Ports announced by files in the directory, in file name order. Files that
// cannot be read as an announcement, or whose port is a path that no longer
// exists (left by an emulator that crashed), are skipped. A bare device name
// such as COM5 is not in the file system and is kept.
QList<PortDescription> announcedPorts(const QString &directory);
