// The reticle window, headless: load state, the toggle and its region, the
// drag's button rules with the fallback move, "X", and the "20" request.
#include "reticle/reticle_window.h"

#include "designs/designs.h"
#include "platform/platform.h"
#include "platform/qt_bridge.h"
#include "reticle/region_builder.h"
#include "reticle/reticle_painter.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWindow>

#include <memory>
#include <vector>

using namespace zentaro;

namespace {

/// Receives what the window hands to the desktop shell.
class UrlRecorder : public QObject
{
    Q_OBJECT
public:
    std::vector<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls.push_back(url); }
};

/// A shown window, deleted at the end of the test unless it deleted itself.
struct ShownWindow
{
    explicit ShownWindow(std::string_view windowName)
        : window(new ReticleWindow(*designs::findByWindowName(windowName)))
    {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }
    ~ShownWindow() { delete window.data(); }
    ReticleWindow* operator->() const { return window; }
    QPointer<ReticleWindow> window;
};

QPoint centreOf(const ReticleWindow& w, std::string_view name, int index = kNoIndex)
{
    const DesignElement* e = w.design().find(name, index);
    return platform::toQRect(snapToPixels(e->pixelBox(w.dpi()))).center();
}

QRegion expectedTransparentRegion(const ReticleWindow& w)
{
    std::vector<IntRect> rects;
    for (const DesignElement& e : w.design().elements) {
        rects.push_back(snapToPixels(e.pixelBox(w.dpi())));
    }
    return platform::unionOfRects(rects);
}

/// A press, motions and a release at screen positions, as a real pointer
/// gives them: the window-relative positions follow the window as it moves.
void dragAlong(QWidget* w, const std::vector<QPoint>& screenPath, Qt::MouseButton button,
               Qt::KeyboardModifiers modifiers = {})
{
    QTest::mousePress(w, button, modifiers, w->mapFromGlobal(screenPath.front()));
    for (std::size_t i = 1; i < screenPath.size(); ++i) {
        QTest::mouseMove(w, w->mapFromGlobal(screenPath[i]));
    }
    QTest::mouseRelease(w, button, modifiers, w->mapFromGlobal(screenPath.back()));
}

/// Press at `from`, a first motion of one pixel (it starts the move), then
/// a motion by `travel` from there, and the release: (1, 1) + `travel` in all.
void pressMoveRelease(QWidget* w, QPoint from, QPoint travel, Qt::MouseButton button,
                      Qt::KeyboardModifiers modifiers = {})
{
    const QPoint start = w->mapToGlobal(from);
    dragAlong(w, {start, start + QPoint(1, 1), start + QPoint(1, 1) + travel}, button, modifiers);
}

} // namespace

class ReticleWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void loadsWindowedWithTrasparente_data();
    void loadsWindowedWithTrasparente();
    void twoTogglesRestoreTheWindowedState();
    void windowedAfterReturnShowsWholeWhenEnlarged();
    void transparentWindowPaintsEveryElementPixel();
    void dragButtonRules_data();
    void dragButtonRules();
    void dragFollowsThePressedBarAfterThePointerLeavesIt();
    void pointerMotionAfterReleaseDoesNotMove();
    void bar6IsFilledWithTheBarColourAfterLoad();
    void closeLabelEndsTheApplication();
    void label20AsksTheShellToOpenIt();
};

void ReticleWindowTest::loadsWindowedWithTrasparente_data()
{
    QTest::addColumn<QString>("windowName");
    for (const ReticleDesign* d : designs::all()) {
        QTest::newRow(d->windowName.data()) << QString::fromUtf8(d->windowName.data());
    }
}

void ReticleWindowTest::loadsWindowedWithTrasparente()
{
    QFETCH(QString, windowName);
    ShownWindow w(windowName.toStdString());
    const ReticleDesign& d = w->design();
    QCOMPARE(w->isTransparent(), false);
    QCOMPARE(w->toggleCaption(), QStringLiteral("Trasparente"));
    QCOMPARE(w->windowTitle(), QString::fromUtf8(d.caption.data(), d.caption.size()));
    QCOMPARE(w->size(), QSize(roundToInt(d.clientWidthPixels(w->dpi())),
                              roundToInt(d.clientHeightPixels(w->dpi()))));
    QVERIFY(w->mask().isEmpty());
    QVERIFY(w->parentWidget() == nullptr);
    QVERIFY(!(w->windowHandle()->flags() & Qt::FramelessWindowHint));
}

