// A camera program's live image, for the desktop tests: one full-screen
// window of one colour, as an ordinary Qt application shows it (with the
// user's time, the focus protocols and the full-screen state before its
// first map), that reports each press it receives.
//
//   full_screen_image COLOUR TITLE
//
// COLOUR is "#rrggbb". Each press is a line "PRESS X Y" on standard output,
// in root coordinates.
#include <QApplication>
#include <QColor>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include <iostream>

namespace {

class ImageWindow : public QWidget
{
public:
    explicit ImageWindow(QColor colour) : colour_(colour) {}

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
    window.showFullScreen();
    return QApplication::exec();
}
