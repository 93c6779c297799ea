// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/highdpi.h"

#include <QApplication>
#include <QMainWindow>

// Start-up baseline: the programmer's application set-up and an empty main
// window of its fixed size, nothing else.
int main(int argc, char *argv[])
{
    scaleWithHighDpiScreens();
    QApplication application(argc, argv);
    QMainWindow window;
    window.setFixedSize(692, 521);
    window.show();
    return application.exec();
}
