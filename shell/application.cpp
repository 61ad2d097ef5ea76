#include "shell/application.h"

#include "shell/main_window.h"

namespace zentaro::shell {

Application::Application() : mainWindow_(new MainWindow(registry_)) {}

Application::~Application()
{
    // Still there when the event loop ended without closing it (the "X" of a
    // reticle window); the registry then deletes the other windows.
    delete mainWindow_.data();
}

MainWindow* Application::mainWindow() const
{
    return mainWindow_.data();
}

void Application::start()
{
    mainWindow_->show();
}

} // namespace zentaro::shell
