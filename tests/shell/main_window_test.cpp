// The main window at start-up: caption, client area, banner window, the
// menu's structure and access letters, and the window list.
#include "shell_test_support.h"

#include "platform/qt_bridge.h"
#include "shell/banner_picture.h"
#include "shell/banner_window.h"
#include "shell/client_area.h"

#include <QMdiSubWindow>
#include <QPointer>
#include <QtTest>

using namespace shell_test;
using zentaro::shell::Application;
using zentaro::shell::MainWindow;

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startsWithTheMainWindowAndTheBannerOnly();
    void clientAreaHasItsSizeBelowTheMenuBar();
    void clientAreaPaintsColourAndPicture();
    void bannerSitsAtTheTopLeftWithoutTitleBar();
    void bannerShowsThePictureInsideItsBorder();
    void bannerCannotBeMovedOrClosedByTheUser();
    void bannerKeepsItsPlace_data();
    void bannerKeepsItsPlace();
    void menuBarHoldsTheReticleMenuAndInfo();
    void reticleMenuItemsInOrder();
    void windowListShowsTheBannerAlone();
    void altZDropsDownTheReticleMenu();
    void altIOpensTheInformationWindow();
    void closingTheMainWindowTakesTheBanner();

private:
    MainWindow& window() const { return *app_->mainWindow(); }
    QMenu& reticleMenu() const { return *window().reticleMenu(); }
    void activateMainWindow() const;

    std::unique_ptr<Application> app_;
};

void MainWindowTest::init()
{
    app_ = std::make_unique<Application>();
    app_->start();
    QVERIFY(QTest::qWaitForWindowExposed(&window()));
}

void MainWindowTest::cleanup()
{
    app_.reset();
}

void MainWindowTest::activateMainWindow() const
{
    window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window()));
}

void MainWindowTest::startsWithTheMainWindowAndTheBannerOnly()
{
    QCOMPARE(visibleWindows(), QWidgetList{&window()});
    QCOMPARE(window().objectName(), QStringLiteral("MDIForm1"));
    QCOMPARE(window().windowTitle(), QStringLiteral("ZENTARO 1.3"));
    QCOMPARE(window().windowIcon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_RGB32),
             zentaro::platform::commonIconImage().convertToFormat(QImage::Format_RGB32));

    const QList<QMdiSubWindow*> children = window().clientArea()->subWindowList();
    QCOMPARE(children.size(), 1);
    QCOMPARE(children.front()->objectName(), QStringLiteral("Form1"));
    QVERIFY(children.front()->isVisible());
    QVERIFY(QApplication::quitOnLastWindowClosed());
}

void MainWindowTest::clientAreaHasItsSizeBelowTheMenuBar()
{
    const zentaro::shell::ClientArea* area = window().clientArea();
    QCOMPARE(area->viewport()->size(), QSize(558, 172));
    QCOMPARE(area->geometry().top(), window().menuBar()->geometry().bottom() + 1);
    QCOMPARE(window().size(), QSize(558, window().menuBar()->height() + 172));
}

