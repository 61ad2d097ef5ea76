// Opening and toggling every reticle window, timed inside the program on a
// real X server (run it under scripts/x11-session.sh).
//
// For each item of the main window's reticle menu, in menu order, and for a
// few rounds:
//   open      from the menu action's trigger to the new window's first paint
//             done and on the server (the paint follows the server's Expose,
//             so the window is mapped by then);
//   to-trans  from Label1_Click to the next paint done, the region applied;
//   to-window from the second Label1_Click to the next paint done;
// then the window is closed, so the next round loads it anew. "Done and on
// the server" is one round trip on Qt's own connection after the paint: the
// server has then handled every request the paint sent. A plain QWidget of
// the largest design's size is opened the same way, as the baseline of what
// any new window costs with this window manager and server.
//
// Target: under 16.7 ms (one frame at 60 Hz) for every design; the medians
// over the rounds are judged, the first open of each design is shown too.
//
// Rerun: scripts/x11-session.sh -- build-release/bench/bench_open_toggle [ROUNDS]
#include "designs/design.h"
#include "designs/designs.h"
#include "reticle/reticle_window.h"
#include "shell/application.h"
#include "shell/main_window.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPainter>
#include <QPointer>
#include <QTimer>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using zentaro::ReticleWindow;

constexpr double kFrameBudgetMs = 16.7;
constexpr int kDefaultRounds = 7;
constexpr int kWaitTimeoutMs = 5000;
// Settling: the window counts as quiet after this many event passes in a
// row, each this long, with no paint.
constexpr int kQuietPasses = 3;
constexpr int kQuietPassMs = 5;

const char* const kReticleActions[] = {
    "mnuStandardBianco",
    "mnuGriglia",
    "mnuSatndardRossoFine",
    "mnuCroceRossa",
    "mnuCroceRossaMicrometrica",
    "mnuCampoCCD",
    "mnuPunto",
    "mnuCentratore",
};

double elapsedMs(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

/// Counts the paint events a window receives, and notes when the last one
/// arrived on `clock`.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(const QElapsedTimer& clock) : clock_(clock) {}

    int paints() const { return paints_; }
    double lastPaintArrivalMs() const { return lastPaintArrivalMs_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            ++paints_;
            lastPaintArrivalMs_ = elapsedMs(clock_);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    const QElapsedTimer& clock_;
    int paints_ = 0;
    double lastPaintArrivalMs_ = 0;
};

/// One round trip to the X server on Qt's own connection: every request Qt
/// has sent before (the paint's image, the shape) has been handled on return.
void roundTrip()
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr) {
        return;
    }
    xcb_connection_t* connection = x11->connection();
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

/// Runs the event loop until `counter` has seen a paint beyond `paintsBefore`
/// and the paint has been flushed; returns false on timeout.
bool waitForPaint(const PaintCounter& counter, int paintsBefore)
{
    // Blocks for the next event rather than polling: the window manager and
    // the server need the processor meanwhile. The timer wakes it at the end.
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.start(kWaitTimeoutMs);
    while (counter.paints() == paintsBefore) {
        if (!deadline.isActive()) {
            return false;
        }
        // Returns once it has handled what arrived, the paint and its flush
        // included.
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    roundTrip();
    return true;
}

/// Lets the window and the window manager finish what they were doing
/// (placement, focus, late exposures), so that the next step is timed alone.
void settle(const PaintCounter& counter)
{
    int quietPasses = 0;
    while (quietPasses < kQuietPasses) {
        const int before = counter.paints();
        roundTrip();
        QEventLoop pass;
        QTimer::singleShot(kQuietPassMs, &pass, &QEventLoop::quit);
        pass.exec();
        quietPasses = counter.paints() == before ? quietPasses + 1 : 0;
    }
}

ReticleWindow* visibleReticleWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<ReticleWindow*>(widget); window && window->isVisible()) {
            return window;
        }
    }
    return nullptr;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

/// Times of opening a window: in all, and its parts: the trigger (load and
/// show), the wait for the server's Expose, the paint and its flush.
struct OpenTimes
{
    std::vector<double> total;
    std::vector<double> show;
    std::vector<double> expose;
    std::vector<double> paint;
    /// show + paint: what the program itself spends, without the wait.
    std::vector<double> ownWork;
};

struct DesignTimes
{
    std::string name;
    OpenTimes open;
    std::vector<double> toTransparent;
    std::vector<double> toWindowed;
};

