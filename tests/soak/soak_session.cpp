#include "soak_session.h"

#include "design_geometry.h"
#include "regions.h"
#include "resident_memory.h"
#include "window_query.h"

#include "designs/designs.h"
#include "reticle/reticle_window.h"
#include "shell/application.h"
#include "shell/main_window.h"

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QWindow>

#include <algorithm>
#include <array>
#include <chrono>
#include <iostream>
#include <iterator>

namespace zentaro::soak {

namespace {

struct MenuItem
{
    const char* action;
    std::string_view window;
};

/// The main window's nine menu items, in menu order, and the windows they open.
constexpr std::array<MenuItem, 9> kMenuItems{{
    {"mnuStandardBianco", "Form3"},
    {"mnuGriglia", "Form2"},
    {"mnuSatndardRossoFine", "Form4"},
    {"mnuCroceRossa", "Form5"},
    {"mnuCroceRossaMicrometrica", "Form6"},
    {"mnuCampoCCD", "Form7"},
    {"mnuPunto", "Form8"},
    {"mnuCentratore", "Form10"},
    {"mnuInfo", "Form9"},
}};

constexpr int kReticleCount = 8;

/// A real drag: the first motion after the press, then the travel in equal
/// steps, each one followed by the window before the next (pixels).
constexpr QPoint kFirstMotionPixels(3, 2);
constexpr QPoint kDragStepPixels(12, 8);
constexpr int kDragSteps = 4;
/// How long a window may lag behind a still pointer during a drag before the
/// pointer moves on a little.
constexpr std::chrono::milliseconds kStillPointerTimeout{500};
/// How long the program may take to end after its "X" was clicked.
constexpr std::chrono::milliseconds kEndTimeout{10000};
/// Progress lines: about this many over the whole session.
constexpr int kProgressReports = 10;

/// The share of `total` that cycle `index` of `cycles` takes: spread so that
/// the shares add up to `total` exactly.
long shareOf(long total, int cycles, int index)
{
    return total * (index + 1) / cycles - total * index / cycles;
}

std::string nameOf(const QWidget& window)
{
    return window.objectName().toStdString();
}

std::string toString(QPoint p)
{
    return "(" + std::to_string(p.x()) + "," + std::to_string(p.y()) + ")";
}

/// The system id of the pointing device the built clicks come from: far
/// above X's input device ids (a byte), so it names no device of the server.
constexpr qint64 kBuiltClicksDeviceId = 1 << 16;

void sendMouse(QWidget& window, const QPointingDevice& device, QEvent::Type type, QPoint pos,
               Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(pos), QPointF(window.mapToGlobal(pos)), button, buttons,
                      Qt::NoModifier, &device);
    QApplication::sendEvent(&window, &event);
}

QPoint toggleLabelCentre(const ReticleWindow& window)
{
    const x11test::DesignGeometry geometry(window.design(), window.dpi());
    return geometry.centreOf(*window.design().find("Label1"));
}

QPoint closeLabelCentre(const ReticleWindow& window)
{
    const x11test::DesignGeometry geometry(window.design(), window.dpi());
    return geometry.centreOf(*window.design().find("Label2"));
}

/// The pixels of `region` rebuilt one rectangle at a time: a well-formed
/// region whatever `region` was.
QRegion rebuilt(const QRegion& region)
{
    QRegion result;
    for (const QRect& r : region) {
        result += r;
    }
    return result;
}

/// Compares a region of the program with the expected one, as sets of pixels.
std::optional<std::string> sameRegion(const char* what, const QRegion& actual,
                                      const QRegion& expected)
{
    if (x11test::samePixels(actual, expected)) {
        return std::nullopt;
    }
    if (x11test::samePixels(rebuilt(actual), expected)) {
        // Its rectangles cover the right pixels, but the region is not in
        // QRegion's banded form (QRegion::setRects given overlapping or
        // unsorted rectangles), so every set operation on it is wrong.
        return std::string(what) + " is malformed: " + x11test::describe(actual) +
               "; combined with the expected region it gives " +
               x11test::describeDifference(actual, expected);
    }
    return std::string(what) + ": " + x11test::describeDifference(actual, expected);
}

} // namespace

QRegion elementUnion(const ReticleWindow& window)
{
    QRegion region;
    for (const DesignElement& element : window.design().elements) {
        const IntRect r = snapToPixels(element.pixelBox(window.dpi()));
        if (!r.isEmpty()) {
            region += QRect(r.left, r.top, r.width(), r.height());
        }
    }
    return region;
}

