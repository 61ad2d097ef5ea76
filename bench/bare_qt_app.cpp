// The yardstick for start-up time and memory: the least a Qt Widgets program
// with a main window shows. A main window with a menu bar holding one menu of
// a few actions, and a central widget; it runs until it is closed or ended,
// as the program measured beside it does.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("bare_qt_app"));
    QMenu* menu = window.menuBar()->addMenu(QStringLiteral("&Menu"));
    for (const char* caption : {"&First", "&Second", "&Third", "F&ourth"}) {
        menu->addAction(QString::fromLatin1(caption));
    }
    auto* central = new QLabel(QStringLiteral("bare_qt_app"));
    central->setAlignment(Qt::AlignCenter);
    central->setMinimumSize(558, 172); // the size of the program's client area
    window.setCentralWidget(central);
    window.show();
    return QApplication::exec();
}
