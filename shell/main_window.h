// The main window `MDIForm1`: a frame window whose client area holds the
// banner window, with the reticle menu (also the window list) and the
// information item on its menu bar.
//
// The menu handlers keep the names of the items they answer
// (mnuPunto_Click, mnuInfo_Click, ...); each shows the one instance of its
// window through the application's window registry.
#pragma once

#include <QImage>
#include <QMainWindow>

class QAction;
class QMenu;

namespace zentaro::shell {

class BannerWindow;
class ClientArea;
class WindowRegistry;

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    /// `registry` must outlive the windows it opens, not this window.
    explicit MainWindow(WindowRegistry& registry);

    ClientArea* clientArea() const { return clientArea_; }
    BannerWindow* banner() const { return banner_; }
    QMenu* reticleMenu() const { return zentaroMenu_; }

public slots:
    void mnuStandardBianco_Click();
    void mnuGriglia_Click();
    void mnuSatndardRossoFine_Click();
    void mnuCroceRossa_Click();
    void mnuCroceRossaMicrometrica_Click();
    void mnuCampoCCD_Click();
    void mnuPunto_Click();
    void mnuCentratore_Click();
    void mnuInfo_Click();

private slots:
    /// Rebuilds the reticle menu: its items, a separator and the window list.
    void updateWindowMenu();

private:
    void createClientArea();
    void createActions();
    void createMenus();

    WindowRegistry& registry_;
    QImage picture_;
    ClientArea* clientArea_ = nullptr;
    BannerWindow* banner_ = nullptr;
    QMenu* zentaroMenu_ = nullptr;
    QList<QAction*> reticleActions_;
    QAction* infoAction_ = nullptr;
};

} // namespace zentaro::shell
