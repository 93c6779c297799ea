// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/highdpi.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QMainWindow>

// Start-up baseline: the programmer's application set-up and its main
// window's form on a plain main window of its fixed size, none of its logic.
int main(int argc, char *argv[])
{
    scaleWithHighDpiScreens();
    QApplication application(argc, argv);
    QMainWindow window;
    Ui::MainWindow form;
    form.setupUi(&window);
    window.setFixedSize(692, 521);
    window.show();
    return application.exec();
}