void MainWindowTest::clientAreaPaintsColourAndPicture()
{
    // The area's own painting, without the banner over it.
    QWidget* viewport = window().clientArea()->viewport();
    QImage painted(viewport->size(), QImage::Format_RGB32);
    viewport->render(&painted, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    const QImage picture = zentaro::shell::bannerPicture();
    QCOMPARE(painted.copy(0, 0, 537, 150), picture);
    // The margin right of and below the picture.
    QCOMPARE(QColor(painted.pixel(547, 20)), QColor(64, 0, 0));
    QCOMPARE(QColor(painted.pixel(20, 165)), QColor(64, 0, 0));
}

void MainWindowTest::bannerSitsAtTheTopLeftWithoutTitleBar()
{
    const zentaro::shell::BannerWindow* banner = window().banner();
    QCOMPARE(banner->geometry(), QRect(0, 0, 537, 150));
    QCOMPARE(banner->windowTitle(), QString());
    QVERIFY(banner->windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(banner->systemMenu() == nullptr);
    QCOMPARE(banner->widget()->geometry(), QRect(0, 0, 537, 150));
    QCOMPARE(banner->minimumSize(), banner->maximumSize());
}

void MainWindowTest::bannerShowsThePictureInsideItsBorder()
{
    const QImage shown = window().banner()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage picture = zentaro::shell::bannerPicture();
    QCOMPARE(shown.size(), QSize(537, 150));
    // A one-pixel border all round.
    for (const QPoint p : {QPoint(0, 0), QPoint(536, 75), QPoint(268, 149), QPoint(0, 149)}) {
        QCOMPARE(QColor(shown.pixel(p)), QColor(0, 0, 0));
    }
    // The inside holds the picture from its top-left pixel, cut at 535 x 148.
    QCOMPARE(shown.copy(1, 1, 535, 148), picture.copy(0, 0, 535, 148));
}

void MainWindowTest::bannerCannotBeMovedOrClosedByTheUser()
{
    zentaro::shell::BannerWindow* banner = window().banner();
    activateMainWindow();
    // A drag anywhere on it.
    QTest::mousePress(banner, Qt::LeftButton, {}, QPoint(20, 5));
    QTest::mouseMove(banner, QPoint(120, 60));
    QTest::mouseRelease(banner, Qt::LeftButton, {}, QPoint(120, 60));
    QTest::mouseDClick(banner, Qt::LeftButton, {}, QPoint(20, 5));
    QCOMPARE(banner->geometry(), QRect(0, 0, 537, 150));
    QVERIFY(!banner->isMaximized());
    // A close request, and the client area's close shortcut.
    QVERIFY(!banner->close());
    QTest::keyClick(&window(), Qt::Key_F4, Qt::ControlModifier);
    QCoreApplication::processEvents();
    QCOMPARE(window().clientArea()->subWindowList().size(), 1);
    QVERIFY(banner->isVisible());
}

void MainWindowTest::bannerKeepsItsPlace_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("maximise");
    QTest::newRow("larger") << QSize(900, 640) << false;
    QTest::newRow("smaller") << QSize(300, 120) << false;
    QTest::newRow("maximised") << QSize() << true;
}

void MainWindowTest::bannerKeepsItsPlace()
{
    QFETCH(QSize, size);
    QFETCH(bool, maximise);
    const QSize before = window().clientArea()->viewport()->size();
    if (maximise) {
        window().showMaximized();
    } else {
        window().resize(size);
    }
    QTRY_VERIFY(window().clientArea()->viewport()->size() != before);
    QCOMPARE(window().banner()->geometry(), QRect(0, 0, 537, 150));
    // What the larger area adds shows the background colour.
    const QImage shown = window().clientArea()->viewport()->grab().toImage();
    if (shown.width() > 600) {
        QCOMPARE(QColor(shown.pixel(shown.width() - 1, shown.height() - 1)), QColor(64, 0, 0));
    }
}

void MainWindowTest::menuBarHoldsTheReticleMenuAndInfo()
{
    const QList<QAction*> entries = window().menuBar()->actions();
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries[0]->menu(), &reticleMenu());
    QCOMPARE(reticleMenu().objectName(), QStringLiteral("mnuZentaro"));
    QCOMPARE(reticleMenu().title(), QStringLiteral("&Zentaro"));
    // "&Info" is a command on the bar itself, without a drop-down.
    QCOMPARE(entries[1]->objectName(), QString::fromLatin1(kExpectedInfo.name));
    QCOMPARE(entries[1]->text(), QString::fromLatin1(kExpectedInfo.caption));
    QVERIFY(entries[1]->menu() == nullptr);
    // The access letters.
    QCOMPARE(QKeySequence::mnemonic(reticleMenu().title()), QKeySequence(Qt::ALT | Qt::Key_Z));
    QCOMPARE(QKeySequence::mnemonic(entries[1]->text()), QKeySequence(Qt::ALT | Qt::Key_I));
}

void MainWindowTest::reticleMenuItemsInOrder()
{
    emit reticleMenu().aboutToShow();
    const QList<QAction*> actions = reticleMenu().actions();
    QVERIFY(actions.size() >= 9);
    for (int i = 0; i < 8; ++i) {
        const ExpectedItem& item = kExpectedItems[i];
        QCOMPARE(actions[i]->objectName(), QString::fromLatin1(item.name));
        QCOMPARE(actions[i]->text(), QString::fromLatin1(item.caption));
        QVERIFY(!actions[i]->isCheckable());
    }
    QVERIFY(actions[8]->isSeparator());
}

void MainWindowTest::windowListShowsTheBannerAlone()
{
    activateMainWindow();
    QList<QAction*> entries = windowList(reticleMenu());
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries[0]->text(), QStringLiteral("&1"));
    QVERIFY(entries[0]->isCheckable());
    QVERIFY(entries[0]->isChecked());

    // Rebuilt, not appended to, at each drop-down; choosing the entry keeps
    // the banner active.
    entries[0]->trigger();
    entries = windowList(reticleMenu());
    QCOMPARE(entries.size(), 1);
    QVERIFY(entries[0]->isChecked());
    QCOMPARE(window().clientArea()->currentSubWindow(), window().banner());
}

void MainWindowTest::altZDropsDownTheReticleMenu()
{
    activateMainWindow();
    QTest::keyClick(&window(), Qt::Key_Z, Qt::AltModifier);
    QTRY_VERIFY(reticleMenu().isVisible());
    reticleMenu().close();
    QVERIFY(app_->windows().find("Form9") == nullptr);
}

void MainWindowTest::altIOpensTheInformationWindow()
{
    activateMainWindow();
    QTest::keyClick(&window(), Qt::Key_I, Qt::AltModifier);
    QTRY_VERIFY(app_->windows().find("Form9") != nullptr);
    QVERIFY(app_->windows().find("Form9")->isVisible());
    QVERIFY(!reticleMenu().isVisible());
}

void MainWindowTest::closingTheMainWindowTakesTheBanner()
{
    const QPointer<QMdiSubWindow> banner = window().banner();
    QVERIFY(window().close());
    QTRY_VERIFY(app_->mainWindow() == nullptr);
    QVERIFY(banner.isNull());
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
