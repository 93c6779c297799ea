#include <QApplication>
#include <QMainWindow>

// Start-up baseline: the programmer's application set-up and an empty main
// window of its fixed size, nothing else.
int main(int argc, char *argv[])
{
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
#endif
    QApplication application(argc, argv);
    QMainWindow window;
    window.setFixedSize(692, 521);
    window.show();
    return application.exec();
}
