#include "tools/emulator/framehex.h"

QString frameHexText(const QByteArray &frame)
{
    return QString::fromLatin1(frame.toHex(' ').toUpper());
}
