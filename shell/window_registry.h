// The one instance of each window that the main window's menu opens, found
// by its window name ("Form2" .. "Form10").
//
// A window exists from the first show until the user closes it (it deletes
// itself then); the next show loads it anew. The registry belongs to the
// application, not to the main window, so the windows it holds stay usable
// after the main window has closed. Windows still open when the registry
// goes are deleted with it.
#pragma once

#include <QPointer>
#include <QWidget>

#include <map>
#include <string>
#include <string_view>

namespace zentaro::shell {

class WindowRegistry
{
public:
    WindowRegistry() = default;
    WindowRegistry(const WindowRegistry&) = delete;
    WindowRegistry& operator=(const WindowRegistry&) = delete;
    ~WindowRegistry();

    /// Shows the one instance of `windowName` modeless and activates it,
    /// creating and loading it first if it is not open. An open window is
    /// brought to the front as it is. Returns the window, or nullptr for a
    /// name that no window has.
    QWidget* show(std::string_view windowName);

    /// The open instance of `windowName`, or nullptr.
    QWidget* find(std::string_view windowName) const;

private:
    static QWidget* create(std::string_view windowName);

    std::map<std::string, QPointer<QWidget>, std::less<>> windows_;
};

} // namespace zentaro::shell