void ReticleWindowTest::twoTogglesRestoreTheWindowedState()
{
    for (const ReticleDesign* d : designs::all()) {
        ShownWindow w(d->windowName);
        const QRect clientBefore = w->geometry();
        const QPoint toggle = centreOf(*w.window, "Label1");

        QTest::mouseClick(w.window, Qt::LeftButton, {}, toggle);
        QVERIFY2(w->isTransparent(), d->windowName.data());
        QCOMPARE(w->toggleCaption(), QStringLiteral("Finestra"));
        QCOMPARE(w->mask(), expectedTransparentRegion(*w.window));
        QCOMPARE(w->mask(), w->transparentRegion());
        QVERIFY(w->windowHandle()->flags() & Qt::FramelessWindowHint);
        QCOMPARE(w->geometry(), clientBefore); // elements stay on their screen pixels
        QVERIFY(w->isVisible());

        QTest::mouseClick(w.window, Qt::LeftButton, {}, toggle);
        QVERIFY(!w->isTransparent());
        QCOMPARE(w->toggleCaption(), QStringLiteral("Trasparente"));
        QVERIFY(w->mask().isEmpty());
        QVERIFY(!(w->windowHandle()->flags() & Qt::FramelessWindowHint));
        QCOMPARE(w->geometry(), clientBefore);
    }
}

void ReticleWindowTest::windowedAfterReturnShowsWholeWhenEnlarged()
{
    ShownWindow w("Form3");
    const QPoint toggle = centreOf(*w.window, "Label1");
    QTest::mouseClick(w.window, Qt::LeftButton, {}, toggle);
    QTest::mouseClick(w.window, Qt::LeftButton, {}, toggle);
    w->resize(w->width() + 100, w->height() + 80);
    // No region is left behind: the enlarged window shows whole.
    QVERIFY(w->mask().isEmpty());
}

void ReticleWindowTest::transparentWindowPaintsEveryElementPixel()
{
    // The region also clips the window's own painting: every pixel inside it
    // must come out as the design paints it, with the new caption.
    for (const ReticleDesign* d : designs::all()) {
        ShownWindow w(d->windowName);
        QTest::mouseClick(w.window, Qt::LeftButton, {}, centreOf(*w.window, "Label1"));
        QVERIFY(w->isTransparent());
        w->repaint();
        const QImage shown = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
        PaintOptions options;
        options.toggleCaption = QStringLiteral("Finestra");
        const QImage expected = renderDesign(*d, options);
        int wrong = 0;
        for (const QRect& r : w->mask()) {
            for (int y = r.top(); y <= r.bottom(); ++y) {
                for (int x = r.left(); x <= r.right(); ++x) {
                    wrong += shown.pixel(x, y) != expected.pixel(x, y) ? 1 : 0;
                }
            }
        }
        QVERIFY2(wrong == 0, qPrintable(QStringLiteral("%1: %2 pixels differ")
                                            .arg(QString::fromUtf8(d->designName.data()))
                                            .arg(wrong)));
    }
}

void ReticleWindowTest::dragButtonRules_data()
{
    QTest::addColumn<QString>("windowName");
    QTest::addColumn<QString>("element");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("moves");
    const int left = Qt::LeftButton;
    const int ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    QTest::newRow("one-pixel bar, left") << "Form3"
                                         << "img" << 1 << left << 0 << true;
    QTest::newRow("bar, left with modifiers") << "Form3"
                                              << "img" << 5 << left << ctrlShift << true;
    QTest::newRow("strip bar, left") << "Form3"
                                     << "img" << 0 << left << 0 << true;
    QTest::newRow("bar, right") << "Form3"
                                << "img" << 1 << int(Qt::RightButton) << 0 << false;
    QTest::newRow("bar, middle") << "Form3"
                                 << "img" << 1 << int(Qt::MiddleButton) << 0 << false;
    QTest::newRow("stroke, left") << "Form3"
                                  << "Shape4" << kNoIndex << left << 0 << false;
    QTest::newRow("close label, left") << "Form3"
                                       << "Label2" << kNoIndex << left << 0 << false;
    QTest::newRow("circle, left") << "Form8"
                                  << "Shape1" << kNoIndex << left << 0 << false;
    QTest::newRow("spare bar 7 on the strip, left") << "Form10"
                                                    << "img" << 7 << left << 0 << true;
}

void ReticleWindowTest::dragButtonRules()
{
    QFETCH(QString, windowName);
    QFETCH(QString, element);
    QFETCH(int, index);
    QFETCH(int, button);
    QFETCH(int, modifiers);
    QFETCH(bool, moves);

    ShownWindow w(windowName.toStdString());
    const QPoint before = w->pos();
    const QPoint from = centreOf(*w.window, element.toStdString(), index);
    // Offscreen there is no window manager to take the move: the window
    // follows the pointer itself.
    pressMoveRelease(w.window, from, QPoint(40, 30), Qt::MouseButton(button),
                     Qt::KeyboardModifiers(modifiers));
    if (moves) {
        // By the pointer's whole travel from the press: the pressed pixel
        // stays under the pointer.
        QCOMPARE(w->pos(), before + QPoint(41, 31));
    } else {
        QCOMPARE(w->pos(), before);
    }
}

