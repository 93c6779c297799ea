// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QColor;
class QMainWindow;
class QStatusBar;

// The window's status bar says what the program said last. Qt's main window
// would also show there the status tip of every menu item the pointer or the
// keys pass over, empty ones too, and so wipe out a warning that still holds.
void keepProgramMessagesInStatusBar(QMainWindow *window);

// Paints the status bar's background, and its text in a colour that reads on
// it whatever the desktop's theme.
void paintStatusBar(QStatusBar *statusBar, const QColor &background);

// Gives the status bar the theme's colours back.
void unpaintStatusBar(QStatusBar *statusBar);