/// What the steps of one action share: where it began and what it expects.
struct SoakSession::ActionState
{
    QPoint origin;
    bool transparent = false;
    bool raised = false;
    QPoint bar;
    QPoint direction;
    QPoint began;
    QPoint expected;
    std::optional<unsigned long> cursor;
    /// When the pointer last moved; a window that has not followed for a
    /// while gets a further motion.
    std::chrono::steady_clock::time_point moved;
    bool nudged = false;
};

SoakSession::SoakSession(shell::Application& app, StepRunner& runner, const SoakOptions& options,
                         SoakFigures& figures)
    : app_(app), runner_(runner), options_(options), figures_(figures), pointer_(x_),
      builtClicks_(QStringLiteral("soak built clicks"), kBuiltClicksDeviceId,
                   QInputDevice::DeviceType::Mouse, QPointingDevice::PointerType::Generic,
                   QInputDevice::Capability::Position, 1, 3),
      windowManager_(x11test::windowManagerRunning(x_))
{
}

void SoakSession::plan()
{
    runner_.append({"main window shown", [this] {
                        const QWidget* main = app_.mainWindow();
                        return StepResult::doneWhen(main != nullptr &&
                                                    main->windowHandle() != nullptr &&
                                                    main->windowHandle()->isExposed());
                    }});
    for (int i = 0; i < options_.cycles; ++i) {
        runner_.append({"cycle " + std::to_string(i + 1), [this, i] {
                            runner_.insertNext(cycle(i));
                            return StepResult::done();
                        }});
    }
    runner_.append({"the end on the reticles", [this] {
                        runner_.insertNext(ending());
                        return StepResult::done();
                    }});
}

// ---- Cycles -------------------------------------------------------------------------

std::vector<Step> SoakSession::cycle(int index)
{
    std::vector<Step> steps = openAll();
    const long toggles = shareOf(options_.toggles, options_.cycles, index);
    const long drags = shareOf(options_.drags, options_.cycles, index);
    for (long i = 0; i < std::max(toggles, drags); ++i) {
        if (i < toggles) {
            const long n = toggleCount_++;
            const int target = static_cast<int>(n % kReticleCount);
            // Each window in turn; each round of the windows by the other
            // way, every n-th toggle a real click.
            const ToggleWay way = (n + 1) % options_.realToggleEvery == 0 ? ToggleWay::RealClick
                                  : (n / kReticleCount) % 2 == 0          ? ToggleWay::Call
                                                                          : ToggleWay::QtClick;
            auto part = toggle(target, way);
            std::move(part.begin(), part.end(), std::back_inserter(steps));
        }
        if (i < drags) {
            const long n = dragCount_++;
            // A stride prime to the window count, so drags meet every window
            // in both states over the cycles.
            const int target = static_cast<int>((n * 3) % kReticleCount);
            auto part = drag(target);
            std::move(part.begin(), part.end(), std::back_inserter(steps));
        }
    }
    auto closing = closeAll();
    std::move(closing.begin(), closing.end(), std::back_inserter(steps));
    if (index == options_.warmupCycles - 1) {
        steps.push_back(measureMemory(true));
    }
    if (index == options_.cycles - 1) {
        steps.push_back(measureMemory(false));
    }
    const int every = std::max(1, options_.cycles / kProgressReports);
    if ((index + 1) % every == 0) {
        steps.push_back({"progress", [this, index] {
                             std::cerr << "soak: cycle " << index + 1 << "/" << options_.cycles
                                       << ", " << figures_.actions() << " actions, VmRSS "
                                       << residentSizeKib().value_or(-1) << " KiB\n";
                             return StepResult::done();
                         }});
    }
    return steps;
}

