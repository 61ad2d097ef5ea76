#include "reticle/reticle_window.h"

#include "platform/device_pixel_ratio_watch.h"
#include "platform/platform.h"
#include "platform/qt_bridge.h"
#include "reticle/region_builder.h"
#include "reticle/reticle_painter.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>
#include <vector>

namespace zentaro {

namespace {

constexpr std::string_view kToggleLabel = "Label1";
constexpr std::string_view kCloseLabel = "Label2";
constexpr std::string_view kShellLabel = "Label11";

using platform::toQString;

/// Positions from the window system are whole device pixels divided by the
/// ratio; multiplied back, they may fall a rounding error short of the whole
/// number (7 / 1.5 * 1.5 < 7). Far below any real fraction of a pixel.
constexpr double kDevicePixelTolerance = 1.0 / 1024;

/// The pointer's position in the client area, to the fraction of a logical
/// pixel the window system gave it. Qt rounds a widget's own mouse position
/// to whole logical pixels, which at scale 2 puts both screen columns of a
/// one-pixel line on the same logical pixel and one of them beside the line;
/// the position in the window (the scene) keeps the fraction, and for a
/// top-level widget the two have the same origin.
QPointF exactPosition(const QMouseEvent& event)
{
    return event.scenePosition();
}

} // namespace

const DesignElement* mouseTargetAt(const ReticleDesign& design, double dpi, double devicePixelRatio,
                                   QPoint devicePixel)
{
    // Topmost first; strokes are drawn shapes with no events of their own.
    for (const DesignElement& element : design.elements) {
        if (!element.isStroke() &&
            elementDeviceRect(element, dpi, devicePixelRatio).contains(devicePixel)) {
            return &element;
        }
    }
    return nullptr;
}

QPoint devicePixelAt(QPointF logicalPos, double devicePixelRatio)
{
    return QPoint(
        static_cast<int>(std::floor(logicalPos.x() * devicePixelRatio + kDevicePixelTolerance)),
        static_cast<int>(std::floor(logicalPos.y() * devicePixelRatio + kDevicePixelTolerance)));
}

ReticleWindow::ReticleWindow(const ReticleDesign& design)
    : QWidget(nullptr, Qt::Window), design_(design), dpi_(platform::logicalDpi(nullptr))
{
    setObjectName(toQString(design_.windowName));
    setAttribute(Qt::WA_DeleteOnClose);
    // Every pixel is painted by paintEvent: no system background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setWindowTitle(toQString(design_.caption));
    setWindowIcon(platform::commonIcon());
    // On a screen of another device pixel ratio the elements are painted on
    // other device pixels: the region must follow them.
    connect(new platform::DevicePixelRatioWatch(*this),
            &platform::DevicePixelRatioWatch::mayHaveChanged, this,
            &ReticleWindow::reshapeIfRatioChanged);
    Form_Load();
}

void ReticleWindow::Form_Load()
{
    // The window works in pixels from here on: every box is read through
    // pixelBox(dpi_).
    dpi_ = platform::logicalDpi(this);
    isTransparent_ = false;
    toggleCaption_ = toQString(kToggleToTransparent);
    // Bars 1 to 6 now show bar 0's one-colour picture stretched over their
    // own boxes (bar 6 included); bars beyond 6 never get it. The painter
    // fills exactly bars 0 to 6 with the bar colour (barShowsPicture), so
    // there is nothing to store per bar.
    resize(roundToInt(design_.clientWidthPixels(dpi_)),
           roundToInt(design_.clientHeightPixels(dpi_)));
    // No region: the window starts windowed and shows whole.
}

const DesignElement* ReticleWindow::elementAt(QPointF clientPos) const
{
    const double ratio = devicePixelRatioF();
    return mouseTargetAt(design_, dpi_, ratio, devicePixelAt(clientPos, ratio));
}

std::vector<IntRect> ReticleWindow::transparentDeviceRects() const
{
    // The region is built in device pixels, the unit the painter snaps the
    // elements to and the window system shapes in.
    const double ratio = devicePixelRatioF();
    const double deviceDpi = dpi_ * ratio;
    std::vector<PixelBox> boxes;
    boxes.reserve(design_.elements.size());
    for (const DesignElement& element : design_.elements) {
        boxes.push_back(element.pixelBox(deviceDpi));
    }
    // Without its frame the window's outer size is its client size, so the
    // frame offsets come out as zero and the region is in client coordinates.
    const int deviceWidth = roundToInt(width() * ratio);
    const int deviceHeight = roundToInt(height() * ratio);
    const region::WindowMetrics metrics{deviceWidth, deviceHeight, static_cast<double>(deviceWidth),
                                        static_cast<double>(deviceHeight)};
    return region::bandedUnion(region::transparentRects(metrics, boxes));
}

QRegion ReticleWindow::transparentRegion() const
{
    return platform::logicalCover(transparentDeviceRects(), devicePixelRatioF());
}

void ReticleWindow::ShapeWindow(bool transparent)
{
    if (transparent) {
        platform::setFramed(*this, false);
        shapedRatio_ = devicePixelRatioF();
        platform::applyRegion(*this, transparentDeviceRects());
    } else {
        // The frame first: KWin decides on a decoration again when the shape
        // goes, and gives none to a window that still asks for no frame.
        platform::setFramed(*this, true);
        // No region at all, rather than the rectangle of the moment: a window
        // enlarged later shows whole.
        platform::clearRegion(*this);
    }
}

void ReticleWindow::Label1_Click()
{
    ShapeWindow(!isTransparent_);
    isTransparent_ = !isTransparent_;
    toggleCaption_ = toQString(isTransparent_ ? kToggleToWindowed : kToggleToTransparent);
    update();
    platform::showAndActivate(*this);
}

void ReticleWindow::Label2_Click()
{
    platform::quitApplicationNow();
}

void ReticleWindow::Label11_Click()
{
    if (const DesignElement* label = design_.find(kShellLabel)) {
        OpenWithShell(toQString(label->caption));
    }
}

bool ReticleWindow::OpenWithShell(const QString& text)
{
    return platform::openWithShell(text);
}

void ReticleWindow::img_MouseMove(int /*index*/, Qt::MouseButtons buttons,
                                  Qt::KeyboardModifiers /*shift*/, QPointF position)
{
    if (buttons != Qt::LeftButton || moveStartedThisPress_) {
        return;
    }
    // At most one move per press: after the window manager's move Qt may
    // never see the release, and would otherwise start the move again at
    // every later motion, gluing the window to the pointer.
    moveStartedThisPress_ = true;
    switch (platform::startSystemMove(*this)) {
    case platform::SystemMove::Started:
        systemMoveAskedThisPress_ = true;
        break;
    case platform::SystemMove::ButtonAlreadyUp:
        // The release is on its way: a click, not a drag.
        break;
    case platform::SystemMove::Refused:
        // No window manager to do it: follow the pointer ourselves until the
        // release, by its whole travel since the press (this first motion's
        // included, however many motions Qt merged into it).
        followingPointer_ = true;
        followPointer(mapToGlobal(position).toPoint());
        break;
    }
}

void ReticleWindow::reshapeIfRatioChanged()
{
    if (!isTransparent_ || devicePixelRatioF() == shapedRatio_) {
        return;
    }
    // The elements are now painted on other device pixels: the region must
    // follow them, or it clips them and shows background beside them.
    shapedRatio_ = devicePixelRatioF();
    platform::applyRegion(*this, transparentDeviceRects());
}

void ReticleWindow::paintEvent(QPaintEvent* /*event*/)
{
    // A screen's own ratio may change with no screen change announced (the
    // desktop's scale set anew): every repaint at a new ratio passes here.
    if (isTransparent_ && devicePixelRatioF() != shapedRatio_) {
        QMetaObject::invokeMethod(this, &ReticleWindow::reshapeIfRatioChanged,
                                  Qt::QueuedConnection);
    }
    QPainter painter(this);
    paintDesign(painter, design_, PaintOptions{dpi_, toggleCaption_});
}

void ReticleWindow::mousePressEvent(QMouseEvent* event)
{
    beginPress(event, false);
}

void ReticleWindow::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click. No label answers it, so a double
    // click is one click; a bar still drags from it.
    beginPress(event, true);
}

