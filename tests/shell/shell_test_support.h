// Helpers shared by the shell's widget tests.
#pragma once

#include "shell/application.h"
#include "shell/main_window.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

#include <memory>

namespace shell_test {

/// The visible top-level windows, menus and other popups left out.
inline QWidgetList visibleWindows()
{
    QWidgetList windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->windowType() == Qt::Window) {
            windows.append(widget);
        }
    }
    return windows;
}

/// The action named `name` of the main window's menu bar or reticle menu.
inline QAction* menuAction(const zentaro::shell::MainWindow& window, const char* name)
{
    return window.findChild<QAction*>(QString::fromLatin1(name));
}

/// The reticle menu's window list, rebuilt as when it drops down: the
/// actions after its separator.
inline QList<QAction*> windowList(QMenu& menu)
{
    emit menu.aboutToShow();
    QList<QAction*> entries;
    bool afterSeparator = false;
    for (QAction* action : menu.actions()) {
        if (afterSeparator) {
            entries.append(action);
        }
        afterSeparator = afterSeparator || action->isSeparator();
    }
    return entries;
}

/// One menu item of the table every test holds the menu against.
struct ExpectedItem
{
    const char* name;
    const char* caption;
    const char* windowName;
    const char* windowCaption;
};

inline constexpr ExpectedItem kExpectedItems[] = {
    {"mnuStandardBianco", "&StandardBianco", "Form3", "StandardBianco"},
    {"mnuGriglia", "&Griglia", "Form2", "StandardRosso"},
    {"mnuSatndardRossoFine", "&StandardRossoFine", "Form4", "StandardRossoFine"},
    {"mnuCroceRossa", "&CroceRossa", "Form5", "CroceRossa"},
    {"mnuCroceRossaMicrometrica", "&CroceRossaMicrometrica", "Form6", "CroceRossaMicrometrica"},
    {"mnuCampoCCD", "&CampoCCD", "Form7", "CampoCCD"},
    {"mnuPunto", "&Punto", "Form8", "Punto"},
    {"mnuCentratore", "&Centratore", "Form10", "Centratore"},
};

inline constexpr ExpectedItem kExpectedInfo = {"mnuInfo", "&Info", "Form9", "Info Zentaro 1.3"};

} // namespace shell_test
