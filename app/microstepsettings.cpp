#include "app/mainwindow.h"
#include "ui_mainwindow.h"

void MainWindow::selectMicrostepItem(int microsteps)
{
    const int index = ui->microstepComboBox->findText(QString::number(microsteps));
    if (index >= 0)
        ui->microstepComboBox->setCurrentIndex(index);
}

// Runs for selections from code too: replies, programming and the reset rely on it.
void MainWindow::on_microstepComboBox_currentIndexChanged(const QString &arg1)
{
    const int resolution = arg1.toInt(nullptr, 10);
    if (resolution != multiplierResolution && ui->x16CheckBox->isChecked()) {
        ui->x16CheckBox->setChecked(false);
        changeValue(microStepMultiplier, false);
    }
    changeValue(microStepResolution, resolution);
}

void MainWindow::on_x16CheckBox_clicked(bool checked)
{
    if (!checked) {
        changeValue(microStepMultiplier, false);
        return;
    }
    changeValue(microStepMultiplier, true);
    if (microStepDoubleEdge.value) {
        writeValue(microStepDoubleEdge, false);
        ui->doubleEdgeCheckBox->setChecked(false);
    }
    if (microStepResolution.value != multiplierResolution) {
        writeValue(microStepResolution, multiplierResolution);
        selectMicrostepItem(multiplierResolution);
    }
}

void MainWindow::on_doubleEdgeCheckBox_clicked(bool checked)
{
    if (!checked) {
        changeValue(microStepDoubleEdge, false);
        return;
    }
    // Double edge and the multiplier exclude each other.
    if (ui->x16CheckBox->isChecked()) {
        ui->x16CheckBox->setChecked(false);
        changeValue(microStepMultiplier, false);
    }
    changeValue(microStepDoubleEdge, true);
}
