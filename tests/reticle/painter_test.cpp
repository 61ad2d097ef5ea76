// Pixel tests of the reticle painter: designs are rendered into images and
// their pixels compared with the designs' boxes (96 dpi unless a case says
// otherwise) and colours.
#include "reticle/reticle_painter.h"

#include "designs/designs.h"
#include "platform/qt_bridge.h"

#include <QApplication>
#include <QFontInfo>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

using namespace zentaro;

namespace {

// ---- Colours ------------------------------------------------------------------

struct Rgb
{
    int r = 0;
    int g = 0;
    int b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Rgb& c)
    {
        return out << '(' << c.r << ", " << c.g << ", " << c.b << ')';
    }
};

constexpr Rgb kBackground{64, 0, 0};
constexpr Rgb kRedBar{250, 7, 7};
constexpr Rgb kWhiteBar{251, 247, 247};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};

Rgb pixelAt(const QImage& image, int x, int y)
{
    const QRgb value = image.pixel(x, y);
    return {qRed(value), qGreen(value), qBlue(value)};
}

Rgb toRgb(const QColor& colour)
{
    return {colour.red(), colour.green(), colour.blue()};
}

/// A pixel that is the background, the text colour (red or black) or an
/// antialiased blend of the two: no green or blue in it.
bool isRedOrBlackOnBackground(const Rgb& c)
{
    return c.g == 0 && c.b == 0;
}

// ---- Boxes and designs ----------------------------------------------------------

QRect pixelRect(const DesignElement& element, double dpi = kReferenceDpi)
{
    return platform::toQRect(snapToPixels(element.pixelBox(dpi)));
}

/// Inclusive pixel columns x0..x1 and rows y0..y1, as the design tables list them.
QRect columnsRows(int x0, int y0, int x1, int y1)
{
    return QRect(QPoint(x0, y0), QPoint(x1, y1));
}

const DesignElement& elementOf(const ReticleDesign& design, std::string_view name,
                               int index = kNoIndex)
{
    const DesignElement* element = design.find(name, index);
    if (element == nullptr) {
        throw std::runtime_error(design.designName.data() + std::string(" has no ") +
                                 std::string(name));
    }
    return *element;
}

/// A design like `base` that holds only `elements`.
struct DesignCopy
{
    std::vector<DesignElement> elements;
    ReticleDesign design;

    DesignCopy(const ReticleDesign& base, std::vector<DesignElement> kept)
        : elements(std::move(kept)), design(base)
    {
        design.elements = elements;
    }
    DesignCopy(const DesignCopy&) = delete;
    DesignCopy& operator=(const DesignCopy&) = delete;
};

/// A small test design on the reticle background, 300 x 200 pixels at 96 dpi.
ReticleDesign fixtureDesign(std::span<const DesignElement> elements)
{
    ReticleDesign design;
    design.designName = "Fixture";
    design.windowName = "FormTest";
    design.caption = "Fixture";
    design.clientWidthTwips = 4500;
    design.clientHeightTwips = 3000;
    design.barColour = colours::kRedBar;
    design.elements = elements;
    return design;
}

bool coveredByEarlier(const ReticleDesign& design, const DesignElement& self, const QPoint& p,
                      double dpi, const std::function<bool(const DesignElement&)>& counts)
{
    for (const DesignElement& other : design.elements) {
        if (&other == &self) {
            return false;
        }
        if (counts(other) && pixelRect(other, dpi).contains(p)) {
            return true;
        }
    }
    return false;
}

bool insideAnyOther(const ReticleDesign& design, const DesignElement& self, const QPoint& p)
{
    for (const DesignElement& other : design.elements) {
        if (&other != &self && pixelRect(other).contains(p)) {
            return true;
        }
    }
    return false;
}

// ---- Collecting pixel failures ----------------------------------------------------

/// Gathers wrong pixels so that one failure reports a count and a few
/// examples rather than hundreds of lines.
class PixelReport
{
public:
    void expect(const QImage& image, const QPoint& p, const Rgb& expected)
    {
        const Rgb actual = pixelAt(image, p.x(), p.y());
        if (actual != expected) {
            fail(p, actual, expected);
        }
    }
    void expectThat(const QImage& image, const QPoint& p, bool (*predicate)(const Rgb&),
                    const char* what)
    {
        const Rgb actual = pixelAt(image, p.x(), p.y());
        if (!predicate(actual)) {
            note(p, actual, what);
        }
    }
    ::testing::AssertionResult result() const
    {
        if (count_ == 0) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << count_ << " wrong pixel(s):" << examples_.str();
    }

private:
    void fail(const QPoint& p, const Rgb& actual, const Rgb& expected)
    {
        std::ostringstream what;
        what << "expected " << expected;
        note(p, actual, what.str().c_str());
    }
    void note(const QPoint& p, const Rgb& actual, const char* what)
    {
        if (++count_ <= kExamples) {
            examples_ << "\n  (" << p.x() << ", " << p.y() << ") is " << actual << ", " << what;
        }
    }
    static constexpr int kExamples = 8;
    int count_ = 0;
    std::ostringstream examples_;
};

