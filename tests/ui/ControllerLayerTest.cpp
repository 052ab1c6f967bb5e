#include "EventLoop.h"
#include "Screenshots.h"
#include "XRActivityIndicatorView.h"
#include "XRApplication.h"
#include "XRLoadingSplashView.h"
#include "XRNavigationController.h"
#include "XRStatusBar.h"
#include "XRTabBarController.h"
#include "XRViewController.h"
#include "XRWindow.h"
#include "XRWindowShell.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// A screen that writes its appearance events into a shared journal.
class JournalScreen : public XRViewController
{
public:
    JournalScreen(const char *name, QStringList *journal)
        : m_name(QString::fromLatin1(name))
        , m_journal(journal)
    {
        setTitle(m_name);
    }
    void viewWillAppear(bool) override { note("willAppear"); }
    void viewDidAppear(bool) override { note("didAppear"); }
    void viewWillDisappear(bool) override { note("willDisappear"); }
    void viewDidDisappear(bool) override { note("didDisappear"); }

protected:
    void viewDidLoad() override { note("didLoad"); }

private:
    void note(const char *event) { *m_journal << m_name + u' ' + QLatin1String(event); }

    QString m_name;
    QStringList *m_journal;
};

// A tab of its own and a tab holding a navigation: tabs load when first shown,
// and a switch, a push and a modal presentation tell the screens in order.
TEST(ControllerLayer, ScreensLoadWhenFirstShownAndHearAppearanceEventsInOrder)
{
    QStringList journal;
    XRWindow window;
    auto *tabs = new XRTabBarController(&window);
    auto *first = new JournalScreen("first", &journal);
    auto *root = new JournalScreen("root", &journal);
    auto *navigation = new XRNavigationController(root);
    tabs->setViewControllers({first, navigation});
    window.setRootViewController(tabs);
    EXPECT_TRUE(journal.isEmpty()) << "nothing loads before the window is shown";

    window.makeKeyAndVisible();
    EXPECT_EQ(journal.join(u','), QStringLiteral("first didLoad,first willAppear,first didAppear"));
    EXPECT_EQ(first->view()->mapTo(&window, QPoint(0, 0)), QPoint(0, 20));
    EXPECT_EQ(first->view()->height(), 480 - 20 - 49);
    journal.clear();
    QTest::mouseClick(tabs->tabButton(1), Qt::LeftButton);
    EXPECT_EQ(journal.join(u','),
              QStringLiteral("first willDisappear,root didLoad,root willAppear,first didDisappear,root didAppear"));
    EXPECT_FALSE(first->isVisible());
    xr::test::saveScreenshot(&window, QStringLiteral("tabs-second-selected"));

    // A pushed screen has a back button named after the screen below.
    navigation->pushViewController(new JournalScreen("detail", &journal), true);
    auto *back = window.findChild<QPushButton *>(QStringLiteral("navigationLeftButton"));
    ASSERT_TRUE(back && back->isVisible());
    EXPECT_EQ(back->text(), QStringLiteral("root"));
    QTest::mouseClick(back, Qt::LeftButton);
    EXPECT_EQ(navigation->topViewController(), root);

    journal.clear();
    auto *modal = new JournalScreen("modal", &journal);
    root->presentModalViewController(modal, false);
    EXPECT_EQ(journal.join(u','),
              QStringLiteral("root willDisappear,modal didLoad,modal willAppear,root didDisappear,modal didAppear"));
    EXPECT_EQ(modal->view()->geometry(), QRect(0, 20, 320, 460));
    journal.clear();
    modal->dismissModalViewController(false);
    EXPECT_EQ(journal.join(u','), QStringLiteral("modal willDisappear,root willAppear,modal didDisappear,root didAppear"));
    EXPECT_EQ(root->modalViewController(), nullptr);
}

// Notes the first paint of what it watches in the journal.
struct PaintJournal : QObject
{
    explicit PaintJournal(QStringList *journal) : journal(journal) {}
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !journal->contains(QStringLiteral("painted")))
            *journal << QStringLiteral("painted");
        return false;
    }
    QStringList *journal;
};

TEST(ControllerLayer, WorkHandedOverWhileTheWindowFirstShowsRunsAfterItsFirstFrame)
{
    QStringList journal;
    XRWindow window;
    const auto note = [&journal](const char *text) { return [&journal, text] { journal << QLatin1String(text); }; };
    window.afterFirstFrame(note("before showing"));
    PaintJournal paints(&journal);
    window.installEventFilter(&paints);
    window.makeKeyAndVisible();
    window.afterFirstFrame(note("network"));
    window.afterFirstFrame(note("position"));
    EXPECT_EQ(journal, QStringList{QStringLiteral("before showing")});
    ASSERT_TRUE(xr::test::waitUntil([&journal] { return journal.size() == 4; }));
    EXPECT_EQ(window.windowIcon().availableSizes().size(), 3) << "the window carries its icon once drawn";
    window.afterFirstFrame(note("later"));
    EXPECT_EQ(journal.join(u','), QStringLiteral("before showing,painted,network,position,later"));
}

TEST(ControllerLayer, ShellShowsTheLoadingSplashAndTheActivityIndicator)
{
    XRWindow window;
    XRWindowShell shell(&window);
    shell.makeKeyAndVisible();
    shell.showLoadingSplash(QRect(80, 200, 160, 75));
    XRLoadingSplashView *splash = shell.loadingSplash();
    ASSERT_TRUE(splash);
    EXPECT_EQ(splash->geometry(), QRect(80, 200, 160, 75));
    EXPECT_TRUE(splash->activityView()->isAnimating());
    xr::test::saveScreenshot(&window, QStringLiteral("loading-splash"));
    shell.removeLoadingSplash();
    EXPECT_TRUE(window.findChildren<XRLoadingSplashView *>().isEmpty());

    XRApplication::sharedApplication().setNetworkActivityIndicatorVisible(true);
    EXPECT_TRUE(window.statusBar()->isNetworkActivityIndicatorVisible());
    XRApplication::sharedApplication().setNetworkActivityIndicatorVisible(false);
}

} // namespace
