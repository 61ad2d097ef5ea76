// Start-up and end of the application's windows.
//
// The application owns the window registry and the main window. The main
// window deletes itself when the user closes it; the registry, and with it
// the reticle windows and the information window, lives on until the
// application object goes, which deletes whatever is still open.
#pragma once

#include "platform/quiet_shell_opener.h"
#include "shell/window_registry.h"

#include <QPointer>

namespace zentaro::shell {

class MainWindow;

class Application
{
public:
    /// Creates the main window with the banner window inside it.
    Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;
    ~Application();

    /// Shows the main window and the banner; nothing else opens.
    void start();

    /// The main window, or nullptr once it has closed.
    MainWindow* mainWindow() const;
    WindowRegistry& windows() { return registry_; }

private:
    // The "20" label's request must fail silently where the desktop has no
    // handler for it.
    platform::QuietShellOpener shellOpener_;
    WindowRegistry registry_; // before the main window: it outlives it
    QPointer<MainWindow> mainWindow_;
};

} // namespace zentaro::shell