/// Calls `open`, which shows a new top-level window and returns it, and
/// times it to the window's first paint on `clock`. `counter` stays installed
/// on the window. Returns the window, or nullptr on failure.
QWidget* timeOpen(const std::function<QWidget*()>& open, QElapsedTimer& clock,
                  PaintCounter& counter, OpenTimes& times)
{
    clock.restart();
    QWidget* window = open();
    const double shownMs = elapsedMs(clock);
    if (window == nullptr) {
        return nullptr;
    }
    window->installEventFilter(&counter);
    if (!waitForPaint(counter, 0)) {
        return nullptr;
    }
    const double paintedMs = elapsedMs(clock);
    times.total.push_back(paintedMs);
    times.show.push_back(shownMs);
    times.expose.push_back(counter.lastPaintArrivalMs() - shownMs);
    times.paint.push_back(paintedMs - counter.lastPaintArrivalMs());
    times.ownWork.push_back(shownMs + times.paint.back());
    return window;
}

/// Closes a window that deletes itself on close, and waits until it has gone.
void closeAndWait(QWidget* window)
{
    QPointer<QWidget> closing(window);
    window->close();
    while (closing) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

/// One round for one menu item: open, toggle twice, close. False on failure.
bool runRound(QAction& action, DesignTimes& times)
{
    QElapsedTimer clock;
    clock.start();
    PaintCounter counter(clock);
    QWidget* opened = timeOpen(
        [&action] {
            action.trigger();
            return visibleReticleWindow();
        },
        clock, counter, times.open);
    auto* window = qobject_cast<ReticleWindow*>(opened);
    if (window == nullptr) {
        std::fprintf(stderr, "%s: no reticle window painted\n", qPrintable(action.objectName()));
        return false;
    }
    times.name = std::string(window->design().designName);
    settle(counter);

    for (std::vector<double>* toggle : {&times.toTransparent, &times.toWindowed}) {
        const int before = counter.paints();
        clock.restart();
        window->Label1_Click();
        if (!waitForPaint(counter, before)) {
            std::fprintf(stderr, "%s: no paint after Label1_Click\n", times.name.c_str());
            return false;
        }
        toggle->push_back(elapsedMs(clock));
        if (toggle == &times.toTransparent && window->mask() != window->transparentRegion()) {
            std::fprintf(stderr, "%s: the region is not applied\n", times.name.c_str());
            return false;
        }
        settle(counter);
    }
    window->removeEventFilter(&counter);
    closeAndWait(window); // the next trigger loads it anew
    return true;
}

/// The least a top-level window costs here: one filled with a colour, with
/// no content to build or paint, at the size of the largest design window.
class PlainWindow : public QWidget
{
public:
    explicit PlainWindow(QSize size)
    {
        setAttribute(Qt::WA_DeleteOnClose);
        setAttribute(Qt::WA_OpaquePaintEvent);
        resize(size);
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), Qt::darkRed); }
};

/// Opening the plain window, as often as a design is opened: what the window
/// manager and the server take for any new window.
bool timePlainWindow(int rounds, OpenTimes& times)
{
    const zentaro::ReticleDesign& largest = zentaro::designs::centratore();
    const double dpi = zentaro::kReferenceDpi;
    const QSize size(zentaro::roundToInt(largest.clientWidthPixels(dpi)),
                     zentaro::roundToInt(largest.clientHeightPixels(dpi)));
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer clock;
        clock.start();
        PaintCounter counter(clock);
        QWidget* window = timeOpen(
            [size] {
                auto* plain = new PlainWindow(size);
                plain->show();
                return plain;
            },
            clock, counter, times);
        if (window == nullptr) {
            return false;
        }
        settle(counter);
        window->removeEventFilter(&counter);
        closeAndWait(window);
    }
    return true;
}

bool waitForMainWindow(QWidget& mainWindow)
{
    QElapsedTimer clock;
    clock.start();
    PaintCounter counter(clock);
    mainWindow.installEventFilter(&counter);
    const bool painted = waitForPaint(counter, 0);
    settle(counter);
    mainWindow.removeEventFilter(&counter);
    return painted;
}

void printOpenRow(const char* name, const OpenTimes& open, const char* toggles, double worst)
{
    std::printf("%-24s %8.2f %8.2f %s %8.2f   %.2f + %.2f + %.2f\n", name, open.total.front(),
                median(open.total), toggles, worst, median(open.show), median(open.expose),
                median(open.paint));
}