/// Every pixel of `rect` in `colour`.
::testing::AssertionResult allPixels(const QImage& image, const QRect& rect, const Rgb& colour)
{
    PixelReport report;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            report.expect(image, {x, y}, colour);
        }
    }
    return report.result();
}

/// The pixels just outside `rect` show the background wherever no other
/// element of the design has its box.
::testing::AssertionResult surroundingIsBackground(const QImage& image, const ReticleDesign& design,
                                                   const DesignElement& self, const QRect& rect)
{
    PixelReport report;
    const QRect ring = rect.adjusted(-1, -1, 1, 1);
    for (int y = ring.top(); y <= ring.bottom(); ++y) {
        for (int x = ring.left(); x <= ring.right(); ++x) {
            const QPoint p(x, y);
            if (!rect.contains(p) && image.rect().contains(p) && !insideAnyOther(design, self, p)) {
                report.expect(image, p, kBackground);
            }
        }
    }
    return report.result();
}

/// Nothing but the background outside `rect`. Reads whole scan lines: the
/// images are large and this check runs for every label of every design.
::testing::AssertionResult backgroundOutside(const QImage& image, const QRect& rect)
{
    const QRgb background = qRgb(kBackground.r, kBackground.g, kBackground.b);
    PixelReport report;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] | 0xFF000000u) != background && !rect.contains(x, y)) {
                report.expect(image, {x, y}, kBackground);
            }
        }
    }
    return report.result();
}

int countPixels(const QImage& image, const QRect& rect, const std::function<bool(const Rgb&)>& is)
{
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            count += is(pixelAt(image, x, y)) ? 1 : 0;
        }
    }
    return count;
}

/// The bounding rectangle of the pixels that are not the background.
QRect inkBounds(const QImage& image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (pixelAt(image, x, y) != kBackground) {
                bounds = bounds.united(QRect(x, y, 1, 1));
            }
        }
    }
    return bounds;
}

PaintOptions atDpi(double dpi)
{
    PaintOptions options;
    options.dpi = dpi;
    return options;
}

std::string nameOf(const ReticleDesign& design, const DesignElement& element)
{
    return std::string(design.designName) + " " + element.displayName();
}

// ---- Image size -------------------------------------------------------------------

TEST(PainterImage, HasTheClientSizeOfEachDesignAt96Dpi)
{
    struct Case
    {
        const ReticleDesign& design;
        int width;
        int height;
    };
    const Case cases[] = {
        {designs::standardRosso(), 973, 558},     {designs::standardBianco(), 496, 395},
        {designs::standardRossoFine(), 494, 392}, {designs::croceRossa(), 492, 389},
        {designs::campoCcd(), 499, 395},          {designs::punto(), 492, 391},
        {designs::centratore(), 929, 625},
    };
    for (const Case& c : cases) {
        const QImage image = renderDesign(c.design);
        EXPECT_EQ(image.size(), QSize(c.width, c.height)) << c.design.designName;
        EXPECT_EQ(image.format(), QImage::Format_RGB32) << c.design.designName;
    }
}

TEST(PainterImage, ScalesWithTheResolutionRoundingHalfToEven)
{
    // 7485 twips at 144 dpi is 748.5 pixels: ties go to the even neighbour.
    struct Case
    {
        double dpi;
        QSize size;
    };
    const Case cases[] = {{96, {499, 395}}, {144, {748, 592}}, {192, {998, 790}}};
    for (const Case& c : cases) {
        EXPECT_EQ(renderDesign(designs::campoCcd(), atDpi(c.dpi)).size(), c.size) << c.dpi;
    }
}

TEST(PainterImage, BackgroundFillsAPaintAreaLargerThanTheDesign)
{
    const ReticleDesign& design = designs::croceRossa();
    QImage image(600, 450, QImage::Format_RGB32);
    image.fill(Qt::green);
    QPainter painter(&image);
    paintDesign(painter, design, {});
    painter.end();
    EXPECT_TRUE(allPixels(image, columnsRows(492, 0, 599, 449), kBackground));
    EXPECT_TRUE(allPixels(image, columnsRows(0, 389, 599, 449), kBackground));
}

// ---- Bars ---------------------------------------------------------------------------

