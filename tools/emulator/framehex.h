// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

// "01 06 B3 00 00 00 00 00 BA": upper-case hexadecimal, one blank between bytes.
QString frameHexText(const QByteArray &frame);