std::vector<Step> SoakSession::openAll()
{
    std::vector<Step> steps;
    for (std::size_t i = 0; i < kMenuItems.size(); ++i) {
        const MenuItem item = kMenuItems[i];
        steps.push_back({std::string("open ") + item.action, [this, item] {
                             const shell::MainWindow* main = app_.mainWindow();
                             auto* action =
                                 main != nullptr
                                     ? main->findChild<QAction*>(QString::fromLatin1(item.action))
                                     : nullptr;
                             if (action == nullptr) {
                                 return StepResult::failed("no such menu action");
                             }
                             action->trigger();
                             ++figures_.opens;
                             return StepResult::done();
                         }});
    }
    steps.push_back({"nine windows shown, reticles windowed", [this] {
                         openedXWindows_.clear();
                         for (int i = 0; i < static_cast<int>(kMenuItems.size()); ++i) {
                             QWidget* window = menuWindow(i);
                             if (window == nullptr) {
                                 return StepResult::failed(std::string(kMenuItems[i].window) +
                                                           " did not open");
                             }
                             if (!window->windowHandle() || !window->windowHandle()->isExposed() ||
                                 !x11test::isViewable(x_, window->winId())) {
                                 return StepResult::wait(nameOf(*window) + " not shown");
                             }
                             openedXWindows_.push_back(window->winId());
                             auto* r = qobject_cast<ReticleWindow*>(window);
                             const auto at = origin(*window);
                             if (r != nullptr && at) {
                                 if (auto mismatch = stateMismatch(*r, false, *at)) {
                                     return StepResult::wait(nameOf(*r) + ": " + *mismatch);
                                 }
                             }
                         }
                         return StepResult::done();
                     }});
    return steps;
}

std::vector<Step> SoakSession::closeAll()
{
    std::vector<Step> steps;
    for (int i = 0; i < static_cast<int>(kMenuItems.size()); ++i) {
        steps.push_back({"close " + std::string(kMenuItems[i].window), [this, i] {
                             QWidget* window = menuWindow(i);
                             if (window == nullptr) {
                                 return StepResult::failed("not open");
                             }
                             // What the title bar's close box does.
                             window->close();
                             ++figures_.closes;
                             return StepResult::done();
                         }});
    }
    steps.push_back({"nine windows gone", [this] {
                         for (int i = 0; i < static_cast<int>(kMenuItems.size()); ++i) {
                             if (menuWindow(i) != nullptr) {
                                 return StepResult::wait(std::string(kMenuItems[i].window) +
                                                         " still open");
                             }
                         }
                         for (const x11test::XId id : openedXWindows_) {
                             if (x11test::windowExists(x_, id)) {
                                 return StepResult::wait("an X window still exists");
                             }
                         }
                         return StepResult::done();
                     }});
    return steps;
}

Step SoakSession::measureMemory(bool warmup)
{
    return {warmup ? "memory after warm-up" : "memory at end", [this, warmup] {
                const auto kib = residentSizeKib();
                if (!kib) {
                    return StepResult::failed("VmRSS unreadable");
                }
                (warmup ? figures_.warmup : figures_.end) = MemoryReading{*kib, heapInUseKib()};
                if (warmup) {
                    figures_.warmedUp = std::chrono::steady_clock::now();
                }
                return StepResult::done();
            }};
}

// ---- Toggles ------------------------------------------------------------------------

std::vector<Step> SoakSession::toggle(int index, ToggleWay way)
{
    auto state = std::make_shared<ActionState>();
    const std::string what = "toggle " + std::string(designs::all()[index]->windowName);
    std::vector<Step> steps;
    steps.push_back({what + ": before", [this, index, state] {
                         ReticleWindow* window = reticle(index);
                         if (window == nullptr) {
                             return StepResult::failed("not open");
                         }
                         const auto at = origin(*window);
                         if (!at) {
                             return StepResult::wait("no position");
                         }
                         state->origin = *at;
                         state->transparent = !window->isTransparent();
                         return StepResult::done();
                     }});
    if (way == ToggleWay::RealClick) {
        steps.push_back(raise(index, state));
    }
    steps.push_back({what + ": click", [this, index, state, way] {
                         ReticleWindow* window = reticle(index);
                         const QPoint label = toggleLabelCentre(*window);
                         switch (way) {
                         case ToggleWay::Call:
                             window->Label1_Click();
                             break;
                         case ToggleWay::QtClick:
                             sendMouse(*window, builtClicks_, QEvent::MouseButtonPress, label,
                                       Qt::LeftButton, Qt::LeftButton);
                             sendMouse(*window, builtClicks_, QEvent::MouseButtonRelease, label,
                                       Qt::LeftButton, Qt::NoButton);
                             break;
                         case ToggleWay::RealClick:
                             if (!pointer_.click(state->origin + label)) {
                                 return StepResult::failed("pointer click failed");
                             }
                             ++figures_.realToggles;
                             break;
                         }
                         ++figures_.toggles;
                         return StepResult::done();
                     }});
    steps.push_back({what + ": new state shown", [this, index, state] {
                         ReticleWindow* window = reticle(index);
                         if (auto mismatch =
                                 stateMismatch(*window, state->transparent, state->origin)) {
                             return StepResult::wait(*mismatch);
                         }
                         figures_.regionChecks += state->transparent ? 1 : 0;
                         return StepResult::done();
                     }});
    return steps;
}

