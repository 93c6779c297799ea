// SPDX-License-Identifier: GPL-3.0-or-later

#include "config/sequencelog.h"

QString verifiedLine(DeviceParameter parameter)
{
    // "verfiy" is misspelt on purpose: the line has read so since the first
    // release, and logs are compared against it.
    if (parameter == DeviceParameter::HalfCurrentRange)
        return QStringLiteral("HalfCurrentRange verfiy OK!");
    return parameterName(parameter) + QStringLiteral(" verify OK!");
}

QString unconfirmedWritesLine(const QStringList &parameterNames)
{
    return QStringLiteral("ERROR: VELD-7316 did not confirm ") +
           parameterNames.join(QStringLiteral(", ")) + QStringLiteral("!");
}

QString notVerifiedLine(DeviceParameter parameter)
{
    return parameterName(parameter) + QStringLiteral(" not verified: value in VELD-7316 unknown!");
}

QString noValidValueLine(const QStringList &parameterNames)
{
    return QStringLiteral("ERROR: VELD-7316 sent no valid value for ") +
           parameterNames.join(QStringLiteral(", ")) + QLatin1Char('!');
}