void ReticleWindowTest::dragFollowsThePressedBarAfterThePointerLeavesIt()
{
    // A press on a one-pixel bar, then a motion that has already left it.
    ShownWindow w("Form5");
    const QPoint before = w->pos();
    const QPoint onLine = w->mapToGlobal(centreOf(*w.window, "img", 6)); // row 176
    dragAlong(w.window, {onLine, onLine + QPoint(0, 5), onLine + QPoint(20, 25)}, Qt::LeftButton);
    QCOMPARE(w->pos(), before + QPoint(20, 25));

    // A single motion, as when the first motion and the travel come merged:
    // the window still goes the whole way.
    ShownWindow once("Form3");
    const QPoint onceBefore = once->pos();
    const QPoint onBar = once->mapToGlobal(centreOf(*once.window, "img", 1));
    dragAlong(once.window, {onBar, onBar + QPoint(30, 12)}, Qt::LeftButton);
    QCOMPARE(once->pos(), onceBefore + QPoint(30, 12));
}

void ReticleWindowTest::pointerMotionAfterReleaseDoesNotMove()
{
    ShownWindow w("Form3");
    const QPoint from = centreOf(*w.window, "img", 0);
    pressMoveRelease(w.window, from, QPoint(10, 10), Qt::LeftButton);
    const QPoint after = w->pos();
    QVERIFY(after != QPoint());
    QTest::mouseMove(w.window, from + QPoint(60, 60));
    QCOMPARE(w->pos(), after);
    // A label lying over a bar takes the press (Punto's toggle label is
    // above its strip's bars): no move.
    ShownWindow punto("Form8");
    const QPoint puntoBefore = punto->pos();
    const DesignElement* bar0 = punto->design().find("img", 0);
    const QPoint seam(roundToInt(bar0->pixelBox(punto->dpi()).left) + 5, 16);
    QCOMPARE(punto->elementAt(seam), punto->design().find("Label1"));
    pressMoveRelease(punto.window, seam, QPoint(30, 30), Qt::LeftButton);
    QCOMPARE(punto->pos(), puntoBefore);
}

void ReticleWindowTest::bar6IsFilledWithTheBarColourAfterLoad()
{
    ShownWindow w("Form3");
    const QImage image = w->grab().toImage();
    const QRect bar6 = platform::toQRect(snapToPixels(w->design().find("img", 6)->pixelBox(96)));
    const QColor barColour = platform::toQColor(w->design().barColour);
    // Its first and last columns lie under the strokes Shape4 and Shape3.
    for (int x = bar6.left() + 1; x < bar6.right(); ++x) {
        QCOMPARE(image.pixelColor(x, bar6.top()), barColour);
    }
}

void ReticleWindowTest::closeLabelEndsTheApplication()
{
    auto* w = new ReticleWindow(designs::croceRossa());
    QPointer<ReticleWindow> guard(w);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    bool closeEventSeen = false;
    class CloseWatcher : public QObject
    {
    public:
        explicit CloseWatcher(bool& seen) : seen_(seen) {}
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Close) {
                seen_ = true;
            }
            return false;
        }
        bool& seen_;
    } watcher(closeEventSeen);
    w->installEventFilter(&watcher);
    QTimer::singleShot(0, w,
                       [w] { QTest::mouseClick(w, Qt::LeftButton, {}, centreOf(*w, "Label2")); });
    const int status = QCoreApplication::exec();
    QCOMPARE(status, 0);
    QVERIFY2(!closeEventSeen, "no window's closing handling runs");
    w->removeEventFilter(&watcher);
    delete guard.data();
}

void ReticleWindowTest::label20AsksTheShellToOpenIt()
{
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "open");
    {
        ShownWindow w("Form10");
        QTest::mouseClick(w.window, Qt::LeftButton, {}, centreOf(*w.window, "Label11"));
        QCOMPARE(recorder.urls.size(), size_t(1));
        QCOMPARE(recorder.urls.front().toLocalFile(), QDir::current().absoluteFilePath("20"));

        // The other number labels do nothing, in either state.
        QTest::mouseClick(w.window, Qt::LeftButton, {}, centreOf(*w.window, "Label10"));
        QTest::mouseClick(w.window, Qt::LeftButton, {}, centreOf(*w.window, "Label12"));
        QCOMPARE(recorder.urls.size(), size_t(1));
        QTest::mouseClick(w.window, Qt::LeftButton, {}, centreOf(*w.window, "Label1"));
        QTest::mouseClick(w.window, Qt::LeftButton, {}, centreOf(*w.window, "Label11"));
        QCOMPARE(recorder.urls.size(), size_t(2));
        QVERIFY(w->isTransparent()); // nothing in the window changed
        // The right button is no click.
        QTest::mouseClick(w.window, Qt::RightButton, {}, centreOf(*w.window, "Label11"));
        QCOMPARE(recorder.urls.size(), size_t(2));
    }
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
}

QTEST_MAIN(ReticleWindowTest)
#include "reticle_window_test.moc"