TEST(PainterBars, FillExactlyTheirBoxInTheBarColour)
{
    struct Case
    {
        const ReticleDesign& design;
        int index;
        QRect pixels;
    };
    const Case cases[] = {
        // One-pixel lines: every pixel on the line, none beside it.
        {designs::croceRossa(), 6, columnsRows(144, 176, 336, 176)},
        {designs::croceRossa(), 5, columnsRows(240, 88, 240, 272)},
        {designs::standardRossoFine(), 1, columnsRows(128, 168, 328, 168)},
        {designs::campoCcd(), 4, columnsRows(152, 136, 152, 256)},
        // Solid bars.
        {designs::punto(), 1, columnsRows(160, 192, 208, 200)},
        {designs::punto(), 4, columnsRows(240, 128, 248, 168)},
        {designs::punto(), 5, columnsRows(240, 224, 248, 264)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.design.designName) + " img(" + std::to_string(c.index) + ")");
        const QImage image = renderDesign(c.design);
        const DesignElement& bar = elementOf(c.design, "img", c.index);
        ASSERT_EQ(pixelRect(bar), c.pixels);
        EXPECT_TRUE(allPixels(image, c.pixels, kRedBar));
        EXPECT_TRUE(surroundingIsBackground(image, c.design, bar, c.pixels));
    }
}

TEST(PainterBars, BarsBeyondTheSixthPaintNothing)
{
    // img(7) and img(8) never receive the bar picture; img(6) does.
    const std::array elements = {bar(7, 150, 150, 1500, 300), bar(8, 150, 600, 1500, 300),
                                 bar(6, 150, 1050, 1500, 300)};
    const ReticleDesign design = fixtureDesign(elements);
    const QImage image = renderDesign(design);
    EXPECT_TRUE(backgroundOutside(image, pixelRect(elements[2])));
    EXPECT_TRUE(allPixels(image, pixelRect(elements[2]), kRedBar));

    // The centring scale's spare bars, painted alone.
    const ReticleDesign& centratore = designs::centratore();
    if (centratore.find("img", 7) == nullptr) {
        GTEST_SKIP() << "Centratore has no img(7) yet";
    }
    const DesignCopy spares(centratore,
                            {elementOf(centratore, "img", 7), elementOf(centratore, "img", 8)});
    const QImage spareImage = renderDesign(spares.design);
    EXPECT_TRUE(backgroundOutside(spareImage, QRect()));
}

// ---- Strokes --------------------------------------------------------------------------

TEST(PainterStrokes, RectangleStrokeOfOnePixelIsALineAsLongAsItsBox)
{
    struct Case
    {
        const ReticleDesign& design;
        std::string_view name;
        QRect pixels;
        Rgb colour;
    };
    const Case cases[] = {
        {designs::standardBianco(), "Shape4", columnsRows(152, 168, 152, 184), kWhite},
        {designs::standardBianco(), "Shape2", columnsRows(240, 88, 256, 88), kWhite},
        {designs::standardRossoFine(), "Shape2", columnsRows(128, 160, 128, 167), kRed},
        {designs::campoCcd(), "Shape8", columnsRows(64, 72, 440, 72), kRed},
        {designs::campoCcd(), "Shape4", columnsRows(248, 192, 248, 199), kRed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.design.designName) + " " + std::string(c.name));
        const QImage image = renderDesign(c.design);
        const DesignElement& stroke = elementOf(c.design, c.name);
        ASSERT_EQ(pixelRect(stroke), c.pixels);
        EXPECT_TRUE(allPixels(image, c.pixels, c.colour));
        EXPECT_TRUE(surroundingIsBackground(image, c.design, stroke, c.pixels));
    }
}

TEST(PainterStrokes, StandardBiancoPaintsBarsAndStrokesInTwoWhites)
{
    const QImage image = renderDesign(designs::standardBianco());
    // Shape4 ends the horizontal hollow bar over the bars' first column.
    EXPECT_EQ(pixelAt(image, 152, 168), kWhite);
    EXPECT_EQ(pixelAt(image, 153, 168), kWhiteBar);
    EXPECT_EQ(pixelAt(image, 152, 184), kWhite);
    EXPECT_EQ(pixelAt(image, 153, 184), kWhiteBar);
    // Shape2 ends the vertical hollow bar over its long sides' first row.
    EXPECT_EQ(pixelAt(image, 240, 88), kWhite);
    EXPECT_EQ(pixelAt(image, 240, 89), kWhiteBar);
    EXPECT_EQ(pixelAt(image, 256, 89), kWhiteBar);
    // The inside of the hollow bars and their crossing is not painted.
    EXPECT_EQ(pixelAt(image, 200, 176), kBackground);
    EXPECT_EQ(pixelAt(image, 248, 176), kBackground);
}

TEST(PainterStrokes, StandardRossoFineCornersComeFromTheLongBars)
{
    const QImage image = renderDesign(designs::standardRossoFine());
    EXPECT_EQ(pixelAt(image, 128, 167), kRed);    // Shape2's last pixel
    EXPECT_EQ(pixelAt(image, 128, 168), kRedBar); // img(1) closes the corner
    EXPECT_EQ(pixelAt(image, 231, 80), kRed);     // Shape3's last pixel
    EXPECT_EQ(pixelAt(image, 232, 80), kRedBar);  // img(5) closes the corner
}

