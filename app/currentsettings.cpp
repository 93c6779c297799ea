#include "app/mainwindow.h"
#include "link/displayformat.h"
#include "ui_mainwindow.h"

QString MainWindow::formatCurrent(int value) const
{
    return ::formatCurrent(value, halfCurrentRange.value);
}

QString MainWindow::formatDelay(int value) const
{
    return ::formatDelay(value);
}

int MainWindow::runCurrentDialPosition() const
{
    return ::runCurrentDialPosition(runCurrent.value, halfCurrentRange.value);
}

// The standby current controls sit outside the group box, so the box's own
// check state does not reach them.
void MainWindow::enableStandbyControls(bool enabled)
{
    ui->delayLineEdit->setEnabled(enabled);
    ui->delayDial->setEnabled(enabled);
    ui->standbyCurrentLineEdit->setEnabled(enabled);
    ui->standbyCurrentDial->setEnabled(enabled);
}

void MainWindow::on_runCurrentDial_sliderMoved(int position)
{
    const bool halfRange = isHalfRangeDialPosition(position);
    // The dial sets the range too: a read of the range still under way must
    // not put the current the user chose on the other scale.
    if (halfRange != halfCurrentRange.value || halfCurrentRange.request == RequestState::Read) {
        writeValue(halfCurrentRange, halfRange);
        ui->standbyCurrentLineEdit->setText(formatCurrent(standbyCurrent.value));
    }

    const int value = runCurrentFromDialPosition(position);
    if (value != runCurrent.value) {
        writeValue(runCurrent, value);
        // Without a standby current of its own, the standby current follows.
        if (!ui->standbyCurrentGroupBox->isChecked()) {
            writeValue(standbyCurrent, value);
            ui->standbyCurrentLineEdit->setText(formatCurrent(value));
            ui->standbyCurrentDial->setSliderPosition(value);
        }
    }
    ui->runCurrentLineEdit->setText(formatCurrent(runCurrent.value));
}

void MainWindow::on_standbyCurrentDial_sliderMoved(int position)
{
    changeValue(standbyCurrent, position);
    ui->standbyCurrentLineEdit->setText(formatCurrent(position));
}

void MainWindow::on_delayDial_sliderMoved(int position)
{
    changeValue(standbyCurrentDelay, position);
    ui->delayLineEdit->setText(formatDelay(position));
}

void MainWindow::on_standbyCurrentGroupBox_clicked(bool checked)
{
    if (checked) {
        enableStandbyControls(true);
        return;
    }
    // Without a standby current of its own the module stands by at the run
    // current at once: both are written, so that it holds what is shown.
    enableStandbyControls(false);
    writeValue(standbyCurrent, runCurrent.value);
    ui->standbyCurrentLineEdit->setText(formatCurrent(standbyCurrent.value));
    ui->standbyCurrentDial->setSliderPosition(standbyCurrent.value);
    writeValue(standbyCurrentDelay, 0);
    ui->delayLineEdit->setText(QStringLiteral("0"));
    ui->delayDial->setSliderPosition(0);
}
