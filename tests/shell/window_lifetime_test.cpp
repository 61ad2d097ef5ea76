// The windows the menu opens: one instance per item, shown again unchanged,
// loaded anew after a close, independent of the main window; and the end of
// the application, by a reticle window's "X" or by the last window's close.
#include "shell_test_support.h"

#include "reticle/reticle_window.h"
#include "shell/info_window.h"

#include <QPointer>
#include <QTimer>
#include <QtTest>

using namespace shell_test;
using zentaro::ReticleWindow;
using zentaro::shell::Application;
using zentaro::shell::MainWindow;

namespace {

/// Ends a test's event loop with `code` if nothing else has ended it in time:
/// a guard against hanging, not a wait.
constexpr int kWatchdogMilliseconds = 20000;
constexpr int kWatchdogExitCode = 99;

} // namespace

class WindowLifetimeTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void eachItemOpensItsWindow_data();
    void eachItemOpensItsWindow();
    void aSecondChoiceBringsTheSameWindowUnchanged();
    void aTransparentWindowStaysTransparentAndInPlace();
    void aClosedWindowComesBackLoadedAnew();
    void everyChoiceGivesNineTopLevelWindows();
    void closingTheMainWindowLeavesTheOthersUsable();
    void xEndsTheApplicationWithEveryWindow();
    void theLastWindowClosedEndsTheApplication_data();
    void theLastWindowClosedEndsTheApplication();

private:
    MainWindow& window() const { return *app_->mainWindow(); }
    QWidget* choose(const char* itemName) const;
    ReticleWindow* reticle(const char* windowName) const
    {
        return qobject_cast<ReticleWindow*>(app_->windows().find(windowName));
    }
    int runEventLoopUntilItEnds();

    std::unique_ptr<Application> app_;
};

void WindowLifetimeTest::init()
{
    app_ = std::make_unique<Application>();
    app_->start();
    QVERIFY(QTest::qWaitForWindowExposed(&window()));
}

void WindowLifetimeTest::cleanup()
{
    app_.reset();
    QCOMPARE(visibleWindows(), QWidgetList{});
}

QWidget* WindowLifetimeTest::choose(const char* itemName) const
{
    QAction* action = menuAction(window(), itemName);
    if (action == nullptr) {
        return nullptr;
    }
    action->trigger();
    for (const ExpectedItem& item : kExpectedItems) {
        if (qstrcmp(item.name, itemName) == 0) {
            return app_->windows().find(item.windowName);
        }
    }
    return app_->windows().find(kExpectedInfo.windowName);
}

int WindowLifetimeTest::runEventLoopUntilItEnds()
{
    QTimer watchdog;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(kWatchdogExitCode); });
    watchdog.start(kWatchdogMilliseconds);
    return QApplication::exec();
}

void WindowLifetimeTest::eachItemOpensItsWindow_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("windowName");
    QTest::addColumn<QString>("caption");
    for (const ExpectedItem& item : kExpectedItems) {
        QTest::newRow(item.name) << item.name << item.windowName << item.windowCaption;
    }
    QTest::newRow(kExpectedInfo.name)
        << kExpectedInfo.name << kExpectedInfo.windowName << kExpectedInfo.windowCaption;
}

void WindowLifetimeTest::eachItemOpensItsWindow()
{
    QFETCH(QString, item);
    QFETCH(QString, windowName);
    QFETCH(QString, caption);

    QVERIFY(app_->windows().find(windowName.toStdString()) == nullptr);
    QWidget* opened = choose(qPrintable(item));
    QVERIFY(opened != nullptr);
    QCOMPARE(opened->objectName(), windowName);
    QCOMPARE(opened->windowTitle(), caption);
    // A top-level of its own, neither child nor owned, shown modeless.
    QVERIFY(opened->isWindow());
    QVERIFY(opened->parentWidget() == nullptr);
    QVERIFY(opened->isVisible());
    QVERIFY(!opened->isModal());
    QVERIFY(QTest::qWaitForWindowActive(opened));
    QCOMPARE(QApplication::activeWindow(), opened);
    // Only that window opened.
    QCOMPARE(visibleWindows().size(), 2);
}

void WindowLifetimeTest::aSecondChoiceBringsTheSameWindowUnchanged()
{
    QWidget* first = choose("mnuPunto");
    QWidget* info = choose("mnuInfo");
    QVERIFY(QTest::qWaitForWindowActive(info));
    const QPoint moved = first->pos() + QPoint(40, 30);
    first->move(moved);
    QTRY_COMPARE(first->pos(), moved);
    const QRect geometry = first->geometry();

    QCOMPARE(choose("mnuPunto"), first);
    QVERIFY(QTest::qWaitForWindowActive(first));
    QCOMPARE(first->geometry(), geometry);
    QCOMPARE(choose("mnuInfo"), info);
    QCOMPARE(visibleWindows().size(), 3);
}

