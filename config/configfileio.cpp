// SPDX-License-Identifier: GPL-3.0-or-later

#include "config/configfileio.h"

#include "config/configreader.h"
#include "config/configwriter.h"

#include <QFile>
#include <QTextStream>

bool readConfigurationFileAt(const QString &path, MissingFile missing, const LogLine &log,
                             const std::function<void(DeviceParameter, int)> &store)
{
    QFile file(path);
    const bool create = missing == MissingFile::Create && !file.exists();
    if (!file.open((create ? QIODevice::ReadWrite : QIODevice::ReadOnly) | QIODevice::Text)) {
        log(QStringLiteral("ERROR: cannot open file <") + path + QStringLiteral(">!"));
        return false;
    }
    return readConfiguration(file, log, store);
}

bool writeConfigurationFileAt(const QString &path,
                              const std::function<int(DeviceParameter)> &valueOf,
                              const LogLine &log)
{
    QFile file(path);
    // Truncated: bytes left over from a longer file would be read back as
    // further lines.
    bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text);
    if (written) {
        QTextStream stream(&file);
        written = writeConfiguration(stream, valueOf, log);
    }
    if (!written)
        log(QStringLiteral("ERROR: cannot write file <") + path + QStringLiteral(">!"));
    return written;
}
