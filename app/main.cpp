// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/highdpi.h"
#include "app/mainwindow.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>

int main(int argc, char *argv[])
{
    scaleWithHighDpiScreens();
    QApplication application(argc, argv);
    MainWindow window;
    QApplication::setWindowIcon(QIcon(QPixmap(QStringLiteral(":/logos/orx_logo"))));
    window.show();
    return application.exec();
}
