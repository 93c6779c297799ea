// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/mainwindow.h"

#include "app/portlistrefresh.h"
#include "app/statusline.h"
#include "link/connectionmessages.h"
#include "link/serialports.h"
#include "ui_mainwindow.h"

#include <QMessageBox>
#include <QTimer>

namespace {

const char simulatorName[] = "simulator";

} // namespace

void MainWindow::fillPortList(const QList<PortDescription> &ports)
{
    ui->serialPortComboBox->addItems(portItemTexts(ports));
    // A module plugged in later shows up the next time the user opens the list.
    new PortListRefresh(ui->serialPortComboBox, ui->openButton);
}

void MainWindow::on_openButton_clicked()
{
    const QString name = portNameFromItemText(ui->serialPortComboBox->currentText());
    if (!openPort(name)) {
        QMessageBox failure(QMessageBox::Information, QString(),
                            QLatin1String(portNotOpenedMessage), QMessageBox::Ok);
        failure.setInformativeText(portOpenFailureReason(portOpenFailure(serialPort)));
        failure.exec();
        return;
    }
    setConnectedState(true);
    ui->openButton->setEnabled(false);
    timer->start(exchangeIntervalMs);
}

void MainWindow::on_closeButton_clicked()
{
    closePort();
    setConnectedState(false);
    ui->openButton->setEnabled(true);
}

bool MainWindow::openPort(const QString &name)
{
    if (name.toLower() == QLatin1String(simulatorName))
        return true;

    if (!openModulePort(serialPort, name))
        return false;
    portLossPending = false;

    // The opening's reads replace whatever a file sequence had queued.
    if (bulkOperation == BulkOperation::ProgramFromFile)
        endInterruptedProgram();
    session.open();
    messageTarget = MessageTarget::StatusBar;
    return true;
}

void MainWindow::closePort()
{
    // Without the module its values are no longer known, in the simulator neither.
    session.close();
    if (serialPort.isOpen())
        serialPort.close();
}

void MainWindow::setConnectedState(bool connected)
{
    ui->actionConfiguration_File->setEnabled(connected);
    ui->actionReset_to_Factory_Defaults->setEnabled(connected);

    using Controls = std::initializer_list<QWidget *>;
    for (QWidget *control :
         Controls{ui->openButton, ui->closeButton, ui->microstepComboBox, ui->x16CheckBox,
                  ui->doubleEdgeCheckBox, ui->standbyCurrentGroupBox, ui->runCurrentLineEdit,
                  ui->runCurrentDial})
        control->setEnabled(connected);

    enableStandbyControls(connected && ui->standbyCurrentGroupBox->isChecked());

    for (QWidget *control :
         Controls{ui->herzRadioButton, ui->x100HzRadioButton, ui->pulseFrequencyLineEdit,
                  ui->pulseFrequencyDial, ui->motorFullStepsLineEdit, ui->motorStepAngleLineEdit,
                  ui->rpmLineEdit, ui->rotateLeftButton, ui->rotateRightButton})
        control->setEnabled(connected);

    ui->stopButton->setEnabled(connected);
    if (connected) {
        applyMotion(MotionEvent::Connected);
    } else {
        ui->stopButton->setText(QLatin1String(stopButtonText(MotionState::DriverOff)));
        ui->statusBar->showMessage(QString());
        unpaintStatusBar(ui->statusBar);
    }
}

void MainWindow::watchForPortLoss()
{
    // Closed once, outside the port's signal.
    ::watchForPortLoss(serialPort, this, [this] {
        if (portLossPending)
            return;
        portLossPending = true;
        QTimer::singleShot(0, this, &MainWindow::handlePortLoss);
    });
}

void MainWindow::handlePortLoss()
{
    if (!portLossPending)
        return;
    portLossPending = false;
    on_closeButton_clicked();

    const QString message = QLatin1String(connectionLostMessage);
    ui->statusBar->showMessage(message);
    if (messageTarget == MessageTarget::FileDialogLog)
        appendLog(message);
}
