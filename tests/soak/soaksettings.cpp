// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/soak/soaksettings.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QString>

namespace {

constexpr int defaultSeconds = 45;

quint32 seedFromClock()
{
    const quint64 now = quint64(QDateTime::currentMSecsSinceEpoch());
    return quint32(now ^ (now >> 32) ^ quint64(QCoreApplication::applicationPid()));
}

} // namespace

SoakSettings SoakSettings::fromEnvironment()
{
    SoakSettings settings;
    bool ok = false;
    const int seconds = qEnvironmentVariableIntValue("VELD_SOAK_SECONDS", &ok);
    settings.seconds = ok && seconds > 0 ? seconds : defaultSeconds;
    const quint32 seed = qEnvironmentVariable("VELD_SOAK_SEED").toUInt(&ok, 10);
    settings.seed = ok ? seed : seedFromClock();
    return settings;
}
