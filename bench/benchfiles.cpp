// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/benchfiles.h"

#include <QFile>

QByteArray validConfiguration()
{
    return QByteArrayLiteral("MicroStepResolution 64\n"
                             "MicroStepMultiplier FALSE\n"
                             "MicroStepDoubleEdge TRUE\n"
                             "HalfCurrentRange TRUE\n"
                             "RunCurrent 20\n"
                             "StandbyCurrent 8\n"
                             "StandbyCurrentDelay 100\n");
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}