TEST(PainterStrokes, CampoCcdCentreSquareLeavesItsLowerRightCornerUnpainted)
{
    const QImage image = renderDesign(designs::campoCcd());
    EXPECT_EQ(pixelAt(image, 256, 200), kBackground);
    EXPECT_EQ(pixelAt(image, 255, 200), kRed);
    EXPECT_EQ(pixelAt(image, 256, 199), kRed);
    EXPECT_EQ(pixelAt(image, 248, 192), kRed);
    EXPECT_EQ(pixelAt(image, 252, 196), kBackground); // the centre
}

/// Checks the ring a circle stroke paints into `box`: only ring or
/// background inside, symmetric about both centre lines (and the diagonal
/// for a square), touching all four edges, one pixel thick across the middle
/// row and column, hollow, and nothing outside the box.
void expectCleanRing(const QImage& image, const QRect& box, const Rgb& colour)
{
    PixelReport onlyTwoColours;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            const Rgb c = pixelAt(image, x, y);
            if (c != colour) {
                onlyTwoColours.expect(image, {x, y}, kBackground);
            }
        }
    }
    EXPECT_TRUE(onlyTwoColours.result());

    auto on = [&](int dx, int dy) {
        return pixelAt(image, box.left() + dx, box.top() + dy) == colour;
    };
    const int w = box.width();
    const int h = box.height();
    for (int dy = 0; dy < h; ++dy) {
        for (int dx = 0; dx < w; ++dx) {
            EXPECT_EQ(on(dx, dy), on(w - 1 - dx, dy)) << "mirror across, " << dx << "," << dy;
            EXPECT_EQ(on(dx, dy), on(dx, h - 1 - dy)) << "mirror up-down, " << dx << "," << dy;
            if (w == h) {
                EXPECT_EQ(on(dx, dy), on(dy, dx)) << "diagonal, " << dx << "," << dy;
            }
        }
    }
    for (int mid : {(h - 1) / 2, h / 2}) {
        EXPECT_TRUE(on(0, mid) && on(w - 1, mid)) << "row " << mid << " touches both sides";
        for (int dx = 1; dx < w - 1; ++dx) {
            EXPECT_FALSE(on(dx, mid)) << "row " << mid << " is hollow at " << dx;
        }
    }
    for (int mid : {(w - 1) / 2, w / 2}) {
        EXPECT_TRUE(on(mid, 0) && on(mid, h - 1)) << "column " << mid << " touches top and bottom";
    }
    EXPECT_TRUE(surroundingIsBackground(image, fixtureDesign({}), DesignElement{}, box));
}

TEST(PainterStrokes, PuntoCentreIsAHollowNinePixelRing)
{
    const ReticleDesign& punto = designs::punto();
    const DesignElement& ring = elementOf(punto, "Shape1");
    ASSERT_EQ(ring.shape, StrokeShape::Circle);
    const QRect box = columnsRows(240, 192, 248, 200);
    ASSERT_EQ(pixelRect(ring), box);

    const QImage image = renderDesign(punto);
    EXPECT_EQ(pixelAt(image, 244, 196), kBackground); // the centre pixel
    expectCleanRing(image, box, kRed);
    // A thin ring, not a filled disc or a square outline.
    const int ringPixels = countPixels(image, box, [](const Rgb& c) { return c == kRed; });
    EXPECT_GE(ringPixels, 20);
    EXPECT_LE(ringPixels, 32);
    EXPECT_EQ(pixelAt(image, 240, 192), kBackground); // corners are cut
}

TEST(PainterStrokes, CircleRingStaysOnePixelThickAtEverySize)
{
    struct Case
    {
        int widthTwips;
        int heightTwips;
        double dpi;
    };
    const Case cases[] = {
        {135, 135, 192},               // Punto's ring at twice the resolution: 18 x 18
        {135, 135, 144}, {75, 75, 96}, // 5 x 5
        {300, 300, 96},                // 20 x 20
        {240, 150, 96},                // an ellipse, 16 x 10
    };
    for (const Case& c : cases) {
        const std::array elements = {stroke("Shape1", 300, 300, c.widthTwips, c.heightTwips,
                                            colours::kRedStroke, StrokeShape::Circle)};
        const QImage image = renderDesign(fixtureDesign(elements), atDpi(c.dpi));
        const QRect box = pixelRect(elements[0], c.dpi);
        SCOPED_TRACE(std::to_string(box.width()) + " x " + std::to_string(box.height()) + " at " +
                     std::to_string(c.dpi));
        expectCleanRing(image, box, kRed);
        EXPECT_TRUE(backgroundOutside(image, box));
    }
}