void printTable(const std::vector<DesignTimes>& all, const OpenTimes& plain, int rounds)
{
    std::printf("\nOpen and toggle, ms (median of %d rounds; first = the first open of the "
                "design)\n",
                rounds);
    std::printf("%-24s %8s %8s %8s %8s %8s   %s\n", "design", "first", "open", "to-trans",
                "to-wind", "worst", "open = show + expose + paint");
    for (const DesignTimes& t : all) {
        double worst = 0;
        for (const auto* v : {&t.open.total, &t.toTransparent, &t.toWindowed}) {
            worst = std::max(worst, *std::max_element(v->begin(), v->end()));
        }
        char toggles[32];
        std::snprintf(toggles, sizeof toggles, "%8.2f %8.2f", median(t.toTransparent),
                      median(t.toWindowed));
        printOpenRow(t.name.c_str(), t.open, toggles, worst);
    }
    printOpenRow("(plain QWidget, baseline)", plain, "       -        -",
                 *std::max_element(plain.total.begin(), plain.total.end()));
}

struct Slowest
{
    double medianMs = 0;
    std::string design;
};

/// The design whose median of `values` is the largest.
Slowest slowestMedian(const std::vector<DesignTimes>& all,
                      const std::function<const std::vector<double>&(const DesignTimes&)>& values)
{
    Slowest slowest;
    for (const DesignTimes& t : all) {
        const double m = median(values(t));
        if (m >= slowest.medianMs) {
            slowest = {m, t.name};
        }
    }
    return slowest;
}

void printJudged(const char* step, const Slowest& slowest)
{
    std::printf("RESULT|%s (slowest design, %s)|%.2f ms|< %.1f ms|%s\n", step,
                slowest.design.c_str(), slowest.medianMs, kFrameBudgetMs,
                slowest.medianMs < kFrameBudgetMs ? "met" : "missed");
}

/// The summary lines bench/run-all.sh collects: the slowest design's median
/// for each step, and two figures that tell the program's share of an open
/// from the window manager's and the server's.
void printResults(const std::vector<DesignTimes>& all, const OpenTimes& plain)
{
    printJudged("open: menu action to first paint",
                slowestMedian(all, [](const DesignTimes& t) -> auto& { return t.open.total; }));
    printJudged("toggle to transparent: Label1_Click to paint",
                slowestMedian(all, [](const DesignTimes& t) -> auto& { return t.toTransparent; }));
    printJudged("toggle to windowed: Label1_Click to paint",
                slowestMedian(all, [](const DesignTimes& t) -> auto& { return t.toWindowed; }));
    const Slowest own =
        slowestMedian(all, [](const DesignTimes& t) -> auto& { return t.open.ownWork; });
    std::printf("RESULT|open, the program's own work: show + paint (slowest design, %s)|%.2f "
                "ms|(information)|-\n",
                own.design.c_str(), own.medianMs);
    std::printf("RESULT|open, baseline: a plain QWidget, same size as Centratore|%.2f "
                "ms|(information)|-\n",
                median(plain.total));
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultRounds;
    std::printf("rerun: scripts/x11-session.sh -- %s [ROUNDS]  (target: every step under "
                "%.1f ms)\n",
                argv[0], kFrameBudgetMs);
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        std::fprintf(stderr, "needs a real X server (platform xcb), not %s\n",
                     qPrintable(QGuiApplication::platformName()));
        return 1;
    }

    zentaro::shell::Application shell;
    shell.start();
    zentaro::shell::MainWindow* mainWindow = shell.mainWindow();
    if (!waitForMainWindow(*mainWindow)) {
        std::fprintf(stderr, "the main window was never painted\n");
        return 1;
    }

    std::vector<DesignTimes> all;
    for (const char* actionName : kReticleActions) {
        auto* action = mainWindow->findChild<QAction*>(QLatin1String(actionName));
        if (action == nullptr) {
            std::fprintf(stderr, "no menu action %s\n", actionName);
            return 1;
        }
        DesignTimes times;
        for (int round = 0; round < rounds; ++round) {
            if (!runRound(*action, times)) {
                return 1;
            }
        }
        all.push_back(std::move(times));
    }
    OpenTimes plain;
    if (!timePlainWindow(rounds, plain)) {
        std::fprintf(stderr, "the plain window was never painted\n");
        return 1;
    }
    printTable(all, plain, rounds);
    printResults(all, plain);
    return 0;
}
