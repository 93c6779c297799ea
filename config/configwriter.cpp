// SPDX-License-Identifier: GPL-3.0-or-later

#include "config/configwriter.h"

#include <QString>
#include <QTextStream>

bool writeConfiguration(QTextStream &stream, const std::function<int(DeviceParameter)> &valueOf,
                        const std::function<void(const QString &)> &log)
{
    log(QStringLiteral("Writing to file ..."));
    for (DeviceParameter parameter : configurationFileOrder) {
        const int value = valueOf(parameter);
        stream << parameterName(parameter) << ' ' << parameterValueText(parameter, value) << '\n';
        log(parameterReport(parameter, value));
    }
    stream.flush();
    return stream.status() == QTextStream::Ok;
}
