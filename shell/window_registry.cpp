#include "shell/window_registry.h"

#include "designs/designs.h"
#include "platform/platform.h"
#include "reticle/reticle_window.h"
#include "shell/info_window.h"

namespace zentaro::shell {

WindowRegistry::~WindowRegistry()
{
    for (auto& [name, window] : windows_) {
        delete window.data(); // null once the user has closed it
    }
}

QWidget* WindowRegistry::show(std::string_view windowName)
{
    QWidget* window = find(windowName);
    if (window == nullptr) {
        window = create(windowName);
        if (window == nullptr) {
            return nullptr;
        }
        windows_.insert_or_assign(std::string(windowName), QPointer<QWidget>(window));
    }
    // Only shows and raises: an open window keeps its place, size and state.
    platform::showAndActivate(*window);
    return window;
}

QWidget* WindowRegistry::find(std::string_view windowName) const
{
    const auto it = windows_.find(windowName);
    return it != windows_.end() ? it->second.data() : nullptr;
}

QWidget* WindowRegistry::create(std::string_view windowName)
{
    QWidget* window = nullptr;
    if (windowName == InfoWindow::kWindowName) {
        window = new InfoWindow;
    } else if (const ReticleDesign* design = designs::findByWindowName(windowName)) {
        window = new ReticleWindow(*design);
    } else {
        return nullptr;
    }
    window->setObjectName(
        QString::fromUtf8(windowName.data(), static_cast<qsizetype>(windowName.size())));
    return window;
}

} // namespace zentaro::shell
