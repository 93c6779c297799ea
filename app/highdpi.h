// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QApplication>

// The window has a fixed size in pixels: scale it as a whole on high-DPI
// screens instead of showing it tiny or clipped, and by exactly the screen's
// factor, as Qt 6 does. Qt 5 would round it: 125 % stays 100 %, too small to
// read, and 150 % becomes 200 %, taller than a laptop's 1080 pixels. On X11
// without the desktop's Xft.dpi, Qt 5 takes the X server's own dots per inch,
// 96 at the least, for the factor, where Qt 6 takes 96. Called before the
// application object is made.
inline void scaleWithHighDpiScreens()
{
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    QApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
#endif
}
