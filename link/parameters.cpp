// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/parameters.h"

QString parameterName(DeviceParameter parameter)
{
    const std::string_view name = parameterFacts(parameter).name;
    return QString::fromLatin1(name.data(), int(name.size()));
}

QString booleanText(bool value)
{
    return value ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
}

QString parameterValueText(DeviceParameter parameter, int value)
{
    return isBooleanParameter(parameter) ? booleanText(value != 0) : QString::number(value, 10);
}

QString parameterReport(DeviceParameter parameter, int value)
{
    return parameterName(parameter) + QStringLiteral(" = ") + parameterValueText(parameter, value);
}
