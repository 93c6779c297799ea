// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/fittingfont.h"

#include <QVector>

class QWidget;

// What the labels, check boxes, radio buttons, push buttons and group box
// titles under the widget (dialogs it owns included) need to show their
// current texts whole, measured in their current font.
QVector<TextDemand> textDemandsOf(const QWidget *root);

// The window's layout is fixed in pixels and was drawn for a narrow dialog
// font. Where the desktop's font is wider, this sets once, for the whole
// application, a font in which every text of the window fits; otherwise it
// changes nothing.
void fitApplicationFont(const QWidget *window);
