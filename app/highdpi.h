#pragma once

#include <QApplication>

// The window has a fixed size in pixels: scale it as a whole on high-DPI
// screens, as Qt 6 always does, instead of showing it tiny or clipped. Called
// before the application object is made.
inline void scaleWithHighDpiScreens()
{
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
#endif
}
