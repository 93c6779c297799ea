// SPDX-License-Identifier: GPL-3.0-or-later

#include "tools/emulator/framehex.h"

QString frameHexText(const QByteArray &frame)
{
    return QString::fromLatin1(frame.toHex(' ').toUpper());
}
