// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/support/answerfilechooser.h"

#include "tests/support/modaldialogs.h"

#include <QCoreApplication>
#include <QFileDialog>

void answerFileChooser(const QString &path, ChooserSeen *seen)
{
    // Qt's own chooser: a native one, as on Windows, is out of a test's reach.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    whenModalShown([path, seen](QWidget *modal) {
        auto *chooser = qobject_cast<QFileDialog *>(modal);
        if (!chooser) {
            modal->close();
            return;
        }
        seen->shown = true;
        seen->title = chooser->windowTitle();
        seen->nameFilters = chooser->nameFilters();
        seen->acceptsSave = chooser->acceptMode() == QFileDialog::AcceptSave;
        seen->confirmsOverwrite = !chooser->testOption(QFileDialog::DontConfirmOverwrite);
        if (path.isEmpty()) {
            chooser->reject();
            return;
        }
        chooser->selectFile(path);
        // As the Save button does; QFileDialog hides its accept() behind QDialog's.
        static_cast<QDialog *>(chooser)->accept();
        // A chooser that refused the answer must not keep the test waiting.
        if (chooser->isVisible())
            chooser->reject();
    });
}
