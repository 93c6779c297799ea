// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>
#include <QString>

class MainWindow;

namespace Ui {
class ConfigurationFile;
}

// Chooses the configuration file, starts the file sequences of the window
// and shows their log. It holds no parameter values itself.
class ConfigurationFile : public QDialog
{
    Q_OBJECT

public:
    // The parent must be the MainWindow: every action calls into it.
    explicit ConfigurationFile(QWidget *parent);
    ~ConfigurationFile() override;

    void appendLog(const QString &line);

private slots:
    void on_fileSelectButton_clicked();
    void on_writeButton_clicked();
    void on_okButton_clicked();
    void on_readButton_clicked();
    void on_verifyButton_clicked();

private:
    void runWithReadableFile(void (MainWindow::*sequence)());

    Ui::ConfigurationFile *ui;
    MainWindow *mainWindow;
    QString filePath;
    bool fileValid;
};
