// The reticle window on screens of different device pixel ratios, headless:
// Qt's offscreen platform given four screens at 1, 1.25, 1.5 and 2
// (four_ratio_screens.json). The mouse is tested in device pixels against
// the very boxes the painter draws, and a transparent window that goes to
// a screen of another ratio gets its region built again for it.
//
// The ratios come from each screen's logical DPI over its base DPI (120,
// 144 and 192 over 96), Qt's own high-DPI scaling, as on X11 where the
// desktop's scale is a DPI. The offscreen screens' "dpr" stays 1: Qt 6.6
// and later take a window's ratio from its platform window, and the
// offscreen platform's windows never have one of their own (1.0, seen on
// Qt 6.8.2), so a "dpr" reached the screens but no window on them; Qt 6.4
// took a widget's ratio from its screen.
#include "reticle/reticle_window.h"

#include "designs/designs.h"
#include "platform/device_pixel_ratio_watch.h"
#include "platform/platform.h"
#include "platform/qt_bridge.h"
#include "reticle/reticle_painter.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include <algorithm>
#include <vector>

using namespace zentaro;

namespace {

/// The offscreen screen whose device pixel ratio is `ratio`.
QScreen* screenWithRatio(double ratio)
{
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen->devicePixelRatio() == ratio) {
            return screen;
        }
    }
    return nullptr;
}

/// A shown window, deleted at the end of the test.
struct ShownWindow
{
    explicit ShownWindow(const ReticleDesign& design) : window(new ReticleWindow(design))
    {
        window->show();
        if (!QTest::qWaitForWindowExposed(window)) {
            qWarning("window not exposed");
        }
    }
    ~ShownWindow() { delete window.data(); }
    ReticleWindow* operator->() const { return window; }
    QPointer<ReticleWindow> window;
};

/// Moves `w` onto the screen of `ratio` and waits until Qt has it there:
/// at that ratio and with its geometry on that screen. Qt 6.6 and later
/// give the window the new screen and ratio within move(), before the
/// platform has answered with the new geometry; until then the widget's
/// position is neither the old one nor the new one (seen on Qt 6.8.2: 2667
/// for a move to 8040 on the screen at 1.5), and a press there would be
/// mapped through it.
bool moveToRatio(ReticleWindow& w, double ratio)
{
    QScreen* screen = screenWithRatio(ratio);
    if (screen == nullptr) {
        return false;
    }
    w.move(screen->geometry().topLeft() + QPoint(40, 40));
    return QTest::qWaitFor([&] {
        return w.devicePixelRatioF() == ratio && w.screen() == screen &&
               screen->geometry().contains(w.frameGeometry());
    });
}

/// The logical position whose device pixel is `devicePixel`: its middle.
QPointF logicalMiddle(QPoint devicePixel, double ratio)
{
    return QPointF((devicePixel.x() + 0.5) / ratio, (devicePixel.y() + 0.5) / ratio);
}

/// A mouse event as Qt hands it to a top-level widget: its position rounded
/// to whole logical pixels, the position in the window exact.
void sendMouse(QWidget* w, QEvent::Type type, QPointF at, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, at.toPoint(), at, w->mapToGlobal(at), Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(w, &event);
}

/// A left press at the device pixel, a motion of three logical pixels and
/// the release; whether the window moved.
bool dragMoves(ReticleWindow& w, QPoint devicePixel)
{
    const QPoint before = w.pos();
    // Where the window system puts a pointer on that device pixel: its
    // top-left corner in logical pixels.
    const QPointF at = QPointF(devicePixel) / w.devicePixelRatioF();
    sendMouse(&w, QEvent::MouseButtonPress, at, Qt::LeftButton);
    const QPointF moved = w.mapFromGlobal(w.mapToGlobal(at) + QPointF(3, 3));
    sendMouse(&w, QEvent::MouseMove, moved, Qt::LeftButton);
    sendMouse(&w, QEvent::MouseButtonRelease, w.mapFromGlobal(w.mapToGlobal(at) + QPointF(3, 3)),
              Qt::NoButton);
    const bool movedIt = w.pos() != before;
    w.move(before);
    return movedIt;
}

/// The element's painted device box on `w` as it is now.
QRect deviceBox(const ReticleWindow& w, const DesignElement& element)
{
    return elementDeviceRect(element, w.dpi(), w.devicePixelRatioF());
}

/// Whether a label lies over `element` (earlier in the stacking order) at
/// the device pixel.
bool labelAbove(const ReticleWindow& w, const DesignElement& element, QPoint devicePixel)
{
    for (const DesignElement& e : w.design().elements) {
        if (&e == &element) {
            return false;
        }
        if (e.isLabel() && deviceBox(w, e).contains(devicePixel)) {
            return true;
        }
    }
    return false;
}

