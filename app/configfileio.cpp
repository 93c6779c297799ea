#include "app/mainwindow.h"

#include "config/configreader.h"
#include "config/configwriter.h"

#include <QFile>
#include <QTextStream>

void MainWindow::setConfigurationFilePath(const QString &path)
{
    configurationFilePath = path;
}

bool MainWindow::readConfigurationFile()
{
    QFile file(configurationFilePath);
    // An existing file is only read, so a read-only one works as well. A new
    // name (the chooser offers those) is created empty: Read fills it later.
    const QIODevice::OpenMode access = file.exists() ? QIODevice::ReadOnly : QIODevice::ReadWrite;
    if (!file.open(access | QIODevice::Text)) {
        appendLog(QStringLiteral("ERROR: cannot open file <") + configurationFilePath +
                  QStringLiteral(">!"));
        return false;
    }
    return readConfiguration(
        file, [this](const QString &line) { appendLog(line); },
        [this](DeviceParameter parameter, int value) { setFileValue(parameter, value); });
}

bool MainWindow::writeConfigurationFile()
{
    QFile file(configurationFilePath);
    bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text);
    if (written) {
        QTextStream stream(&file);
        written = writeConfiguration(
            stream, [this](DeviceParameter parameter) { return cachedValue(parameter); },
            [this](const QString &line) { appendLog(line); });
    }
    if (!written) {
        appendLog(QStringLiteral("ERROR: cannot write file <") + configurationFilePath +
                  QStringLiteral(">!"));
    }
    return written;
}
