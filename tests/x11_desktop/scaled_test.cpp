// Reticle windows on a scaled display (QT_SCALE_FACTOR 1.5 and 2) under
// openbox. X works in device pixels: the transparent state's shape must be
// exactly the elements' boxes at the device resolution (96 dpi times the
// ratio), and the pixels inside it exactly what the painter draws there, so
// that no element is clipped and no background shows around it.
#include "design_geometry.h"
#include "move_request_watch.h"
#include "pointer.h"
#include "regions.h"
#include "reticle_driver.h"
#include "reticle_host_process.h"
#include "scale_factor.h"
#include "screenshot.h"
#include "wait.h"
#include "window_query.h"
#include "x_connection.h"

#include "designs/designs.h"
#include "platform/qt_bridge.h"
#include "reticle/reticle_painter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QRegion>

#include <chrono>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace zentaro::x11test {
namespace {

struct ScaledCase
{
    const ReticleDesign* design;
    double ratio;
};

void PrintTo(const ScaledCase& c, std::ostream* out)
{
    *out << c.design->designName << " at " << c.ratio;
}

std::string caseName(const ::testing::TestParamInfo<ScaledCase>& info)
{
    return std::string(info.param.design->designName) + (info.param.ratio == 2.0 ? "_x2" : "_x1_5");
}

std::vector<ScaledCase> allCases()
{
    std::vector<ScaledCase> cases;
    for (const double ratio : {2.0, 1.5}) {
        for (const ReticleDesign* design : designs::all()) {
            cases.push_back({design, ratio});
        }
    }
    return cases;
}

using platform::toQString;

/// The elements whose device rectangle `region` does not wholly hold, with
/// the pixels it leaves out.
std::string clippedElements(const DesignGeometry& device, const QRegion& region)
{
    std::ostringstream out;
    for (const DesignElement& element : device.design().elements) {
        const QRegion missing = QRegion(device.elementRect(element)).subtracted(region);
        if (!missing.isEmpty()) {
            out << element.displayName() << " " << describe(missing) << "; ";
        }
    }
    return out.str();
}

class ScaledReticleTest : public ::testing::TestWithParam<ScaledCase>
{
protected:
    const ReticleDesign& design() const { return *GetParam().design; }
    double ratio() const { return GetParam().ratio; }

    void SetUp() override
    {
        {
            const ScopedScaleFactor scale(ratio());
            host_ = std::make_unique<ReticleHostProcess>(
                x_, HostOptions{{std::string(design().windowName)}, false, {}});
        }
        ASSERT_TRUE(host_->waitUntilShown());
        window_ = host_->window(design().windowName);
        device_.emplace(design(), host_->dpi(design().windowName) * ratio());
        const auto origin = rootPosition(x_, window_);
        ASSERT_TRUE(origin);
        origin_ = *origin;
        const auto size = windowSize(x_, window_);
        ASSERT_TRUE(size);
        size_ = *size;
        ASSERT_TRUE(waitUntil([&] { return isWindowedAtOrigin(); })) << describeState();
    }

    /// A click on the toggle label, beside its middle device pixel, left and
    /// right by turns: two quick clicks on one spot would be a double click.
    ::testing::AssertionResult clickToggle()
    {
        clickSide_ = -clickSide_;
        const QPoint at = origin_ + device_->centreOf(*design().find("Label1")) +
                          QPoint(roundToInt(clickSide_ * kApartFromTheLastClick * ratio()), 0);
        if (!waitUntil([&] { return showsWindowAt(x_, window_, at); })) {
            return ::testing::AssertionFailure() << "the toggle label is not shown at "
                                                 << toString(at) << "; " << describeState();
        }
        Pointer pointer(x_);
        return pointer.click(at) ? ::testing::AssertionSuccess()
                                 : ::testing::AssertionFailure() << "could not click";
    }

    /// Whole (no shape), framed again, the client where it was.
    bool isWindowedAtOrigin()
    {
        const auto shape = boundingShape(x_, window_);
        const auto frame = frameExtents(x_, window_);
        return shape && samePixels(shape->region, QRect(QPoint(0, 0), size_)) && frame &&
               frame->top() > 0 && rootPosition(x_, window_) == origin_;
    }

    std::string describeState()
    {
        const auto shape = boundingShape(x_, window_);
        return "origin " + toString(rootPosition(x_, window_)) + " (was " + toString(origin_) +
               "), size " + toString(windowSize(x_, window_)) + ", frame " +
               toString(frameExtents(x_, window_)) + ", " +
               (shape ? (shape->shaped ? "shape " + describe(shape->region) : "unshaped")
                      : "no window");
    }