bool inAnyBox(const ReticleWindow& w, QPoint devicePixel, bool (DesignElement::*kind)() const)
{
    for (const DesignElement& e : w.design().elements) {
        if ((e.*kind)() && deviceBox(w, e).contains(devicePixel)) {
            return true;
        }
    }
    return false;
}

QString describe(const ReticleWindow& w, const char* what, QPoint p, const DesignElement* got)
{
    return QStringLiteral("%1 at %2: %3 device pixel (%4, %5) takes %6")
        .arg(QString::fromUtf8(w.design().designName.data()))
        .arg(w.devicePixelRatioF())
        .arg(QString::fromUtf8(what))
        .arg(p.x())
        .arg(p.y())
        .arg(got != nullptr ? QString::fromStdString(got->displayName()) : QStringLiteral("none"));
}

} // namespace

class ScreenRatioTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void mouseTakesThePaintedDevicePixels_data();
    void mouseTakesThePaintedDevicePixels();
    void everyDeviceColumnOfAOnePixelBarDrags_data();
    void everyDeviceColumnOfAOnePixelBarDrags();
    void ratioWatchTellsOfEachNewRatio();
    void transparentRegionFollowsTheScreensRatio();
};

void ScreenRatioTest::initTestCase()
{
    for (const double ratio : {1.0, 1.25, 1.5, 2.0}) {
        QVERIFY2(screenWithRatio(ratio) != nullptr,
                 "run on the offscreen platform with four_ratio_screens.json");
    }
}

void ScreenRatioTest::mouseTakesThePaintedDevicePixels_data()
{
    QTest::addColumn<double>("ratio");
    for (const double ratio : {1.0, 1.25, 1.5, 2.0}) {
        QTest::newRow(qPrintable(QString::number(ratio))) << ratio;
    }
}

void ScreenRatioTest::mouseTakesThePaintedDevicePixels()
{
    QFETCH(double, ratio);
    for (const ReticleDesign* design : designs::all()) {
        ShownWindow w(*design);
        QVERIFY(moveToRatio(*w.window, ratio));
        // What the window paints at this ratio, to check that the boxes read
        // here are the painted ones.
        const QImage painted = renderDesign(*design, deviceOptions({w->dpi()}, ratio));
        const QColor barColour = platform::toQColor(design->barColour);

        QRegion bars;
        for (const DesignElement& element : design->elements) {
            if (element.isBar()) {
                bars += deviceBox(*w.window, element);
            }
        }
        for (const DesignElement& element : design->elements) {
            const QRect box = deviceBox(*w.window, element);
            for (int y = box.top(); y <= box.bottom(); ++y) {
                for (int x = box.left(); x <= box.right(); ++x) {
                    const QPoint p(x, y);
                    const DesignElement* got = w->elementAt(logicalMiddle(p, ratio));
                    if (element.isBar()) {
                        // Every pixel of a bar drags (this bar or one above
                        // it) unless a label lies on it; a stroke over it
                        // changes nothing.
                        const bool label = labelAbove(*w.window, element, p);
                        QVERIFY2(got != nullptr && got <= &element &&
                                     (got->isBar() || (label && got->isLabel())),
                                 qPrintable(describe(*w.window, "bar", p, got)));
                        if (barShowsPicture(element) && !label &&
                            !inAnyBox(*w.window, p, &DesignElement::isStroke)) {
                            QVERIFY2(painted.pixelColor(p) == barColour,
                                     qPrintable(describe(*w.window, "unpainted bar", p, got)));
                        }
                    } else if (element.isLabel()) {
                        QVERIFY2(got != nullptr && (got->isLabel() || got->isBar()),
                                 qPrintable(describe(*w.window, "label", p, got)));
                    } else if (!bars.contains(p) &&
                               !inAnyBox(*w.window, p, &DesignElement::isLabel)) {
                        // A stroke alone takes nothing.
                        QVERIFY2(got == nullptr, qPrintable(describe(*w.window, "stroke", p, got)));
                    }
                }
            }
        }
        // The device pixels just beside the bars take no drag.
        const QRegion beside = bars.translated(1, 0)
                                   .united(bars.translated(-1, 0))
                                   .united(bars.translated(0, 1))
                                   .united(bars.translated(0, -1))
                                   .subtracted(bars);
        for (const QRect& r : beside) {
            for (int y = r.top(); y <= r.bottom(); ++y) {
                for (int x = r.left(); x <= r.right(); ++x) {
                    const QPoint p(x, y);
                    const DesignElement* got = w->elementAt(logicalMiddle(p, ratio));
                    QVERIFY2(got == nullptr || got->isLabel(),
                             qPrintable(describe(*w.window, "beside a bar", p, got)));
                }
            }
        }
    }
}

