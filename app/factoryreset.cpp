#include "app/mainwindow.h"

#include "link/factorydefaults.h"

#include <QMessageBox>

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
