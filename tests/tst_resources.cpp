// SPDX-License-Identifier: GPL-3.0-or-later
// The embedded images must resolve in any binary linking programmer_core, with
// no file on disk: a missing registration would only show as empty icons.
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QResource>
#include <QtTest>

#include <vector>

namespace {

const QString logoPath = QStringLiteral(":/logos/orx_logo");
const QString leftArrowPath = QStringLiteral(":/player/Left.png");
const QString rightArrowPath = QStringLiteral(":/player/Right.png");

void addImageRows()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    QTest::newRow("logo") << logoPath << QSize(32, 32);
    QTest::newRow("left arrow") << leftArrowPath << QSize(16, 16);
    QTest::newRow("right arrow") << rightArrowPath << QSize(16, 16);
}

// Heights of the columns that hold opaque pixels, left to right; columns
// without one are left out.
std::vector<int> opaqueColumnHeights(const QImage &image)
{
    std::vector<int> heights;
    for (int x = 0; x < image.width(); ++x) {
        int height = 0;
        for (int y = 0; y < image.height(); ++y) {
            if (qAlpha(image.pixel(x, y)) >= 128)
                ++height;
        }
        if (height > 0)
            heights.push_back(height);
    }
    return heights;
}

} // namespace

class TestResources : public QObject
{
    Q_OBJECT

private slots:
    void imageLoadsWithAlpha_data() { addImageRows(); }
    void imageLoadsWithAlpha();
    void imageIsStoredUncompressed_data() { addImageRows(); }
    void imageIsStoredUncompressed();
    void iconFromFileIsNotNull_data() { addImageRows(); }
    void iconFromFileIsNotNull();
    void directoryHoldsExactlyItsImages_data();
    void directoryHoldsExactlyItsImages();
    void logoFormatComesFromContent();
    void arrowPointsItsWay_data();
    void arrowPointsItsWay();
};

void TestResources::imageLoadsWithAlpha()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);

    const QPixmap pixmap(path);
    QVERIFY(!pixmap.isNull());
    QCOMPARE(pixmap.size(), size);
    QVERIFY(pixmap.hasAlpha());
}

void TestResources::imageIsStoredUncompressed()
{
    QFETCH(QString, path);

    const QResource resource(path);
    QVERIFY(resource.isValid());
    QCOMPARE(resource.compressionAlgorithm(), QResource::NoCompression);
}

void TestResources::iconFromFileIsNotNull()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);

    QIcon icon;
    icon.addFile(path, QSize(), QIcon::Normal, QIcon::Off);
    QVERIFY(!icon.isNull());
    QVERIFY(icon.availableSizes().contains(size));
}

void TestResources::directoryHoldsExactlyItsImages_data()
{
    QTest::addColumn<QString>("directory");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("logos") << QStringLiteral(":/logos") << QStringList{"orx_logo"};
    QTest::newRow("player") << QStringLiteral(":/player") << QStringList{"Left.png", "Right.png"};
}

void TestResources::directoryHoldsExactlyItsImages()
{
    QFETCH(QString, directory);
    QFETCH(QStringList, entries);

    QCOMPARE(QDir(directory).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name),
             entries);
}

void TestResources::logoFormatComesFromContent()
{
    QVERIFY(QFileInfo(logoPath).suffix().isEmpty());
    QCOMPARE(QImageReader(logoPath).format(), QByteArray("png"));
}

void TestResources::arrowPointsItsWay_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("pointsLeft");
    QTest::newRow("left arrow") << leftArrowPath << true;
    QTest::newRow("right arrow") << rightArrowPath << false;
}

// A triangle's tip is its thinnest opaque column, its base the thickest.
void TestResources::arrowPointsItsWay()
{
    QFETCH(QString, path);
    QFETCH(bool, pointsLeft);

    const std::vector<int> heights = opaqueColumnHeights(QImage(path));
    QVERIFY(heights.size() >= 2);
    QCOMPARE(heights.front() < heights.back(), pointsLeft);
}

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
