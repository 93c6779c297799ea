#pragma once

#include "link/portannouncement.h"

#include <QList>
#include <QString>
#include <QStringList>

// "name - description (manufacturer)"
QString portItemText(const PortDescription &port);

// The ports that lead to a VELD-7316, in the given order: their description
// names it.
QList<PortDescription> modulePorts(const QList<PortDescription> &ports);

// Texts of the ports that lead to a VELD-7316, in the given order, then "Simulator".
QStringList portItemTexts(const QList<PortDescription> &ports);

// The port name is everything before the first blank of an item text.
QString portNameFromItemText(const QString &itemText);

// Ports announced by files in the directory, in file name order. Files that
// cannot be read as an announcement, or whose port no longer exists (left by
// an emulator that crashed), are skipped.
QList<PortDescription> announcedPorts(const QString &directory);