TEST(PainterStrokes, RectangleOutlineStaysOnePixelWideAtHigherResolutions)
{
    const std::array elements = {stroke("Shape1", 150, 150, 150, 90, colours::kRedStroke)};
    const ReticleDesign design = fixtureDesign(elements);
    for (double dpi : {96.0, 144.0, 192.0}) {
        SCOPED_TRACE(dpi);
        const QImage image = renderDesign(design, atDpi(dpi));
        const QRect box = pixelRect(elements[0], dpi);
        ASSERT_GE(box.width(), 10);
        ASSERT_GE(box.height(), 6);
        EXPECT_TRUE(allPixels(image, QRect(box.left(), box.top(), box.width(), 1), kRed));
        EXPECT_TRUE(allPixels(image, QRect(box.left(), box.bottom(), box.width(), 1), kRed));
        EXPECT_TRUE(allPixels(image, QRect(box.left(), box.top(), 1, box.height()), kRed));
        EXPECT_TRUE(allPixels(image, QRect(box.right(), box.top(), 1, box.height()), kRed));
        EXPECT_TRUE(allPixels(image, box.adjusted(1, 1, -1, -1), kBackground));
        EXPECT_TRUE(backgroundOutside(image, box));
    }
}

TEST(PainterBars, ScaleWithTheResolution)
{
    // CroceRossa's vertical line img(5) at 192 dpi: 3600 twips -> column 480,
    // 15 twips -> 2 pixels, rows 176 to 545.
    const QImage image = renderDesign(designs::croceRossa(), atDpi(192));
    EXPECT_TRUE(allPixels(image, columnsRows(480, 176, 481, 545), kRedBar));
    EXPECT_EQ(pixelAt(image, 479, 300), kBackground);
    EXPECT_EQ(pixelAt(image, 482, 300), kBackground);
    EXPECT_EQ(pixelAt(image, 480, 175), kBackground);
    EXPECT_EQ(pixelAt(image, 480, 546), kBackground);
}

// ---- Stacking order ----------------------------------------------------------------------

TEST(PainterStacking, EarlierElementWinsAtTheTitleStripSeams)
{
    // Row 16 is both the bar block's last row and the toggle label's top
    // border; the close label's first column is the bar block's last column.
    struct Case
    {
        const ReticleDesign& design;
        QRect pixels;
        Rgb colour;
        const char* why;
    };
    const Case cases[] = {
        {designs::standardBianco(), columnsRows(200, 16, 272, 16), kWhiteBar, "bars above Label1"},
        {designs::standardBianco(), columnsRows(273, 16, 296, 16), kRed, "Label1's border"},
        {designs::croceRossa(), columnsRows(192, 16, 264, 16), kRedBar, "bars above Label1"},
        {designs::campoCcd(), columnsRows(200, 16, 272, 16), kRedBar, "bars above Label1"},
        {designs::punto(), columnsRows(200, 16, 296, 16), kRed, "Label1 above the bars"},
        {designs::standardRosso(), columnsRows(432, 16, 528, 16), kRed, "Label1 above the bars"},
        {designs::centratore(), columnsRows(528, 16, 624, 16), kRed, "Label1 above img(0)"},
        // The close label is transparent: the bar block shows in its first column.
        {designs::standardBianco(), columnsRows(272, 0, 272, 15), kWhiteBar, "Label2 shows bar"},
        {designs::punto(), columnsRows(272, 0, 272, 15), kRedBar, "Label2 shows bar"},
        {designs::standardRosso(), columnsRows(504, 0, 504, 15), kRedBar, "Label2 shows bar"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.design.designName) + ": " + c.why);
        EXPECT_TRUE(allPixels(renderDesign(c.design), c.pixels, c.colour));
    }
}

TEST(PainterStacking, CentratoreSpareStrokesOutlineOverTheBarBlock)
{
    const ReticleDesign& design = designs::centratore();
    const DesignElement& spare = elementOf(design, "Shape4"); // 552, 0, 16 x 9
    const QRect box = pixelRect(spare);
    ASSERT_EQ(box, QRect(552, 0, 16, 9));
    const QImage image = renderDesign(design);
    EXPECT_EQ(pixelAt(image, 552, 8), kRed);
    EXPECT_EQ(pixelAt(image, 567, 4), kRed);
    // Inside the outlines the bar block shows.
    EXPECT_EQ(pixelAt(image, 558, 4), kRedBar);
}

/// Every bar that shows the picture is in the bar colour over its whole box,
/// except where an earlier element other than a bar lies; every rectangle
/// stroke's outline is in its colour except where any earlier element lies.
TEST(PainterStacking, EveryBarAndStrokeOfEveryDesignKeepsItsColour)
{
    auto notBar = [](const DesignElement& e) { return !e.isBar(); };
    auto anything = [](const DesignElement& e) { return !e.isBar() || barShowsPicture(e); };
    for (const ReticleDesign* design : designs::all()) {
        ASSERT_FALSE(design->elements.empty()) << design->designName << " has no elements yet";
        for (double dpi : {96.0, 144.0, 192.0}) {
            const QImage image = renderDesign(*design, atDpi(dpi));
            const Rgb barColour = toRgb(platform::toQColor(design->barColour));
            for (const DesignElement& element : design->elements) {
                const bool isPaintedBar = barShowsPicture(element);
                const bool isOutline =
                    element.isStroke() && element.shape == StrokeShape::Rectangle;
                if (!isPaintedBar && !isOutline) {
                    continue;
                }
                const QRect box = pixelRect(element, dpi);
                const Rgb colour =
                    isPaintedBar ? barColour : toRgb(platform::toQColor(element.strokeColour));
                PixelReport report;
                for (int y = box.top(); y <= box.bottom(); ++y) {
                    for (int x = box.left(); x <= box.right(); ++x) {
                        const bool onEdge = x == box.left() || x == box.right() || y == box.top() ||
                                            y == box.bottom();
                        const QPoint p(x, y);
                        if ((isPaintedBar || onEdge) &&
                            !coveredByEarlier(*design, element, p, dpi,
                                              isPaintedBar ? notBar : anything)) {
                            report.expect(image, p, colour);
                        }
                    }
                }
                EXPECT_TRUE(report.result()) << nameOf(*design, element) << " at " << dpi;
            }
        }
    }
}

