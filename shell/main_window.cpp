#include "shell/main_window.h"

#include "designs/units.h"
#include "platform/platform.h"
#include "platform/qt_bridge.h"
#include "shell/banner_picture.h"
#include "shell/banner_window.h"
#include "shell/client_area.h"
#include "shell/window_registry.h"

#include <QAction>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>

#include <array>

namespace zentaro::shell {
namespace {

using platform::toQString;

/// A menu item: its name, its caption ("&" before the access letter), the
/// window it opens, and its handler.
struct MenuItem
{
    std::string_view name;
    std::string_view caption;
    std::string_view windowName;
    void (MainWindow::*handler)();
};

// The reticle menu's items. "&Griglia" opens the grid, whose window is
// captioned "StandardRosso"; the name mnuSatndardRossoFine is spelled as the
// item has always been named.
constexpr MenuItem kStandardBiancoItem{"mnuStandardBianco", "&StandardBianco", "Form3",
                                       &MainWindow::mnuStandardBianco_Click};
constexpr MenuItem kGrigliaItem{"mnuGriglia", "&Griglia", "Form2", &MainWindow::mnuGriglia_Click};
constexpr MenuItem kSatndardRossoFineItem{"mnuSatndardRossoFine", "&StandardRossoFine", "Form4",
                                          &MainWindow::mnuSatndardRossoFine_Click};
constexpr MenuItem kCroceRossaItem{"mnuCroceRossa", "&CroceRossa", "Form5",
                                   &MainWindow::mnuCroceRossa_Click};
constexpr MenuItem kCroceRossaMicrometricaItem{"mnuCroceRossaMicrometrica",
                                               "&CroceRossaMicrometrica", "Form6",
                                               &MainWindow::mnuCroceRossaMicrometrica_Click};
constexpr MenuItem kCampoCCDItem{"mnuCampoCCD", "&CampoCCD", "Form7",
                                 &MainWindow::mnuCampoCCD_Click};
constexpr MenuItem kPuntoItem{"mnuPunto", "&Punto", "Form8", &MainWindow::mnuPunto_Click};
constexpr MenuItem kCentratoreItem{"mnuCentratore", "&Centratore", "Form10",
                                   &MainWindow::mnuCentratore_Click};

// The reticle menu, in menu order.
constexpr std::array<MenuItem, 8> kReticleItems = {
    kStandardBiancoItem,
    kGrigliaItem,
    kSatndardRossoFineItem,
    kCroceRossaItem,
    kCroceRossaMicrometricaItem,
    kCampoCCDItem,
    kPuntoItem,
    kCentratoreItem,
};

// A command directly on the menu bar, without a drop-down.
constexpr MenuItem kInfoItem{"mnuInfo", "&Info", "Form9", &MainWindow::mnuInfo_Click};

constexpr std::string_view kMenuName = "mnuZentaro";
constexpr std::string_view kMenuCaption = "&Zentaro";

constexpr std::string_view kWindowName = "MDIForm1";
constexpr std::string_view kCaption = "ZENTARO 1.3";

// The client area, in twips: 558 x 172 pixels at 96 dpi.
constexpr int kClientWidthTwips = 8370;
constexpr int kClientHeightTwips = 2580;

/// Up to the ninth entry, the number is the entry's access letter.
constexpr int kMaxNumberedAccessKey = 9;

/// "&1 caption", or "&1" alone for a child without a caption.
QString windowListText(int number, const QString& caption)
{
    QString text = number <= kMaxNumberedAccessKey ? QStringLiteral("&%1").arg(number)
                                                   : QString::number(number);
    if (!caption.isEmpty()) {
        text += QLatin1Char(' ') + QString(caption).replace(QLatin1Char('&'), QStringLiteral("&&"));
    }
    return text;
}

} // namespace

MainWindow::MainWindow(WindowRegistry& registry) : registry_(registry), picture_(bannerPicture())
{
    setObjectName(toQString(kWindowName));
    setWindowTitle(toQString(kCaption));
    setWindowIcon(platform::commonIcon());
    // Closing it ends it and the banner; the windows it opened stay.
    setAttribute(Qt::WA_DeleteOnClose);

    createClientArea();
    createActions();
    createMenus();
    resize(sizeHint()); // the client area's size below the menu bar
}

void MainWindow::createClientArea()
{
    const double dpi = platform::logicalDpi(this);
    const QSize clientSize(roundToInt(twipsToPixels(kClientWidthTwips, dpi)),
                           roundToInt(twipsToPixels(kClientHeightTwips, dpi)));
    clientArea_ = new ClientArea(picture_, clientSize);
    clientArea_->setObjectName(QStringLiteral("clientArea"));
    setCentralWidget(clientArea_);

    banner_ = new BannerWindow(picture_);
    clientArea_->addSubWindow(banner_);
    banner_->move(0, 0);
    banner_->show();
}

void MainWindow::createActions()
{
    for (const MenuItem& item : kReticleItems) {
        auto* action = new QAction(toQString(item.caption), this);
        action->setObjectName(toQString(item.name));
        connect(action, &QAction::triggered, this, item.handler);
        reticleActions_.append(action);
    }
    infoAction_ = new QAction(toQString(kInfoItem.caption), this);
    infoAction_->setObjectName(toQString(kInfoItem.name));
    connect(infoAction_, &QAction::triggered, this, kInfoItem.handler);
}

void MainWindow::createMenus()
{
    zentaroMenu_ = menuBar()->addMenu(toQString(kMenuCaption));
    zentaroMenu_->setObjectName(toQString(kMenuName));
    updateWindowMenu();
    connect(zentaroMenu_, &QMenu::aboutToShow, this, &MainWindow::updateWindowMenu);

    menuBar()->addAction(infoAction_);
}

void MainWindow::updateWindowMenu()
{
    zentaroMenu_->clear(); // deletes the old window-list entries, which it owns
    zentaroMenu_->addActions(reticleActions_);

    const QList<QMdiSubWindow*> children = clientArea_->subWindowList();
    if (children.isEmpty()) {
        return;
    }
    zentaroMenu_->addSeparator();
    // The current child is the active one whenever the main window is.
    const QMdiSubWindow* current = clientArea_->currentSubWindow();
    for (qsizetype i = 0; i < children.size(); ++i) {
        QMdiSubWindow* child = children.at(i);
        QAction* entry =
            zentaroMenu_->addAction(windowListText(static_cast<int>(i + 1), child->windowTitle()));
        entry->setCheckable(true);
        entry->setChecked(child == current);
        connect(entry, &QAction::triggered, child,
                [area = clientArea_, child] { area->setActiveSubWindow(child); });
    }
}

void MainWindow::mnuStandardBianco_Click()
{
    registry_.show(kStandardBiancoItem.windowName);
}
void MainWindow::mnuGriglia_Click()
{
    registry_.show(kGrigliaItem.windowName);
}
void MainWindow::mnuSatndardRossoFine_Click()
{
    registry_.show(kSatndardRossoFineItem.windowName);
}
void MainWindow::mnuCroceRossa_Click()
{
    registry_.show(kCroceRossaItem.windowName);
}
void MainWindow::mnuCroceRossaMicrometrica_Click()
{
    registry_.show(kCroceRossaMicrometricaItem.windowName);
}
void MainWindow::mnuCampoCCD_Click()
{
    registry_.show(kCampoCCDItem.windowName);
}
void MainWindow::mnuPunto_Click()
{
    registry_.show(kPuntoItem.windowName);
}
void MainWindow::mnuCentratore_Click()
{
    registry_.show(kCentratoreItem.windowName);
}
void MainWindow::mnuInfo_Click()
{
    registry_.show(kInfoItem.windowName);
}

} // namespace zentaro::shell
