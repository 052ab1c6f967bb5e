#include "EventLoop.h"
#include "Screenshots.h"
#include "XRLoadingSplashView.h"
#include "XRNavigationController.h"
#include "XRStatusBar.h"
#include "XRTabBarController.h"
#include "XRViewController.h"
#include "XRWindow.h"
#include "XRWindowShell.h"
#include "XRActivityIndicatorView.h"
#include "XRApplication.h"

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
    JournalScreen(const QString &name, QStringList *journal)
        : m_name(name)
        , m_journal(journal)
    {
        setTitle(name);
    }
    void viewWillAppear(bool) override { *m_journal << m_name + QStringLiteral(" willAppear"); }
    void viewDidAppear(bool) override { *m_journal << m_name + QStringLiteral(" didAppear"); }
    void viewWillDisappear(bool) override { *m_journal << m_name + QStringLiteral(" willDisappear"); }
    void viewDidDisappear(bool) override { *m_journal << m_name + QStringLiteral(" didDisappear"); }

protected:
    void viewDidLoad() override { *m_journal << m_name + QStringLiteral(" didLoad"); }

private:
    QString m_name;
    QStringList *m_journal;
};

TEST(ControllerLayer, TabsLoadLazilyAndSwitchWithAppearanceEventsInOrder)
{
    QStringList journal;
    XRWindow window;
    auto *tabs = new XRTabBarController(&window);
    auto *first = new JournalScreen(QStringLiteral("first"), &journal);
    auto *second = new JournalScreen(QStringLiteral("second"), &journal);
    tabs->setViewControllers({first, second});
    window.setRootViewController(tabs);
    EXPECT_TRUE(journal.isEmpty()) << "nothing loads before the window is shown";

    window.makeKeyAndVisible();
    EXPECT_EQ(journal, (QStringList{QStringLiteral("first didLoad"), QStringLiteral("first willAppear"),
                                    QStringLiteral("first didAppear")}));
    EXPECT_FALSE(second->isViewLoaded());
    EXPECT_EQ(first->view()->mapTo(&window, QPoint(0, 0)), QPoint(0, 20));
    EXPECT_EQ(first->view()->height(), 480 - 20 - 49);

    journal.clear();
    QTest::mouseClick(tabs->tabButton(1), Qt::LeftButton);
    EXPECT_EQ(journal, (QStringList{QStringLiteral("first willDisappear"), QStringLiteral("second didLoad"),
                                    QStringLiteral("second willAppear"), QStringLiteral("first didDisappear"),
                                    QStringLiteral("second didAppear")}));
    EXPECT_TRUE(second->isVisible());
    EXPECT_FALSE(first->isVisible());
    xr::test::saveScreenshot(&window, QStringLiteral("tabs-second-selected"));
}

// Writes the window's first paint into the journal.
class PaintJournal : public QObject
{
public:
    PaintJournal(QWidget *window, QStringList *journal)
        : m_journal(journal)
    {
        window->installEventFilter(this);
    }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_journal->contains(QStringLiteral("painted")))
            *m_journal << QStringLiteral("painted");
        return false;
    }

private:
    QStringList *m_journal;
};

TEST(ControllerLayer, WorkHandedOverWhileTheWindowFirstShowsRunsAfterItsFirstFrame)
{
    QStringList journal;
    XRWindow window;
    const auto note = [&journal](const char *text) { return [&journal, text] { journal << QLatin1String(text); }; };
    window.afterFirstFrame(note("before showing"));
    PaintJournal paints(&window, &journal);
    window.makeKeyAndVisible();
    window.afterFirstFrame(note("network"));
    window.afterFirstFrame(note("position"));
    EXPECT_EQ(journal, QStringList{QStringLiteral("before showing")});
    ASSERT_TRUE(xr::test::waitUntil([&journal] { return journal.size() == 4; }));
    EXPECT_EQ(window.windowIcon().availableSizes().size(), 3) << "the window carries its icon once drawn";
    window.afterFirstFrame(note("later"));
    EXPECT_EQ(journal, (QStringList{QStringLiteral("before showing"), QStringLiteral("painted"), QStringLiteral("network"),
                                    QStringLiteral("position"), QStringLiteral("later")}));
}