void ScreenRatioTest::everyDeviceColumnOfAOnePixelBarDrags_data()
{
    QTest::addColumn<double>("ratio");
    for (const double ratio : {1.0, 1.25, 1.5, 2.0}) {
        QTest::newRow(qPrintable(QString::number(ratio))) << ratio;
    }
}

void ScreenRatioTest::everyDeviceColumnOfAOnePixelBarDrags()
{
    // Through the window's own press handling, at fractional logical
    // positions: every device column of CroceRossa's vertical one-pixel
    // axis img(5) drags, the columns beside it do not.
    QFETCH(double, ratio);
    ShownWindow w(designs::croceRossa());
    QVERIFY(moveToRatio(*w.window, ratio));
    const DesignElement* line = w->design().find("img", 5);
    QVERIFY(line != nullptr);
    const QRect box = deviceBox(*w.window, *line);
    QVERIFY2(box.width() < box.height(), "img(5) is a vertical line");
    const int y = box.center().y();
    for (int x = box.left(); x <= box.right(); ++x) {
        QVERIFY2(dragMoves(*w.window, QPoint(x, y)), qPrintable(QString::number(x)));
    }
    QVERIFY(!dragMoves(*w.window, QPoint(box.left() - 1, y)));
    QVERIFY(!dragMoves(*w.window, QPoint(box.right() + 1, y)));
}

void ScreenRatioTest::ratioWatchTellsOfEachNewRatio()
{
    // The window's watch tells of every move to a screen of another ratio,
    // with the new ratio already given when it does (the region is rebuilt
    // from it then), through QEvent::DevicePixelRatioChange or, on Qt 6.4,
    // the screen change. A repaint would rebuild the region too, so the
    // region alone would not show a watch that stayed silent.
    ShownWindow w(designs::croceRossa());
    QVERIFY(moveToRatio(*w.window, 1.0));
    auto* watch = w->findChild<platform::DevicePixelRatioWatch*>();
    QVERIFY(watch != nullptr);
    std::vector<double> told;
    connect(watch, &platform::DevicePixelRatioWatch::mayHaveChanged, this,
            [&] { told.push_back(w->devicePixelRatioF()); });
    for (const double ratio : {1.5, 2.0, 1.25, 1.0}) {
        told.clear();
        QVERIFY(moveToRatio(*w.window, ratio));
        QVERIFY2(std::find(told.begin(), told.end(), ratio) != told.end(),
                 qPrintable(QStringLiteral("not told of %1").arg(ratio)));
    }
}

void ScreenRatioTest::transparentRegionFollowsTheScreensRatio()
{
    // A transparent window carried from screen to screen keeps a region equal
    // to its painted elements at each screen's ratio.
    ShownWindow w(designs::croceRossaMicrometrica());
    QVERIFY(moveToRatio(*w.window, 1.0));
    QTest::mouseClick(w.window, Qt::LeftButton, {},
                      deviceBox(*w.window, *w->design().find("Label1")).center());
    QVERIFY(w->isTransparent());
    for (const double ratio : {1.5, 2.0, 1.25, 1.0, 1.5}) {
        QVERIFY(moveToRatio(*w.window, ratio));
        const QRegion expected = platform::logicalCover(w->transparentDeviceRects(), ratio);
        QVERIFY2(QTest::qWaitFor([&] { return w->mask() == expected; }),
                 qPrintable(QStringLiteral("region not rebuilt at %1").arg(ratio)));
        // Painted at the new ratio, inside that region.
        w->repaint();
        const QImage shown = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
        PaintOptions look;
        look.dpi = w->dpi();
        look.toggleCaption = QStringLiteral("Finestra");
        const QImage expectedPixels = renderDesign(w->design(), deviceOptions(look, ratio));
        const QRect both = shown.rect().intersected(expectedPixels.rect());
        int wrong = 0;
        for (const IntRect& r : w->transparentDeviceRects()) {
            const QRect inside = platform::toQRect(r).intersected(both);
            for (int y = inside.top(); y <= inside.bottom(); ++y) {
                for (int x = inside.left(); x <= inside.right(); ++x) {
                    wrong += shown.pixel(x, y) != expectedPixels.pixel(x, y) ? 1 : 0;
                }
            }
        }
        QVERIFY2(wrong == 0,
                 qPrintable(QStringLiteral("%1 pixels differ at %2").arg(wrong).arg(ratio)));
    }
}

QTEST_MAIN(ScreenRatioTest)
#include "screen_ratio_test.moc"