void ReticleWindow::beginPress(QMouseEvent* event, bool doubleClick)
{
    // A new press: whatever the last one left behind (a release the window
    // manager swallowed) no longer counts.
    pressedElement_ = elementAt(exactPosition(*event));
    moveStartedThisPress_ = false;
    systemMoveAskedThisPress_ = false;
    pressIsDoubleClick_ = doubleClick;
    followingPointer_ = false;
    pressPointer_ = event->globalPosition().toPoint();
    // The client area's place: the window may have lost its frame since Qt
    // last measured it, and the pressed pixel is the client's.
    pressWindow_ = geometry().topLeft();
    event->accept();
}

void ReticleWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (followingPointer_) {
        if (event->buttons() & Qt::LeftButton) {
            followPointer(event->globalPosition().toPoint());
            return;
        }
        followingPointer_ = false;
    }
    // The pressed element keeps the mouse until the release, so the bar
    // pressed on answers even once the pointer has left its one pixel.
    if (pressedElement_ != nullptr && pressedElement_->isBar()) {
        img_MouseMove(pressedElement_->index, event->buttons(), event->modifiers(),
                      event->position());
    }
}

void ReticleWindow::mouseReleaseEvent(QMouseEvent* event)
{
    const DesignElement* pressed = pressedElement_;
    if (followingPointer_) {
        followPointer(event->globalPosition().toPoint());
    }
    followingPointer_ = false;
    if (systemMoveAskedThisPress_ && event->button() == Qt::LeftButton) {
        // The release came to the program, so the window manager had not yet
        // taken the pointer when the button went up (a quick click with a
        // jitter). Left alone it would start the move now and carry the
        // window with the released pointer until the next click.
        systemMoveAskedThisPress_ = false;
        platform::cancelSystemMove(*this);
    }
    if (event->buttons() == Qt::NoButton) {
        pressedElement_ = nullptr;
    }
    // A click: the left button pressed and released over the same label, the
    // second press of a double click excepted.
    if (event->button() == Qt::LeftButton && pressed != nullptr && pressed->isLabel() &&
        !pressIsDoubleClick_ && elementAt(exactPosition(*event)) == pressed) {
        clickLabel(*pressed);
    }
}

void ReticleWindow::clickLabel(const DesignElement& label)
{
    if (label.is(kToggleLabel)) {
        Label1_Click();
    } else if (label.is(kCloseLabel)) {
        Label2_Click();
    } else if (label.is(kShellLabel)) {
        Label11_Click();
    }
}

void ReticleWindow::followPointer(QPoint globalPos)
{
    setGeometry(QRect(pressWindow_ + (globalPos - pressPointer_), size()));
}

} // namespace zentaro