std::vector<Step> SoakSession::toggleTo(int index, bool transparent)
{
    const ReticleWindow* window = reticle(index);
    if (window != nullptr && window->isTransparent() == transparent) {
        return {};
    }
    return toggle(index, ToggleWay::Call);
}

Step SoakSession::raise(int index, const std::shared_ptr<ActionState>& state)
{
    return {"raise " + std::string(designs::all()[index]->windowName), [this, index, state] {
                ReticleWindow* window = reticle(index);
                if (!state->raised) {
                    // As a task bar does: the window manager honours it
                    // whichever window has the focus.
                    if (!x11test::runXdotool({"windowactivate", std::to_string(window->winId())})) {
                        return StepResult::failed("xdotool windowactivate failed");
                    }
                    state->raised = true;
                }
                const auto stacking = x11test::clientStacking(x_);
                return StepResult::doneWhen(!stacking.empty() &&
                                            stacking.back() == window->winId());
            }};
}

// ---- Drags --------------------------------------------------------------------------

std::vector<Step> SoakSession::drag(int index)
{
    auto state = std::make_shared<ActionState>();
    std::vector<Step> steps;
    steps.push_back(raise(index, state));
    steps.push_back({"drag " + std::string(designs::all()[index]->windowName) + ": before",
                     [this, index, state] {
                         ReticleWindow* window = reticle(index);
                         if (window == nullptr) {
                             return StepResult::failed("not open");
                         }
                         const auto at = origin(*window);
                         if (!at) {
                             return StepResult::wait("no position");
                         }
                         state->origin = *at;
                         state->transparent = window->isTransparent();
                         state->bar = barPoint(*window, figures_.drags);
                         // Towards the middle of the screen, away from its edges.
                         const QPoint middle = *at + QPoint(window->width(), window->height()) / 2;
                         state->direction = QPoint(middle.x() < x_.screenWidth() / 2 ? 1 : -1,
                                                   middle.y() < x_.screenHeight() / 2 ? 1 : -1);
                         return StepResult::done();
                     }});
    auto rest = dragSteps(index, state);
    std::move(rest.begin(), rest.end(), std::back_inserter(steps));
    return steps;
}

std::vector<Step> SoakSession::dragSteps(int index, const std::shared_ptr<ActionState>& state)
{
    const std::string what = "drag " + std::string(designs::all()[index]->windowName);
    std::vector<Step> steps;
    steps.push_back({what + ": press on a bar", [this, state] {
                         if (!pointer_.moveTo(state->origin + state->bar)) {
                             return StepResult::failed("pointer mousemove failed");
                         }
                         state->cursor = pointer_.cursorSerial();
                         if (!pointer_.press(x11test::kLeftButton)) {
                             return StepResult::failed("pointer mousedown failed");
                         }
                         return StepResult::done();
                     }});
    steps.push_back({what + ": first motion", [this, state] {
                         const QPoint d = state->direction;
                         state->began =
                             state->origin + state->bar +
                             QPoint(kFirstMotionPixels.x() * d.x(), kFirstMotionPixels.y() * d.y());
                         return pointer_.moveTo(state->began)
                                    ? StepResult::done()
                                    : StepResult::failed("pointer mousemove failed");
                     }});
    if (windowManager_) {
        // The window manager shows its own cursor once it has taken the move.
        steps.push_back({what + ": the window manager's move began", [this, state] {
                             return pointer_.cursorSerial() != state->cursor
                                        ? StepResult::done()
                                        : StepResult::wait("no move cursor");
                         }});
    }
    for (int i = 1; i <= kDragSteps; ++i) {
        steps.push_back({what + ": step " + std::to_string(i), [this, state, i] {
                             const QPoint d = state->direction;
                             const QPoint at = state->began + QPoint(kDragStepPixels.x() * d.x(),
                                                                     kDragStepPixels.y() * d.y()) *
                                                                  i;
                             state->expected = state->origin + (at - state->began);
                             state->moved = std::chrono::steady_clock::now();
                             return pointer_.moveTo(at)
                                        ? StepResult::done()
                                        : StepResult::failed("pointer mousemove failed");
                         }});
        steps.push_back({what + ": window follows step " + std::to_string(i),
                         [this, index, state] { return windowFollows(*reticle(index), *state); }});
    }
    steps.push_back({what + ": release", [this, state] {
                         state->cursor = pointer_.cursorSerial();
                         if (!pointer_.release(x11test::kLeftButton)) {
                             return StepResult::failed("pointer mouseup failed");
                         }
                         ++figures_.drags;
                         return StepResult::done();
                     }});
    steps.push_back({what + ": pointer free, window left in place", [this, index, state] {
                         if (pointer_.isGrabbedElsewhere()) {
                             return StepResult::wait("the pointer is grabbed");
                         }
                         ReticleWindow* window = reticle(index);
                         if (auto mismatch =
                                 stateMismatch(*window, state->transparent, state->expected)) {
                             return StepResult::wait(*mismatch);
                         }
                         return StepResult::done();
                     }});
    return steps;
}

