// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/mainwindow.h"

#include "app/configurationfile.h"
#include "config/configfileio.h"
#include "config/sequencelog.h"
#include "config/verification.h"
#include "link/factorydefaults.h"

#include "ui_mainwindow.h"

#include <QMessageBox>

// The Tools menu: the configuration file dialog with what it calls, and the
// factory reset, which writes a whole set of values as Program does.

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

void MainWindow::startReadForFile()
{
    appendLog(QLatin1String(readingFromModuleLine));
    messageTarget = MessageTarget::FileDialogLog;
    bulkOperation = BulkOperation::ReadForFile;
    session.requestAll(RequestState::Read);
}

void MainWindow::verifyAgainstFile()
{
    appendLog(QLatin1String(verifyStartLine));
    const PerParameter<Verification> verdicts =
        verifyValues(fileValues(), knownModuleValues(session.link()));
    for (DeviceParameter parameter : readOrder) {
        if (verdicts[parameter] == Verification::Verified)
            appendLog(verifiedLine(parameter));
        else if (verdicts[parameter] == Verification::NotKnown)
            appendLog(notVerifiedLine(parameter));
    }
    appendLog(QLatin1String(verifyCompleteLine));
}

void MainWindow::startProgramFromFile()
{
    appendLog(QLatin1String(programmingLine));
    messageTarget = MessageTarget::FileDialogLog;
    bulkOperation = BulkOperation::ProgramFromFile;
    session.clearUnconfirmedWrites();

    placeValues(fileValues(), RequestState::Write);
}

void MainWindow::runReadCompletionHook()
{
    if (bulkOperation != BulkOperation::ReadForFile)
        return;
    appendLog(QLatin1String(readingDoneLine));
    // Only what the module gave in this Read goes into the file.
    const QStringList notFromModule = parametersNotFromModule(session.link());
    if (notFromModule.isEmpty()) {
        writeConfigurationFile();
    } else {
        appendLog(noValidValueLine(notFromModule));
        appendLog(QLatin1String(fileNotWrittenLine));
    }
    endFileSequence();
}

void MainWindow::runWriteCompletionHook()
{
    if (bulkOperation != BulkOperation::ProgramFromFile)
        return;
    const QStringList unconfirmed = session.unconfirmedWrites();
    if (unconfirmed.isEmpty())
        appendLog(QLatin1String(valuesWrittenLine));
    else
        appendLog(unconfirmedWritesLine(unconfirmed));
    endFileSequence();
}

// Opening a port replaces the queued writes with reads, so the Program
// cannot finish any more.
void MainWindow::endInterruptedProgram()
{
    appendLog(QStringLiteral(
        "ERROR: Programming interrupted by opening the port! Values not written to VELD-7316."));
    endFileSequence();
}

// The log keeps what the sequence did; what the main window's controls cause
// is told in the status bar again, where the user looks.
void MainWindow::endFileSequence()
{
    bulkOperation = BulkOperation::None;
    messageTarget = MessageTarget::StatusBar;
}

void MainWindow::appendLog(const QString &line)
{
    configurationFile->appendLog(line);
}

void MainWindow::on_actionConfiguration_File_triggered()
{
    configurationFile->exec();
}

void MainWindow::on_actionReset_to_Factory_Defaults_triggered()
{
    QMessageBox confirmation(QMessageBox::Warning, QString(),
                             QStringLiteral("Values will be Reset to Factory Default!"),
                             QMessageBox::Ok | QMessageBox::Cancel);
    if (confirmation.exec() != QMessageBox::Ok)
        return;

    // Every entry is written, also where it already holds the default.
    placeValues(factoryDefaults(), RequestState::Write);
}