// ---- Labels ---------------------------------------------------------------------------------

TEST(PainterLabels, TransparentToggleLabelShowsTheWindowBackground)
{
    const ReticleDesign& design = designs::standardBianco();
    const QRect box = pixelRect(elementOf(design, "Label1"));
    ASSERT_EQ(box, columnsRows(200, 16, 296, 32));
    const QImage image = renderDesign(design);
    const QRect inside = box.adjusted(1, 1, -1, -1);

    // Red text on the dark red window background: no stored 0x80000005 fill.
    PixelReport report;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            report.expectThat(image, {x, y}, isRedOrBlackOnBackground,
                              "not red text on background");
        }
    }
    EXPECT_TRUE(report.result());
    const int background =
        countPixels(image, inside, [](const Rgb& c) { return c == kBackground; });
    EXPECT_GT(background, inside.width() * inside.height() / 2);
    const int ink = countPixels(image, inside, [](const Rgb& c) { return c.r >= 200; });
    EXPECT_GE(ink, 40) << "\"Trasparente\" is readable";
    // The one-pixel border, in the label's text colour.
    EXPECT_TRUE(allPixels(image, columnsRows(273, 16, 296, 16), kRed));
    EXPECT_TRUE(allPixels(image, columnsRows(200, 32, 296, 32), kRed));
    EXPECT_TRUE(allPixels(image, columnsRows(200, 17, 200, 32), kRed));
    EXPECT_TRUE(allPixels(image, columnsRows(296, 16, 296, 32), kRed));
}

TEST(PainterLabels, ToggleLabelShowsTheCaptionOfTheOptions)
{
    const ReticleDesign& design = designs::punto();
    const QRect inside = pixelRect(elementOf(design, "Label1")).adjusted(1, 1, -1, -1);
    PaintOptions empty;
    empty.toggleCaption.clear();
    PaintOptions windowed;
    windowed.toggleCaption = QStringLiteral("Finestra");

    const QImage blank = renderDesign(design, empty);
    const QImage transparent = renderDesign(design);
    const QImage finestra = renderDesign(design, windowed);
    EXPECT_TRUE(allPixels(blank, inside, kBackground));
    EXPECT_NE(transparent.copy(inside), blank.copy(inside));
    EXPECT_NE(finestra.copy(inside), transparent.copy(inside));
    // Outside the toggle label nothing changes with its caption.
    QImage masked = finestra;
    QPainter painter(&masked);
    painter.fillRect(inside, Qt::black);
    painter.end();
    QImage maskedBlank = blank;
    painter.begin(&maskedBlank);
    painter.fillRect(inside, Qt::black);
    painter.end();
    EXPECT_EQ(masked, maskedBlank);
}

TEST(PainterLabels, CloseLabelShowsABlackX)
{
    for (const ReticleDesign* design : designs::all()) {
        SCOPED_TRACE(design->designName);
        const QRect box = pixelRect(elementOf(*design, "Label2"));
        const QImage image = renderDesign(*design);
        // Its first column is the bar block's last one.
        const QRect own = box.adjusted(1, 0, 0, 0);
        PixelReport report;
        for (int y = own.top(); y <= own.bottom(); ++y) {
            for (int x = own.left(); x <= own.right(); ++x) {
                report.expectThat(image, {x, y}, isRedOrBlackOnBackground,
                                  "not black on background");
            }
        }
        EXPECT_TRUE(report.result());
        EXPECT_GE(countPixels(image, own, [](const Rgb& c) { return c == kBlack; }), 12);
    }
}

TEST(PainterLabels, CaptionsOfEveryDesignStayInsideTheirBoxes)
{
    for (const ReticleDesign* design : designs::all()) {
        for (const DesignElement& element : design->elements) {
            if (!element.isLabel()) {
                continue;
            }
            const DesignCopy alone(*design, {element});
            for (const QString& toggle :
                 {QStringLiteral("Trasparente"), QStringLiteral("Finestra")}) {
                for (double dpi : {96.0, 192.0}) {
                    PaintOptions options = atDpi(dpi);
                    options.toggleCaption = toggle;
                    const QImage image = renderDesign(alone.design, options);
                    const QRect box = pixelRect(element, dpi);
                    EXPECT_TRUE(backgroundOutside(image, box))
                        << nameOf(*design, element) << " at " << dpi;
                    const int ink =
                        countPixels(image, box, [](const Rgb& c) { return c != kBackground; });
                    EXPECT_GE(ink, 8) << nameOf(*design, element) << " shows its caption";
                }
                if (!element.is("Label1")) {
                    break; // other captions do not depend on the toggle
                }
            }
        }
    }
}