StepResult SoakSession::windowFollows(const ReticleWindow& window, ActionState& state)
{
    const auto at = origin(window);
    if (at == state.expected) {
        return StepResult::done();
    }
    // The window manager's grab can come after the motion that the test took
    // for its start (the cursor may change for other reasons), and then no
    // motion reaches it until the next one. A hand never holds that still: a
    // pixel there and back, and the window must be where the pointer says.
    const auto now = std::chrono::steady_clock::now();
    if (now - state.moved > kStillPointerTimeout) {
        const auto pointerAt = pointer_.position();
        if (pointerAt && pointer_.moveTo(*pointerAt + QPoint(1, 0)) &&
            pointer_.moveTo(*pointerAt)) {
            state.moved = now;
            if (!state.nudged) {
                state.nudged = true;
                ++figures_.dragNudges;
            }
        }
    }
    const auto pointerAt = pointer_.position();
    return StepResult::wait("client at " + (at ? toString(*at) : std::string("nowhere")) +
                            ", expected " + toString(state.expected) + "; pointer at " +
                            (pointerAt ? toString(*pointerAt) : std::string("?")) +
                            ", move began at " + toString(state.began));
}

QPoint SoakSession::barPoint(const ReticleWindow& window, long which) const
{
    const x11test::DesignGeometry geometry(window.design(), window.dpi());
    // The thinnest bar (a one-pixel line in most designs), or the middle of
    // the title strip's bar img(0), where that is not covered.
    const DesignElement* strip = window.design().find("img", 0);
    if (which % 2 == 1 && strip != nullptr &&
        geometry.topmostAt(geometry.centreOf(*strip)) == strip) {
        return geometry.centreOf(*strip);
    }
    const auto thinnest = geometry.pointOnThinnestBar();
    return thinnest ? *thinnest : geometry.centreOf(*strip);
}

// ---- The end --------------------------------------------------------------------------

Step SoakSession::checkAllRegions(const char* when)
{
    return {std::string("every region equals its elements' union, ") + when, [this] {
                for (int i = 0; i < kReticleCount; ++i) {
                    ReticleWindow* window = reticle(i);
                    if (window == nullptr) {
                        return StepResult::failed(std::string(designs::all()[i]->windowName) +
                                                  " is not open");
                    }
                    const auto at = origin(*window);
                    if (!at) {
                        return StepResult::wait(nameOf(*window) + " has no position");
                    }
                    if (auto mismatch = stateMismatch(*window, window->isTransparent(), *at)) {
                        return StepResult::wait(nameOf(*window) + ": " + *mismatch);
                    }
                }
                figures_.regionChecks += kReticleCount;
                return StepResult::done();
            }};
}

