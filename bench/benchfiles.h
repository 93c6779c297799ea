// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

// Seven valid lines, every value other than the window's start value, so a
// Program has something to change.
QByteArray validConfiguration();

bool writeFile(const QString &path, const QByteArray &bytes);
