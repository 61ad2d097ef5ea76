// A reticle window: one design shown in a top-level window that the user
// drags by its bars, switches between the windowed and the transparent state
// with its toggle label, and that ends the application with its "X" label.
//
// The handlers keep the names of the elements and events they answer
// (Form_Load, img_MouseMove, Label1_Click, ...).
#pragma once

#include "designs/design.h"

#include <QPoint>
#include <QRegion>
#include <QString>
#include <QWidget>

#include <vector>

namespace zentaro {

/// The element that takes the mouse at `devicePixel` of a window showing
/// `design` at `dpi` on a device with this device pixel ratio: the topmost
/// bar or label whose painted box (elementDeviceRect) holds that pixel, or
/// nullptr. Strokes take no mouse: a press on a stroke goes to the bar or
/// label beneath it, or to none.
const DesignElement* mouseTargetAt(const ReticleDesign& design, double dpi, double devicePixelRatio,
                                   QPoint devicePixel);

/// The device pixel under the logical position `logicalPos` (client
/// coordinates) at this device pixel ratio.
QPoint devicePixelAt(QPointF logicalPos, double devicePixelRatio);

class ReticleWindow : public QWidget
{
    Q_OBJECT

public:
    /// Builds and loads the window of `design`, which must outlive it. The
    /// window has no parent and is destroyed when the user closes it.
    explicit ReticleWindow(const ReticleDesign& design);

    const ReticleDesign& design() const { return design_; }
    /// True while the window is in the transparent state.
    bool isTransparent() const { return isTransparent_; }
    /// The toggle label's caption: the state the next click leads to.
    const QString& toggleCaption() const { return toggleCaption_; }
    /// Logical resolution the design's twips are converted at.
    double dpi() const { return dpi_; }

    /// The element that takes the mouse at the logical client position
    /// `clientPos` (see mouseTargetAt), tested in device pixels.
    const DesignElement* elementAt(QPointF clientPos) const;
    /// The transparent state's region for the window as it is now, in banded
    /// form: the union of the element boxes in device pixels of the client
    /// area (logical pixels times the device pixel ratio), exactly where the
    /// painter puts the elements.
    std::vector<IntRect> transparentDeviceRects() const;
    /// The same region in logical client coordinates (at a fractional
    /// device pixel ratio, widened to whole logical pixels).
    QRegion transparentRegion() const;

    // Handlers.
    void Form_Load();
    void img_MouseMove(int index, Qt::MouseButtons buttons, Qt::KeyboardModifiers shift,
                       QPointF position);
    void Label1_Click();
    void Label2_Click();
    void Label11_Click();

    /// Gives the window the shape of the transparent (true) or windowed
    /// (false) state.
    void ShapeWindow(bool transparent);
    /// Asks the desktop shell to open `text`; returns whether it accepted.
    static bool OpenWithShell(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void beginPress(QMouseEvent* event, bool doubleClick);
    void clickLabel(const DesignElement& label);
    void followPointer(QPoint globalPos);
    /// Builds the transparent region again when the device pixel ratio is no
    /// longer the one it was built for.
    void reshapeIfRatioChanged();

    const ReticleDesign& design_;
    double dpi_;
    bool isTransparent_ = false;
    QString toggleCaption_;

    // The press being handled: the element under it (it keeps the mouse
    // until the release, as a pressed control does) and whether this press
    // has already started a move.
    const DesignElement* pressedElement_ = nullptr;
    bool moveStartedThisPress_ = false;
    // The window manager was asked to move the window in this press; a
    // release the program still sees means the move must be called off.
    bool systemMoveAskedThisPress_ = false;
    // The press is the second of a double click: it is no click of its own,
    // though it still drags.
    bool pressIsDoubleClick_ = false;
    // The device pixel ratio the transparent region was built for.
    double shapedRatio_ = 0;
    // Set while the window follows the pointer itself because the window
    // system refused the move. It follows from the press (pointer and client
    // area positions there, global pixels), so the pressed pixel stays under
    // the pointer however the motions before the move are delivered.
    bool followingPointer_ = false;
    QPoint pressPointer_;
    QPoint pressWindow_;
};

} // namespace zentaro
