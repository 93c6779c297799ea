#include "app/mainwindow.h"

#include "config/configurationfile.h"
#include "config/sequencelog.h"

#include "ui_mainwindow.h"

void MainWindow::startReadForFile()
{
    appendLog(QLatin1String(readingFromModuleLine));
    messageTarget = MessageTarget::FileDialogLog;
    bulkOperation = BulkOperation::ReadForFile;
    requestAll(RequestState::Read);
}

void MainWindow::verifyAgainstFile()
{
    appendLog(QLatin1String(verifyStartLine));
    for (DeviceParameter parameter : readOrder) {
        if (fileValueOf(parameter) == cachedValue(parameter))
            appendLog(verifiedLine(parameter));
    }
    appendLog(QLatin1String(verifyCompleteLine));
}

void MainWindow::startProgramFromFile()
{
    appendLog(QLatin1String(programmingLine));
    messageTarget = MessageTarget::FileDialogLog;
    bulkOperation = BulkOperation::ProgramFromFile;
    unconfirmedWrites.clear();

    placeValues(fileValues(), RequestState::Write);
}

void MainWindow::runReadCompletionHook()
{
    if (bulkOperation != BulkOperation::ReadForFile)
        return;
    appendLog(QLatin1String(readingDoneLine));
    writeConfigurationFile();
    bulkOperation = BulkOperation::None;
}

void MainWindow::runWriteCompletionHook()
{
    if (bulkOperation != BulkOperation::ProgramFromFile)
        return;
    if (unconfirmedWrites.isEmpty()) {
        appendLog(QLatin1String(valuesWrittenLine));
    } else {
        appendLog(unconfirmedWritesLine(unconfirmedWrites));
    }
    bulkOperation = BulkOperation::None;
}

// Opening a port replaces the queued writes with reads, so the Program
// cannot finish any more.
void MainWindow::endInterruptedProgram()
{
    appendLog(QStringLiteral(
        "ERROR: Programming interrupted by opening the port! Values not written to VELD-7316."));
    bulkOperation = BulkOperation::None;
}

void MainWindow::appendLog(const QString &line)
{
    configurationFile->appendLog(line);
}

void MainWindow::on_actionConfiguration_File_triggered()
{
    configurationFile->setFixedSize(380, 353);
    configurationFile->exec();
}
