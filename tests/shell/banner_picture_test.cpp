// The banner picture against its description: size, background, the four
// sample reticles at their columns and rows, and the titles' ink.
#include "shell/banner_picture.h"

#include <QColor>
#include <QImage>
#include <QtTest>

using zentaro::shell::bannerPicture;

namespace {

const QColor kBackground(91, 1, 1);
const QColor kInk(252, 4, 4);

/// Whether a pixel is the titles' red or a softened edge of it (anything
/// clearly brighter than the background).
bool isInk(const QImage& image, int x, int y)
{
    return QColor(image.pixel(x, y)).red() > kBackground.red() + 40;
}

/// The first and last columns, and the first and last rows, of title ink
/// within the columns [from, to] and the rows [0, 35].
QRect inkExtent(const QImage& image, int from, int to)
{
    QRect extent;
    for (int y = 0; y <= 35; ++y) {
        for (int x = from; x <= to; ++x) {
            if (isInk(image, x, y)) {
                extent |= QRect(x, y, 1, 1);
            }
        }
    }
    return extent;
}

} // namespace

class BannerPictureTest : public QObject
{
    Q_OBJECT

private slots:
    void hasItsSizeAndBackground();
    void figurePixels_data();
    void figurePixels();
    void titles_data();
    void titles();
    void lastColumnsAndRowsHoldOnlyBackground();

private:
    QImage picture_ = bannerPicture();
};

void BannerPictureTest::hasItsSizeAndBackground()
{
    QCOMPARE(picture_.size(), QSize(537, 150));
    QVERIFY(!picture_.hasAlphaChannel());
    // Corners, and gaps between the sample reticles.
    for (const QPoint p : {QPoint(0, 0), QPoint(536, 149), QPoint(0, 149), QPoint(140, 60),
                           QPoint(280, 120), QPoint(440, 60)}) {
        QCOMPARE(QColor(picture_.pixel(p)), kBackground);
    }
}

void BannerPictureTest::figurePixels_data()
{
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<bool>("ink");

    // "Standard": two hollow bars, both outlines complete.
    QTest::newRow("standard vertical bar top-left") << QPoint(58, 39) << true;
    QTest::newRow("standard vertical bar bottom-right") << QPoint(75, 139) << true;
    QTest::newRow("standard vertical bar inside") << QPoint(66, 50) << false;
    QTest::newRow("standard horizontal bar left end") << QPoint(11, 84) << true;
    QTest::newRow("standard horizontal bar right end") << QPoint(121, 84) << true;
    QTest::newRow("standard horizontal bar inside") << QPoint(30, 84) << false;
    QTest::newRow("standard outlines run through: vertical edge") << QPoint(58, 84) << true;
    QTest::newRow("standard outlines run through: horizontal edge") << QPoint(66, 76) << true;
    QTest::newRow("standard beyond bar") << QPoint(10, 84) << false;

    // "Croce": a one-pixel row and a two-pixel-wide column.
    QTest::newRow("croce horizontal start") << QPoint(149, 82) << true;
    QTest::newRow("croce horizontal end") << QPoint(256, 82) << true;
    QTest::newRow("croce horizontal is one row") << QPoint(170, 83) << false;
    QTest::newRow("croce vertical left column") << QPoint(202, 40) << true;
    QTest::newRow("croce vertical right column") << QPoint(203, 133) << true;
    QTest::newRow("croce vertical beyond end") << QPoint(202, 134) << false;

    // "Campo CCD": a frame with a smaller frame inside.
    QTest::newRow("ccd outer corner") << QPoint(300, 40) << true;
    QTest::newRow("ccd outer opposite corner") << QPoint(400, 97) << true;
    QTest::newRow("ccd between frames") << QPoint(320, 60) << false;
    QTest::newRow("ccd inner corner") << QPoint(333, 57) << true;
    QTest::newRow("ccd inner opposite corner") << QPoint(368, 77) << true;
    QTest::newRow("ccd inside inner frame") << QPoint(350, 67) << false;

    // "Punto": a filled dot and four lines that do not touch it.
    QTest::newRow("punto dot corner") << QPoint(491, 74) << true;
    QTest::newRow("punto dot centre") << QPoint(493, 77) << true;
    QTest::newRow("punto dot opposite corner") << QPoint(495, 79) << true;
    QTest::newRow("punto left line") << QPoint(461, 77) << true;
    QTest::newRow("punto gap left of dot") << QPoint(477, 77) << false;
    QTest::newRow("punto right line") << QPoint(523, 77) << true;
    QTest::newRow("punto upper line") << QPoint(493, 48) << true;
    QTest::newRow("punto gap above dot") << QPoint(493, 65) << false;
    QTest::newRow("punto lower line") << QPoint(493, 105) << true;
}

void BannerPictureTest::figurePixels()
{
    QFETCH(QPoint, pixel);
    QFETCH(bool, ink);
    QCOMPARE(QColor(picture_.pixel(pixel)), ink ? kInk : kBackground);
}

void BannerPictureTest::titles_data()
{
    QTest::addColumn<int>("firstColumn");
    QTest::addColumn<int>("lastColumn");
    QTest::addColumn<int>("lastRow");

    // Capitals rest on row 24; only "Campo CCD" has a descender, to row 29.
    QTest::newRow("Standard") << 18 << 102 << 24;
    QTest::newRow("Croce") << 173 << 229 << 24;
    QTest::newRow("Campo CCD") << 288 << 411 << 29;
    QTest::newRow("Punto") << 468 << 523 << 24;
}

void BannerPictureTest::titles()
{
    QFETCH(int, firstColumn);
    QFETCH(int, lastColumn);
    QFETCH(int, lastRow);

    // Look a few columns beyond the stated span, to see that nothing spills.
    const QRect ink = inkExtent(picture_, firstColumn - 5, lastColumn + 5);
    QVERIFY(!ink.isEmpty());
    QVERIFY2(qAbs(ink.left() - firstColumn) <= 1, qPrintable(QString::number(ink.left())));
    QVERIFY2(qAbs(ink.right() - lastColumn) <= 1, qPrintable(QString::number(ink.right())));
    // Capitals about 16 pixels tall, from row 8 or 9.
    QVERIFY2(ink.top() >= 7 && ink.top() <= 9, qPrintable(QString::number(ink.top())));
    QCOMPARE(ink.bottom(), lastRow);
    // The ink's core is the titles' red.
    bool hasFullInk = false;
    for (int y = ink.top(); y <= ink.bottom() && !hasFullInk; ++y) {
        for (int x = ink.left(); x <= ink.right() && !hasFullInk; ++x) {
            hasFullInk = QColor(picture_.pixel(x, y)) == kInk;
        }
    }
    QVERIFY(hasFullInk);
}

void BannerPictureTest::lastColumnsAndRowsHoldOnlyBackground()
{
    // They fall outside the banner window's client area.
    for (int y = 0; y < picture_.height(); ++y) {
        QCOMPARE(QColor(picture_.pixel(535, y)), kBackground);
        QCOMPARE(QColor(picture_.pixel(536, y)), kBackground);
    }
    for (int x = 0; x < picture_.width(); ++x) {
        QCOMPARE(QColor(picture_.pixel(x, 148)), kBackground);
        QCOMPARE(QColor(picture_.pixel(x, 149)), kBackground);
    }
}

QTEST_MAIN(BannerPictureTest)
#include "banner_picture_test.moc"
