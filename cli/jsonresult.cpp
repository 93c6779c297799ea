// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/jsonresult.h"

#include "link/parameters.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const char *commandName(CommandKind command)
{
    switch (command) {
    case CommandKind::List:
        return "list";
    case CommandKind::Read:
        return "read";
    case CommandKind::Verify:
        return "verify";
    case CommandKind::Program:
        return "program";
    case CommandKind::Help:
    case CommandKind::Version:
        break;
    }
    return "help";
}

QJsonObject valuesObject(const ParameterValues &values)
{
    QJsonObject object;
    for (DeviceParameter parameter : allDeviceParameters) {
        const int value = values[parameter];
        object.insert(parameterName(parameter),
                      isBooleanParameter(parameter) ? QJsonValue(value != 0) : QJsonValue(value));
    }
    return object;
}

QJsonArray portsArray(const QList<PortDescription> &ports)
{
    QJsonArray array;
    for (const PortDescription &port : ports) {
        array.append(QJsonObject{{QStringLiteral("name"), port.name},
                                 {QStringLiteral("description"), port.description},
                                 {QStringLiteral("manufacturer"), port.manufacturer}});
    }
    return array;
}

QString compactJson(const QJsonObject &object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

} // namespace

QString resultJson(const Arguments &arguments, const CommandResult &result)
{
    QJsonObject object{
        {QStringLiteral("command"), QLatin1String(commandName(arguments.command))},
        {QStringLiteral("exitStatus"), int(result.status)},
        {QStringLiteral("result"), QLatin1String(exitStatusName(result.status))},
    };
    if (arguments.command == CommandKind::List) {
        object.insert(QStringLiteral("ports"), portsArray(result.ports));
    } else {
        object.insert(QStringLiteral("port"), arguments.port);
        object.insert(QStringLiteral("file"), arguments.file);
        object.insert(QStringLiteral("differing"), QJsonArray::fromStringList(result.differing));
        object.insert(QStringLiteral("unconfirmed"),
                      QJsonArray::fromStringList(result.unconfirmed));
    }
    if (!result.error.isEmpty())
        object.insert(QStringLiteral("error"), result.error);
    if (result.fileValues)
        object.insert(QStringLiteral("fileValues"), valuesObject(*result.fileValues));
    if (result.moduleValues)
        object.insert(QStringLiteral("moduleValues"), valuesObject(*result.moduleValues));
    return compactJson(object);
}

QString refusedArgumentsJson(const QString &error)
{
    return compactJson(QJsonObject{
        {QStringLiteral("exitStatus"), int(ExitStatus::BadArguments)},
        {QStringLiteral("result"), QLatin1String(exitStatusName(ExitStatus::BadArguments))},
        {QStringLiteral("error"), error},
    });
}

QString portLines(const QList<PortDescription> &ports)
{
    QStringList lines;
    for (const PortDescription &port : ports)
        lines.append(port.name + QLatin1Char('\t') + port.description + QLatin1Char('\t') +
                     port.manufacturer);
    return lines.join(QLatin1Char('\n'));
}