TEST(ControllerLayer, NavigationShowsTitleAndBackAndModalPresentationSendsAppearanceEvents)
{
    QStringList journal;
    XRWindow window;
    auto *root = new JournalScreen(QStringLiteral("root"), &journal);
    auto *navigation = new XRNavigationController(root, &window);
    window.setRootViewController(navigation);
    window.makeKeyAndVisible();
    auto *title = window.findChild<QLabel *>(QStringLiteral("navigationTitle"));
    ASSERT_TRUE(title);
    EXPECT_EQ(title->text(), QStringLiteral("root"));

    navigation->pushViewController(new JournalScreen(QStringLiteral("detail"), &journal), true);
    EXPECT_EQ(title->text(), QStringLiteral("detail"));
    auto *back = window.findChild<QPushButton *>(QStringLiteral("navigationLeftButton"));
    ASSERT_TRUE(back && back->isVisible());
    EXPECT_EQ(back->text(), QStringLiteral("root"));

    QTest::mouseClick(back, Qt::LeftButton);
    EXPECT_EQ(navigation->topViewController(), root);
    EXPECT_EQ(title->text(), QStringLiteral("root"));

    journal.clear();
    auto *modal = new JournalScreen(QStringLiteral("modal"), &journal);
    root->presentModalViewController(modal, false);
    EXPECT_EQ(journal, (QStringList{QStringLiteral("root willDisappear"), QStringLiteral("modal didLoad"),
                                    QStringLiteral("modal willAppear"), QStringLiteral("root didDisappear"),
                                    QStringLiteral("modal didAppear")}));
    EXPECT_EQ(modal->view()->geometry(), QRect(0, 20, 320, 460));
    journal.clear();
    modal->dismissModalViewController(false);
    EXPECT_EQ(journal, (QStringList{QStringLiteral("modal willDisappear"), QStringLiteral("root willAppear"),
                                    QStringLiteral("modal didDisappear"), QStringLiteral("root didAppear")}));
    EXPECT_EQ(root->modalViewController(), nullptr);
}

TEST(ControllerLayer, ShellShowsOneSplashAndTheActivityIndicator)
{
    XRWindow window;
    XRWindowShell shell(&window);
    shell.makeKeyAndVisible();

    shell.showLoadingSplash(QRect(80, 200, 160, 75));
    ASSERT_TRUE(shell.loadingSplash());
    XRLoadingSplashView *splash = shell.loadingSplash();
    EXPECT_EQ(splash->geometry(), QRect(80, 200, 160, 75));
    EXPECT_EQ(splash->loadingMessage()->geometry(), QRect(4, 40, 152, 30));
    EXPECT_EQ(splash->activityView()->geometry().center().x() + 1, 80);
    EXPECT_TRUE(splash->activityView()->isAnimating());
    xr::test::saveScreenshot(&window, QStringLiteral("loading-splash"));
    // The panel is painted 70% black, one point inside a clear frame.
    QImage image(splash->size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    splash->render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0);
    EXPECT_NEAR(image.pixelColor(10, 10).alphaF(), 0.7, 0.01);
    EXPECT_EQ(image.pixelColor(10, 10).red(), 0);
    shell.removeLoadingSplash();
    EXPECT_FALSE(shell.loadingSplash());
    EXPECT_TRUE(window.findChildren<XRLoadingSplashView *>().isEmpty());

    XRApplication::sharedApplication().setNetworkActivityIndicatorVisible(true);
    EXPECT_TRUE(window.statusBar()->isNetworkActivityIndicatorVisible());
    XRApplication::sharedApplication().setNetworkActivityIndicatorVisible(false);
    EXPECT_FALSE(window.statusBar()->isNetworkActivityIndicatorVisible());
}

} // namespace
