// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFont>
#include <QString>
#include <QStringList>
#include <QVector>

// A text shown whole in a widget of fixed width, beside what the widget draws
// next to it (a check box's indicator, a button's frame), which does not
// depend on the font.
struct TextDemand
{
    QString text;
    int availableWidth = 0;
    int padding = 0;
};

// Whether every text, in the font, fits its width beside its padding.
bool allTextsFit(const QFont &font, const QVector<TextDemand> &demands);

// The font to show the texts in. The given font when they fit in it. Else the
// largest pixel size, not above the given font's, at which they all fit,
// trying at each size the narrower families in their order (those not
// installed are skipped) before the given font's own family, so that a
// narrower face is taken before the given one is shrunk. The given font when
// nothing fits even at the smallest size tried.
QFont fittingFont(const QFont &font, const QStringList &narrowerFamilies,
                  const QVector<TextDemand> &demands);
