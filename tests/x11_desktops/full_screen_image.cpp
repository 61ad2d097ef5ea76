// A camera program's live image, for the desktop tests: one full-screen
// window of one colour, as an ordinary Qt application shows it (with the
// user's time, the focus protocols and the full-screen state before its
// first map), drawn anew for every frame as a live image is, and reporting
// each press it receives.
//
//   full_screen_image COLOUR TITLE
//
// COLOUR is "#rrggbb". Each press is a line "PRESS X Y" on standard output,
// in root coordinates.
#include <QApplication>
#include <QColor>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <iostream>

namespace {

/// A camera's frame interval, in milliseconds (25 frames a second).
constexpr int kFrameIntervalMilliseconds = 40;

class ImageWindow : public QWidget
{
public:
    explicit ImageWindow(QColor colour) : colour_(colour)
    {
        // Every frame is painted, as a camera program paints its stream: a
        // compositor that missed the first paint (picom 12 and Mutter 48
        // draw no window before they have seen it damaged) sees the next.
        QObject::connect(&frames_, &QTimer::timeout, this, [this] { update(); });
        frames_.start(kFrameIntervalMilliseconds);
    }

protected:
    void paintEvent(QPaintEvent* /*event*/) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), colour_);
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        const QPoint at = event->globalPosition().toPoint();
        std::cout << "PRESS " << at.x() << " " << at.y() << std::endl;
    }

private:
    QColor colour_;
    QTimer frames_;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc != 3 || !QColor::isValidColorName(QString::fromLatin1(argv[1]))) {
        std::cerr << "usage: full_screen_image #rrggbb TITLE\n";
        return 2;
    }
    ImageWindow window{QColor(QString::fromLatin1(argv[1]))};
    window.setWindowTitle(QString::fromUtf8(argv[2]));
    // Made at the screen's size from the start, as a camera program that
    // opens full-screen is: a compositor then never sees its client smaller
    // than its frame (picom's sample configuration dims the part of a frame
    // beyond the client, frame-opacity, and was seen to keep doing so over
    // a client that grew to the screen).
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        window.setGeometry(screen->geometry());
    }
    window.showFullScreen();
    return QApplication::exec();
}