void WindowLifetimeTest::aTransparentWindowStaysTransparentAndInPlace()
{
    ReticleWindow* cross = qobject_cast<ReticleWindow*>(choose("mnuCroceRossa"));
    QVERIFY(cross != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(cross));
    cross->Label1_Click();
    QVERIFY(cross->isTransparent());
    const QRect geometry = cross->geometry();
    const QRegion mask = cross->mask();
    const Qt::WindowFlags flags = cross->windowFlags();
    choose("mnuInfo"); // something else comes to the front meanwhile

    QCOMPARE(choose("mnuCroceRossa"), cross);
    QVERIFY(cross->isTransparent());
    QCOMPARE(cross->toggleCaption(), QStringLiteral("Finestra"));
    QCOMPARE(cross->geometry(), geometry);
    QCOMPARE(cross->mask(), mask);
    QCOMPARE(cross->windowFlags(), flags);
    QVERIFY(cross->isVisible());
}

void WindowLifetimeTest::aClosedWindowComesBackLoadedAnew()
{
    QPointer<ReticleWindow> closed = qobject_cast<ReticleWindow*>(choose("mnuCampoCCD"));
    QVERIFY(closed);
    const qint64 iconKey = closed->windowIcon().cacheKey();
    closed->Label1_Click(); // transparent when it is closed
    QVERIFY(closed->close());
    QTRY_VERIFY(closed.isNull());
    QVERIFY(app_->windows().find("Form7") == nullptr);

    ReticleWindow* reopened = qobject_cast<ReticleWindow*>(choose("mnuCampoCCD"));
    QVERIFY(reopened != nullptr);
    QVERIFY(reopened->isVisible());
    QVERIFY(!reopened->isTransparent());
    QCOMPARE(reopened->toggleCaption(), QStringLiteral("Trasparente"));
    QVERIFY(reopened->mask().isEmpty());
    // The same icon, not a new one per opening (each new one would leave its scaled pixmaps in
    // Qt's pixmap cache).
    QCOMPARE(reopened->windowIcon().cacheKey(), iconKey);

    // The information window likewise.
    QPointer<QWidget> info = choose("mnuInfo");
    QVERIFY(info->close());
    QTRY_VERIFY(info.isNull());
    QVERIFY(choose("mnuInfo") != nullptr);
}

void WindowLifetimeTest::everyChoiceGivesNineTopLevelWindows()
{
    for (const ExpectedItem& item : kExpectedItems) {
        QVERIFY(choose(item.name) != nullptr);
    }
    QVERIFY(choose(kExpectedInfo.name) != nullptr);

    QWidgetList others = visibleWindows();
    others.removeAll(&window());
    QCOMPARE(others.size(), 9);
    QStringList names;
    for (const QWidget* other : others) {
        names.append(other->objectName());
    }
    names.sort();
    QCOMPARE(names, QStringList({"Form10", "Form2", "Form3", "Form4", "Form5", "Form6", "Form7",
                                 "Form8", "Form9"}));
    // All of them carry the main window's one icon.
    for (const QWidget* other : others) {
        QCOMPARE(other->windowIcon().cacheKey(), window().windowIcon().cacheKey());
    }

    // None of them joins the window list.
    window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window()));
    const QList<QAction*> entries = windowList(*window().reticleMenu());
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries[0]->text(), QStringLiteral("&1"));
    QVERIFY(entries[0]->isChecked());
}

void WindowLifetimeTest::closingTheMainWindowLeavesTheOthersUsable()
{
    QPointer<ReticleWindow> punto = qobject_cast<ReticleWindow*>(choose("mnuPunto"));
    QPointer<QWidget> info = choose("mnuInfo");
    QVERIFY(window().close());
    QTRY_VERIFY(app_->mainWindow() == nullptr);

    QVERIFY(punto && punto->isVisible());
    QVERIFY(info && info->isVisible());
    punto->Label1_Click();
    QVERIFY(punto->isTransparent());
    punto->Label1_Click();
    QVERIFY(!punto->isTransparent());
}

void WindowLifetimeTest::xEndsTheApplicationWithEveryWindow()
{
    QPointer<ReticleWindow> grid = qobject_cast<ReticleWindow*>(choose("mnuGriglia"));
    QPointer<QWidget> scale = choose("mnuCentratore");
    QPointer<QWidget> info = choose("mnuInfo");
    QPointer<QWidget> mainWindow = &window();
    QVERIFY(grid && scale && info);

    QTimer::singleShot(0, grid, [grid] { grid->Label2_Click(); });
    QCOMPARE(runEventLoopUntilItEnds(), 0);

    // What main() does next: the application object goes, with every window.
    app_.reset();
    QVERIFY(grid.isNull());
    QVERIFY(scale.isNull());
    QVERIFY(info.isNull());
    QVERIFY(mainWindow.isNull());
}

void WindowLifetimeTest::theLastWindowClosedEndsTheApplication_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::newRow("main window alone") << QStringList();
    QTest::newRow("main window, then a reticle and the information window")
        << QStringList({"mnuPunto", "mnuInfo"});
}

void WindowLifetimeTest::theLastWindowClosedEndsTheApplication()
{
    QFETCH(QStringList, items);
    QList<QPointer<QWidget>> windows{&window()};
    for (const QString& item : items) {
        windows.append(choose(qPrintable(item)));
    }
    bool allClosedBeforeTheEnd = false;
    QTimer::singleShot(0, [&] {
        for (const QPointer<QWidget>& each : windows) {
            QVERIFY(each->close());
        }
        allClosedBeforeTheEnd = true;
    });
    QCOMPARE(runEventLoopUntilItEnds(), 0);
    QVERIFY(allClosedBeforeTheEnd);
}

QTEST_MAIN(WindowLifetimeTest)
#include "window_lifetime_test.moc"