    /// The union of every element's device rectangle: all that may show.
    QRegion elementUnion() const
    {
        QRegion result;
        for (const DesignElement& element : design().elements) {
            result += device_->elementRect(element);
        }
        return result;
    }

    XConnection x_;
    std::unique_ptr<ReticleHostProcess> host_;
    XId window_ = 0;
    std::optional<DesignGeometry> device_;
    QPoint origin_;
    QSize size_;
    int clickSide_ = 1;
};

TEST_P(ScaledReticleTest, TransparentShapeIsExactlyThePaintedElementsInDevicePixels)
{
    // Qt renders text without hinting once high-dpi scaling is active; the
    // expected pixels must come from a scaled application too.
    ASSERT_NE(qApp->devicePixelRatio(), 1.0)
        << "run with QT_SCALE_FACTOR set, so that labels are painted as in the scaled host";

    // The window's device size follows from its logical geometry, which at
    // 1.5 may come out one pixel short of the design's device size; no
    // element may lie in the part cut off.
    const QRect client(QPoint(0, 0), size_);
    EXPECT_EQ(clippedElements(*device_, client), "") << "elements the window's edges cut";

    const DesignElement* toggle = design().find("Label1");
    ASSERT_NE(toggle, nullptr);
    ASSERT_TRUE(clickToggle());

    // The shape: the element boxes at the device resolution, nothing more
    // (no stray background) and nothing less (no clipped element).
    const QRegion expectedShape = device_->transparentRegion(size_);
    std::optional<BoundingShape> shape;
    const bool shaped = waitUntil([&] {
        shape = boundingShape(x_, window_);
        return shape && shape->shaped && samePixels(shape->region, expectedShape);
    });
    ASSERT_TRUE(shape && shape->shaped) << "no shape after the toggle";
    EXPECT_TRUE(shaped) << describeDifference(shape->region, expectedShape);
    const QRegion all = elementUnion();
    EXPECT_TRUE(shape->region.subtracted(all).isEmpty())
        << "background in the shape: " << describe(shape->region.subtracted(all));
    const QRegion shown = shape->region.intersected(client);
    EXPECT_EQ(clippedElements(*device_, shown), "") << "elements the shape clips";

    // The toggle moves nothing and leaves no frame.
    EXPECT_TRUE(waitUntil([&] {
        const auto frame = frameExtents(x_, window_);
        return !frame || frame->isNull();
    })) << "frame "
        << toString(frameExtents(x_, window_));
    EXPECT_EQ(rootPosition(x_, window_), origin_);
    EXPECT_EQ(windowSize(x_, window_), size_);

    // Every shown pixel is the painter's, the toggle label now reading
    // "Finestra". The grid and the centring scale at 2 are larger than the
    // screen: their pixels beyond its edge cannot be read back.
    PaintOptions transparentLook;
    transparentLook.toggleCaption = toQString(kToggleToWindowed);
    const QImage expected = renderDesign(design(), deviceOptions(transparentLook, ratio()));
    const QRect onScreen =
        QRect(origin_, size_).intersected(QRect(0, 0, x_.screenWidth(), x_.screenHeight()));
    ASSERT_FALSE(onScreen.isEmpty());
    const QRegion checked = shown.intersected(onScreen.translated(-origin_));
    QRegion differing;
    const bool painted = waitUntil([&] {
        const QImage screen = grabScreen(x_, onScreen);
        QImage actual(size_, QImage::Format_RGB32);
        actual.fill(Qt::black);
        QPainter(&actual).drawImage(onScreen.topLeft() - origin_, screen);
        differing = differingPixels(expected, actual, checked);
        return differing.isEmpty();
    });
    if (!painted) {
        // Tell a text rendering difference (labels only) from wrong geometry.
        QRegion labels;
        for (const DesignElement& element : design().elements) {
            if (element.isLabel()) {
                labels += device_->elementRect(element);
            }
        }
        ADD_FAILURE() << "pixels differing from the painter's: " << describe(differing)
                      << "\n  outside the labels: " << describe(differing.subtracted(labels));
    }

    // Back to the windowed state and once more to the transparent one: the
    // client stays on the same device pixel (no rounding through logical
    // coordinates) and the shape comes back the same.
    ASSERT_TRUE(clickToggle());
    EXPECT_TRUE(waitUntil([&] { return isWindowedAtOrigin(); })) << describeState();
    ASSERT_TRUE(clickToggle());
    EXPECT_TRUE(waitUntil([&] {
        const auto again = boundingShape(x_, window_);
        return again && again->shaped && samePixels(again->region, expectedShape) &&
               rootPosition(x_, window_) == origin_;
    })) << describeState();
}

INSTANTIATE_TEST_SUITE_P(Scaled, ScaledReticleTest, ::testing::ValuesIn(allCases()), caseName);

/// A press at `from`, the pointer moved by (33, 22) in steps, and the
/// release; returns where the window is then. The program asks the window
/// manager for the move at the first motion, and the window manager follows
/// only from the moment it takes the pointer: where `expectMove`,
/// the steps wait for that request and that grab, as a hand is slower than
/// both. Where the press must not move anything (`expectMove` false), the
/// steps follow at once.
std::optional<QPoint> dragFrom(XConnection& x, XId window, QPoint from, bool expectMove)
{
    Pointer pointer(x);
    MoveRequestWatch moveRequests;
    if (!pointer.moveTo(from) || !pointer.press(kLeftButton) ||
        !pointer.moveTo(from + QPoint(3, 2))) {
        return std::nullopt;
    }
    if (expectMove && (!moveRequests.waitForMove(window) ||
                       !waitUntil([&] { return pointer.isGrabbedElsewhere(); }))) {
        pointer.release(kLeftButton);
        return std::nullopt;
    }
    if (!pointer.moveInSteps(from + QPoint(33, 22), 5) || !pointer.release(kLeftButton) ||
        !waitUntil([&] { return !pointer.isGrabbedElsewhere(); })) {
        return std::nullopt;
    }
    return rootPosition(x, window);
}

/// Whether a move of `window` is asked for within a bounded time after the
/// gesture that must not ask for one (the program handles its events within
/// milliseconds; the bound only ends the wait for what does not come).
bool noMoveRequested(MoveRequestWatch& moveRequests, XId window)
{
    constexpr std::chrono::milliseconds kNoRequestBound{500};
    return !moveRequests.waitForMove(window, kNoRequestBound).has_value();
}

TEST(ScaledOnePixelBar, EveryScreenColumnOfTheBarDragsAndTheColumnBesideDoesNot)
{
    // CroceRossa's vertical axis img(5) is one logical pixel wide: two
    // screen columns at scale 2. Both take the drag; the columns on either
    // side of it do not.
    constexpr double kRatio = 2.0;
    XConnection x;
    std::unique_ptr<ReticleHostProcess> host;
    const ReticleDesign& design = designs::croceRossa();
    {
        const ScopedScaleFactor scale(kRatio);
        host = std::make_unique<ReticleHostProcess>(
            x, HostOptions{{std::string(design.windowName)}, false, {}});
    }
    ASSERT_TRUE(host->waitUntilShown());
    const XId window = host->window(design.windowName);
    const DesignGeometry device(design, host->dpi(design.windowName) * kRatio);
    const QRect axis = device.elementRect(*design.find("img", 5));
    ASSERT_EQ(axis.width(), 2) << "img(5) at scale 2";
    // Below the centre, clear of the horizontal axis.
    const int row = axis.top() + axis.height() * 3 / 4;
    struct Column
    {
        int x;
        bool drags;
    };
    const std::vector<Column> columns = {{axis.left() - 1, false},
                                         {axis.left(), true},
                                         {axis.right(), true},
                                         {axis.right() + 1, false}};
    for (const Column& column : columns) {
        SCOPED_TRACE("column " + std::to_string(column.x - axis.left()) + " of the axis");
        const auto origin = rootPosition(x, window);
        ASSERT_TRUE(origin);
        ASSERT_TRUE(
            waitUntil([&] { return showsWindowAt(x, window, *origin + QPoint(column.x, row)); }));
        if (column.drags) {
            const auto after = dragFrom(x, window, *origin + QPoint(column.x, row), true);
            ASSERT_TRUE(after) << "no move began from " << toString(origin);
            EXPECT_TRUE(waitUntil([&] { return rootPosition(x, window) != origin; }))
                << "did not move from " << toString(origin);
        } else {
            MoveRequestWatch moveRequests;
            const auto after = dragFrom(x, window, *origin + QPoint(column.x, row), false);
            ASSERT_TRUE(after);
            EXPECT_TRUE(noMoveRequested(moveRequests, window));
            EXPECT_EQ(*rootPosition(x, window), *origin);
        }
    }
}

} // namespace
} // namespace zentaro::x11test