TEST(PainterLabels, OpaqueLabelFillsItsBoxWithItsBackColour)
{
    LabelLook systemBack;
    systemBack.backColour = colours::kSystemWindow;
    LabelLook rgbBack;
    rgbBack.backColour = ColourValue{0x00332211};
    LabelLook transparent = rgbBack;
    transparent.background = LabelBackground::Transparent;
    // Each label lies over a bar: opaque ones hide it, the transparent one not.
    const std::array elements = {
        label("Label3", 150, 150, 600, 300, "", systemBack),
        label("Label4", 150, 750, 600, 300, "", rgbBack),
        label("Label5", 150, 1350, 600, 300, "", transparent),
        bar(0, 0, 0, 1500, 2250),
    };
    const QImage image = renderDesign(fixtureDesign(elements));
    EXPECT_TRUE(allPixels(image, pixelRect(elements[0]), toRgb(platform::systemColour(5))));
    EXPECT_TRUE(allPixels(image, pixelRect(elements[1]), Rgb{0x11, 0x22, 0x33}));
    EXPECT_TRUE(allPixels(image, pixelRect(elements[2]), kRedBar));
}

TEST(PainterLabels, CentratoreNumbersAreRedOnTheirOpaqueBoxes)
{
    const ReticleDesign& design = designs::centratore();
    const QImage image = renderDesign(design);
    const QRect box = pixelRect(elementOf(design, "Label11")); // "20", lower vertical scale
    ASSERT_EQ(box, QRect(504, 464, 17, 17));
    PixelReport report;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            report.expectThat(image, {x, y}, isRedOrBlackOnBackground, "not red on background");
        }
    }
    EXPECT_TRUE(report.result());
    EXPECT_GE(countPixels(image, box, [](const Rgb& c) { return c.r >= 200; }), 10);
}

TEST(PainterLabels, CaptionAlignsFromTheTopEdgeAndWrapsAtWords)
{
    LabelLook left;
    left.foreColour = colours::kRedStroke;
    left.background = LabelBackground::Transparent;
    LabelLook centred = left;
    centred.alignment = LabelAlignment::Centre;
    const std::array elements = {
        label("Label4", 150, 150, 2250, 300, "X", centred), // 10..159 x 10..29
        label("Label5", 150, 600, 2250, 300, "X", left),    // 10..159 x 40..59
        label("Label6", 150, 1050, 900, 1200, "uno due tre quattro cinque", left), // 60 x 80
    };
    for (const DesignElement& element : elements) {
        const DesignCopy alone(fixtureDesign({}), {element});
        const QImage image = renderDesign(alone.design);
        const QRect box = pixelRect(element);
        const QRect ink = inkBounds(image);
        SCOPED_TRACE(element.displayName());
        ASSERT_FALSE(ink.isEmpty());
        EXPECT_TRUE(box.contains(ink));
        EXPECT_LE(ink.top() - box.top(), 6) << "text starts at the top edge";
        if (element.look.alignment == LabelAlignment::Centre) {
            EXPECT_NEAR(ink.center().x(), box.center().x(), 2);
        } else {
            EXPECT_LE(ink.left() - box.left(), 2);
        }
    }
    // The long caption takes several lines within its 60-pixel width.
    const DesignCopy wrapped(fixtureDesign({}), {elements[2]});
    const QRect ink = inkBounds(renderDesign(wrapped.design));
    const int lineHeight = pointsToPixels(8, kReferenceDpi);
    EXPECT_GE(ink.height(), 2 * lineHeight);
}

TEST(PainterLabels, CaptionTooLargeForItsBoxIsClippedToIt)
{
    LabelLook look;
    look.foreColour = colours::kRedStroke;
    look.background = LabelBackground::Transparent;
    LabelLook bold = look;
    bold.font = FontSpec{"MS Sans Serif", 12, true};
    LabelLook bordered = bold;
    bordered.border = LabelBorder::Single;
    const std::array elements = {
        // One word far wider than its box.
        label("Label4", 300, 300, 300, 255, "Trasparentissimamente", look),
        // More lines than the box is high, centred.
        label("Label5", 300, 900, 900, 255, "uno due tre quattro cinque sei", bold),
        // A border: the text stays inside it, the border keeps its colour.
        label("Label6", 300, 1500, 300, 240, "WWWW", bordered),
    };
    for (const DesignElement& element : elements) {
        SCOPED_TRACE(element.displayName());
        const DesignCopy alone(fixtureDesign({}), {element});
        const QImage image = renderDesign(alone.design);
        const QRect box = pixelRect(element);
        EXPECT_TRUE(backgroundOutside(image, box));
        EXPECT_GE(countPixels(image, box, [](const Rgb& c) { return c.r >= 200; }), 10);
        if (element.look.border == LabelBorder::Single) {
            EXPECT_TRUE(allPixels(image, QRect(box.left(), box.top(), box.width(), 1), kRed));
            EXPECT_TRUE(allPixels(image, QRect(box.left(), box.bottom(), box.width(), 1), kRed));
            EXPECT_TRUE(allPixels(image, QRect(box.left(), box.top(), 1, box.height()), kRed));
            EXPECT_TRUE(allPixels(image, QRect(box.right(), box.top(), 1, box.height()), kRed));
        }
    }
}

