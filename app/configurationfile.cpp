// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/configurationfile.h"

#include "app/mainwindow.h"

#include "ui_configurationfile.h"

#include <QFileDialog>

ConfigurationFile::ConfigurationFile(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::ConfigurationFile)
{
    ui->setupUi(this);
    setFixedSize(380, 353);
    mainWindow = qobject_cast<MainWindow *>(parent);
    Q_ASSERT(mainWindow);
    fileValid = false;
}

ConfigurationFile::~ConfigurationFile()
{
    delete ui;
}

void ConfigurationFile::appendLog(const QString &line)
{
    ui->configurationFileLogTextEdit->appendPlainText(line);
}

void ConfigurationFile::on_fileSelectButton_clicked()
{
    // A save dialog, so that a new name can be given; Read fills it later.
    filePath =
        QFileDialog::getSaveFileName(this, tr("Configuration File"), QString(), tr("Files (*.txt)"),
                                     nullptr, QFileDialog::DontConfirmOverwrite);
    ui->filePathLineEdit->setText(filePath);
    mainWindow->setConfigurationFilePath(filePath);
    fileValid = mainWindow->readConfigurationFile();
}

void ConfigurationFile::on_writeButton_clicked()
{
    runWithReadableFile(&MainWindow::startProgramFromFile);
}

void ConfigurationFile::on_okButton_clicked()
{
    close();
}

void ConfigurationFile::on_readButton_clicked()
{
    runWithReadableFile(&MainWindow::startReadForFile);
}

void ConfigurationFile::on_verifyButton_clicked()
{
    runWithReadableFile(&MainWindow::verifyAgainstFile);
}

// The sequences work on the values of the file chosen last, so they need a
// file that was read without error.
void ConfigurationFile::runWithReadableFile(void (MainWindow::*sequence)())
{
    if (fileValid)
        (mainWindow->*sequence)();
    else
        appendLog(QStringLiteral("Please select file name!"));
}
