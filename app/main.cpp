#include "app/mainwindow.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>

int main(int argc, char *argv[])
{
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    // The window has a fixed size in pixels: scale it as a whole on high-DPI
    // screens, as Qt 6 always does, instead of showing it tiny or clipped.
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
#endif
    QApplication application(argc, argv);
    MainWindow window;
    QApplication::setWindowIcon(QIcon(QPixmap(QStringLiteral(":/logos/orx_logo"))));
    window.show();
    return application.exec();
}