std::vector<Step> SoakSession::ending()
{
    std::vector<Step> steps = openAll();
    steps.push_back({"every reticle transparent", [this] {
                         std::vector<Step> toggles;
                         for (int i = 0; i < kReticleCount; ++i) {
                             auto part = toggleTo(i, true);
                             std::move(part.begin(), part.end(), std::back_inserter(toggles));
                         }
                         runner_.insertNext(std::move(toggles));
                         return StepResult::done();
                     }});
    steps.push_back(checkAllRegions("before the main window closes"));
    auto mainId = std::make_shared<x11test::XId>(0);
    steps.push_back({"close the main window", [this, mainId] {
                         shell::MainWindow* main = app_.mainWindow();
                         if (main == nullptr) {
                             return StepResult::failed("already gone");
                         }
                         *mainId = main->winId();
                         main->close();
                         return StepResult::done();
                     }});
    steps.push_back({"main window gone, the nine windows still shown", [this, mainId] {
                         if (app_.mainWindow() != nullptr || x11test::windowExists(x_, *mainId)) {
                             return StepResult::wait("the main window is still there");
                         }
                         for (int i = 0; i < static_cast<int>(kMenuItems.size()); ++i) {
                             const QWidget* window = menuWindow(i);
                             if (window == nullptr || !x11test::isViewable(x_, window->winId())) {
                                 return StepResult::failed(std::string(kMenuItems[i].window) +
                                                           " went with the main window");
                             }
                         }
                         return StepResult::done();
                     }});
    // The reticles still answer: each toggled there and back, one dragged.
    for (int i = 0; i < kReticleCount; ++i) {
        for (const ToggleWay way : {ToggleWay::QtClick, ToggleWay::RealClick}) {
            auto part = toggle(i, way);
            std::move(part.begin(), part.end(), std::back_inserter(steps));
        }
    }
    auto dragged = drag(0);
    std::move(dragged.begin(), dragged.end(), std::back_inserter(steps));
    steps.push_back(checkAllRegions("after the main window closed"));
    // "X" on the centring scale, the largest window, clicked for real.
    const int last = kReticleCount - 1;
    auto state = std::make_shared<ActionState>();
    steps.push_back(raise(last, state));
    steps.push_back({"click X", [this, last] {
                         ReticleWindow* window = reticle(last);
                         const auto at = origin(*window);
                         if (!at) {
                             return StepResult::failed("no position");
                         }
                         figures_.ended = std::chrono::steady_clock::now();
                         return pointer_.click(*at + closeLabelCentre(*window))
                                    ? StepResult::done()
                                    : StepResult::failed("pointer click failed");
                     }});
    steps.push_back(
        {"the program ends", [] { return StepResult::wait("the event loop runs"); }, kEndTimeout});
    return steps;
}

// ---- What shows now -------------------------------------------------------------------

QWidget* SoakSession::menuWindow(int item) const
{
    return app_.windows().find(kMenuItems[static_cast<std::size_t>(item)].window);
}

ReticleWindow* SoakSession::reticle(int index) const
{
    const ReticleDesign* design = designs::all()[static_cast<std::size_t>(index)];
    return qobject_cast<ReticleWindow*>(app_.windows().find(design->windowName));
}

std::optional<QPoint> SoakSession::origin(const QWidget& window)
{
    return x11test::rootPosition(x_, window.winId());
}

std::optional<std::string> SoakSession::regionMismatch(ReticleWindow& window)
{
    const QRegion expected = elementUnion(window);
    if (auto mismatch = sameRegion("transparentRegion()", window.transparentRegion(), expected)) {
        return mismatch;
    }
    if (window.isTransparent()) {
        if (auto mismatch = sameRegion("mask()", window.mask(), expected)) {
            return mismatch;
        }
    } else if (!window.mask().isEmpty()) {
        return "windowed with the mask " + x11test::describe(window.mask());
    }
    const auto shape = x11test::boundingShape(x_, window.winId());
    const auto size = x11test::windowSize(x_, window.winId());
    if (!shape || !size) {
        return std::string("no X window");
    }
    if (window.isTransparent() &&
        (!shape->shaped || !x11test::samePixels(shape->region, expected))) {
        return "X shape: " + x11test::describeDifference(shape->region, expected);
    }
    if (!window.isTransparent() &&
        !x11test::samePixels(shape->region, QRect(QPoint(0, 0), *size))) {
        return "X shape of the windowed state: " + x11test::describe(shape->region);
    }
    return std::nullopt;
}

std::optional<std::string> SoakSession::stateMismatch(ReticleWindow& window, bool transparent,
                                                      QPoint expectedOrigin)
{
    if (window.isTransparent() != transparent) {
        return std::string("IsTransparent is ") + (window.isTransparent() ? "true" : "false");
    }
    const QString caption = QString::fromLatin1(transparent ? "Finestra" : "Trasparente");
    if (window.toggleCaption() != caption) {
        return "the toggle label reads " + window.toggleCaption().toStdString();
    }
    if (auto mismatch = regionMismatch(window)) {
        return mismatch;
    }
    const auto at = origin(window);
    if (at != expectedOrigin) {
        return "client at " + (at ? toString(*at) : std::string("nowhere")) + ", expected " +
               toString(expectedOrigin);
    }
    if (windowManager_) {
        const auto frame = x11test::frameExtents(x_, window.winId());
        if (transparent && frame && !frame->isNull()) {
            return std::string("still framed");
        }
        if (!transparent && (!frame || frame->top() <= 0)) {
            return std::string("not framed");
        }
    }
    return std::nullopt;
}

} // namespace zentaro::soak
