// zentaro: reticles for the amateur astronomer's screen.
//
// Takes no arguments of its own and reads no file or setting. Opens the main
// window with its banner; everything else opens from the main window's menu.
// The application ends when its last window has closed, or at once when the
// "X" of a reticle window is clicked.
#include "platform/session.h"
#include "shell/application.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // In a Wayland session the reticles need XWayland; decided before Qt starts.
    if (!zentaro::platform::prepareWindowSystem(argc, argv)) {
        return 1;
    }
    QApplication app(argc, argv);
    // Lets the desktop tie our windows to the installed menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("it.corvalena.zentaro"));
    zentaro::shell::Application shell;
    shell.start();
    return QApplication::exec();
}
