#include "config/configwriter.h"

#include <QString>
#include <QTextStream>

bool writeConfiguration(QTextStream &stream, const std::function<int(DeviceParameter)> &valueOf,
                        const std::function<void(const QString &)> &log)
{
    log(QStringLiteral("Writing to file ..."));
    for (DeviceParameter parameter : configurationFileOrder) {
        const int value = valueOf(parameter);
        stream << parameterName(parameter) << ' ';
        if (isBooleanParameter(parameter))
            stream << booleanText(value != 0);
        else
            stream << value;
        stream << '\n';
        log(parameterReport(parameter, value));
    }
    stream.flush();
    return stream.status() == QTextStream::Ok;
}
