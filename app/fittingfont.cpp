// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/fittingfont.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>

#include <algorithm>

namespace {

// Below this a face is unreadable whatever its width; a layout that needs it
// is better shown cut in the given font.
constexpr int smallestPixelSize = 6;

// The font system substitutes a missing family silently, and asking it which
// one it took loads a face; asking the font database for the family's styles
// loads none.
bool isInstalled(const QString &family)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return !QFontDatabase::styles(family).isEmpty();
#else
    return !QFontDatabase().styles(family).isEmpty();
#endif
}

// The first demand whose text does not fit in the font; -1 when all fit.
int firstMisfit(const QFont &font, const QVector<TextDemand> &demands)
{
    const QFontMetrics metrics(font);
    for (int index = 0; index < demands.size(); ++index) {
        const TextDemand &demand = demands[index];
        // Measured as the widgets themselves measure their texts.
        const int textWidth = metrics.size(Qt::TextShowMnemonic, demand.text).width();
        if (textWidth + demand.padding > demand.availableWidth)
            return index;
    }
    return -1;
}

} // namespace

bool allTextsFit(const QFont &font, const QVector<TextDemand> &demands)
{
    return firstMisfit(font, demands) < 0;
}

QFont fittingFont(const QFont &font, const QStringList &narrowerFamilies,
                  const QVector<TextDemand> &demands)
{
    // A text that did not fit in one face will most likely not fit in the
    // next one tried either, so it is measured first there: a face that does
    // not fit is mostly told by one text, with one text's glyphs loaded.
    QVector<TextDemand> ordered = demands;
    const auto fits = [&ordered](const QFont &face) {
        const int misfit = firstMisfit(face, ordered);
        if (misfit > 0)
            std::rotate(ordered.begin(), ordered.begin() + misfit, ordered.begin() + misfit + 1);
        return misfit < 0;
    };

    if (fits(font))
        return font;

    QVector<QFont> faces;
    for (const QString &family : narrowerFamilies) {
        if (isInstalled(family)) {
            QFont face(font);
            face.setFamily(family);
            faces.append(face);
        }
    }
    faces.append(font);

    for (int pixelSize = QFontInfo(font).pixelSize(); pixelSize >= smallestPixelSize; --pixelSize) {
        for (QFont face : faces) {
            face.setPixelSize(pixelSize);
            if (fits(face))
                return face;
        }
    }
    return font;
}
