#include "app/mainwindow.h"

#include "config/configfileio.h"

void MainWindow::setConfigurationFilePath(const QString &path)
{
    configurationFilePath = path;
}

bool MainWindow::readConfigurationFile()
{
    // The dialog's chooser offers new names: Read fills such a file later.
    return readConfigurationFileAt(
        configurationFilePath, MissingFile::Create,
        [this](const QString &line) { appendLog(line); },
        [this](DeviceParameter parameter, int value) { setFileValue(parameter, value); });
}

bool MainWindow::writeConfigurationFile()
{
    return writeConfigurationFileAt(
        configurationFilePath,
        [this](DeviceParameter parameter) { return session.link().values[parameter]; },
        [this](const QString &line) { appendLog(line); });
}