TEST(PainterLabels, FontsUseAnInstalledSansSerifFaceAtPixelSizes)
{
    struct Case
    {
        LabelLook look;
        double dpi;
        int pixelSize;
        bool bold;
    };
    const Case cases[] = {
        {kToggleLabelLook, 96, 13, true}, // 9.75 points
        {kCloseLabelLook, 96, 16, true},  // 12 points
        {LabelLook{}, 96, 11, false},     // no font: 8 points, regular
        {kToggleLabelLook, 192, 26, true}, {LabelLook{}, 144, 16, false},
    };
    for (const Case& c : cases) {
        const QFont font = labelFont(c.look, c.dpi);
        EXPECT_EQ(font.pixelSize(), c.pixelSize);
        EXPECT_EQ(font.bold(), c.bold);
        const QString family = QFontInfo(font).family();
        EXPECT_TRUE(family == "Liberation Sans" || family == "DejaVu Sans") << family.toStdString();
    }
}

// ---- Icon ---------------------------------------------------------------------------

TEST(PainterIcon, CommonIconIsARedCrosshairWithTicksOnBlack)
{
    const QImage image = platform::commonIconImage();
    ASSERT_EQ(image.size(), QSize(32, 32));
    ASSERT_FALSE(image.hasAlphaChannel());
    const std::vector<int> ticks = {0, 3, 7, 11, 19, 23, 27, 31};
    auto isTick = [&](int v) { return std::find(ticks.begin(), ticks.end(), v) != ticks.end(); };
    PixelReport report;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const bool red = x == 15 || y == 15 || (x >= 14 && x <= 16 && isTick(y)) ||
                             (y >= 14 && y <= 16 && isTick(x));
            report.expect(image, {x, y}, red ? kRed : kBlack);
        }
    }
    EXPECT_TRUE(report.result());
}

// ---- Device pixel ratios --------------------------------------------------------

/// `design` painted the way a window with this device pixel ratio paints it.
QImage paintAtRatio(const ReticleDesign& design, double ratio)
{
    const QSize logical(roundToInt(design.clientWidthPixels(kReferenceDpi)),
                        roundToInt(design.clientHeightPixels(kReferenceDpi)));
    QImage image(QSize(roundToInt(logical.width() * ratio), roundToInt(logical.height() * ratio)),
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    QPainter painter(&image);
    paintDesign(painter, design, {});
    painter.end();
    return image;
}

TEST(PainterDeviceRatio, ScaledDevicesGetTheDesignDrawnInDevicePixels)
{
    // At 125 %, 150 % and 200 % every device pixel equals the design drawn
    // directly at the device's resolution: nothing is resampled or blended.
    for (double ratio : {1.25, 1.5, 2.0}) {
        for (const ReticleDesign* design : designs::all()) {
            QImage painted = paintAtRatio(*design, ratio);
            painted.setDevicePixelRatio(1.0);
            const QImage direct = renderDesign(*design, deviceOptions({}, ratio));
            const QImage overlap = painted.copy(QRect(QPoint(0, 0), direct.size()));
            EXPECT_EQ(overlap, direct) << design->designName << " at " << ratio;
        }
    }
}

TEST(PainterDeviceRatio, LinesAreOneLogicalPixelRoundedToWholeDevicePixels)
{
    struct Case
    {
        double ratio;
        int lineWidth;
    };
    for (const Case c : {Case{1.0, 1}, Case{1.25, 1}, Case{1.5, 2}, Case{2.0, 2}, Case{3.0, 3}}) {
        EXPECT_EQ(deviceLineWidth(c.ratio), c.lineWidth) << c.ratio;
    }
    // Punto's 9-pixel ring at 200 %: 18 device pixels across, two thick, hollow.
    const QImage image = renderDesign(designs::punto(), deviceOptions({}, 2.0));
    const QRect ring(480, 384, 18, 18);
    EXPECT_EQ(pixelAt(image, ring.left() + 9, ring.top()), kRed);
    EXPECT_EQ(pixelAt(image, ring.left() + 9, ring.top() + 1), kRed);
    EXPECT_EQ(pixelAt(image, ring.left() + 9, ring.top() + 2), kBackground);
    EXPECT_EQ(pixelAt(image, ring.center().x(), ring.center().y()), kBackground);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
