#include "app/mainwindow.h"

#include "config/configurationfile.h"
#include "link/exchangeorder.h"

#include "ui_mainwindow.h"

namespace {

QString verifiedLine(DeviceParameter parameter)
{
    // Spelled so since the first release; logs are compared against it.
    if (parameter == DeviceParameter::HalfCurrentRange)
        return QStringLiteral("HalfCurrentRange verfiy OK!");
    return parameterName(parameter) + QStringLiteral(" verify OK!");
}

} // namespace

void MainWindow::startReadForFile()
{
    appendLog(QStringLiteral("Reading values from VELD-7316 ..."));
    messageTarget = MessageTarget::FileDialogLog;
    bulkOperation = BulkOperation::ReadForFile;
    requestAll(RequestState::Read);
}

void MainWindow::verifyAgainstFile()
{
    appendLog(QStringLiteral("Verify values ..."));
    for (DeviceParameter parameter : readOrder) {
        if (fileValueOf(parameter) == cachedValue(parameter))
            appendLog(verifiedLine(parameter));
    }
    appendLog(QStringLiteral("Verify complete."));
}

void MainWindow::startProgramFromFile()
{
    appendLog(QStringLiteral("Programming values to VELD-7316 ..."));
    messageTarget = MessageTarget::FileDialogLog;
    bulkOperation = BulkOperation::ProgramFromFile;
    unconfirmedWrites.clear();

    placeValues(fileValues(), RequestState::Write);
}

void MainWindow::runReadCompletionHook()
{
    if (bulkOperation != BulkOperation::ReadForFile)
        return;
    appendLog(QStringLiteral("Reading done."));
    writeConfigurationFile();
    bulkOperation = BulkOperation::None;
}

void MainWindow::runWriteCompletionHook()
{
    if (bulkOperation != BulkOperation::ProgramFromFile)
        return;
    if (unconfirmedWrites.isEmpty()) {
        appendLog(QStringLiteral("Values written to VELD-7316."));
    } else {
        appendLog(QStringLiteral("ERROR: VELD-7316 did not confirm ") +
                  unconfirmedWrites.join(QStringLiteral(", ")) + QStringLiteral("!"));
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
