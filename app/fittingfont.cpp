#include "app/fittingfont.h"

#include <QFontInfo>
#include <QFontMetrics>

namespace {

// Below this a face is unreadable whatever its width; a layout that needs it
// is better shown cut in the given font.
constexpr int smallestPixelSize = 6;

bool isInstalled(const QFont &font, const QString &family)
{
    // The font system silently substitutes a missing family.
    return QFontInfo(font).family().compare(family, Qt::CaseInsensitive) == 0;
}

} // namespace

bool allTextsFit(const QFont &font, const QVector<TextDemand> &demands)
{
    const QFontMetrics metrics(font);
    for (const TextDemand &demand : demands) {
        // Measured as the widgets themselves measure their texts.
        const int textWidth = metrics.size(Qt::TextShowMnemonic, demand.text).width();
        if (textWidth + demand.padding > demand.availableWidth)
            return false;
    }
    return true;
}

QFont fittingFont(const QFont &font, const QStringList &narrowerFamilies,
                  const QVector<TextDemand> &demands)
{
    if (allTextsFit(font, demands))
        return font;

    QVector<QFont> faces;
    for (const QString &family : narrowerFamilies) {
        QFont face(font);
        face.setFamily(family);
        if (isInstalled(face, family))
            faces.append(face);
    }
    faces.append(font);

    for (int pixelSize = QFontInfo(font).pixelSize(); pixelSize >= smallestPixelSize; --pixelSize) {
        for (QFont face : faces) {
            face.setPixelSize(pixelSize);
            if (allTextsFit(face, demands))
                return face;
        }
    }
    return font;
}
