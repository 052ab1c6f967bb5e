#include "AccessibilityAudit.h"
#include "XRTabBarController.h"
#include "XRWindow.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

XRViewController *screen(const QString &title)
{
    auto *controller = new XRViewController;
    controller->setTitle(title);
    return controller;
}

TEST(Accessibility, TabBarIsAListOfPageTabsThatKeysAndActionsSwitch)
{
    XRWindow window;
    auto *tabs = new XRTabBarController(&window);
    tabs->setViewControllers({screen(QStringLiteral("Rates")), screen(QStringLiteral("Stores")),
                              screen(QStringLiteral("News"))});
    window.setRootViewController(tabs);
    window.makeKeyAndVisible();

    QAccessibleInterface *bar = QAccessible::queryAccessibleInterface(tabs->tabButton(0)->parentWidget());
    ASSERT_EQ(bar->role(), QAccessible::PageTabList);
    ASSERT_EQ(bar->childCount(), 3);
    QStringList names;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(bar->child(i)->role(), QAccessible::PageTab);
        EXPECT_EQ(bar->child(i)->state().selected, i == 0);
        names << bar->child(i)->text(QAccessible::Name);
    }
    EXPECT_EQ(names, (QStringList{"Rates", "Stores", "News"}));
    EXPECT_TRUE(xr::test::accessibilityProblems(&window).isEmpty()) << xr::test::accessibilityProblems(&window).join('\n').toStdString();

    // The press action of a tab does what a click does.
    bar->child(2)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(tabs->selectedIndex(), 2);
    EXPECT_TRUE(bar->child(2)->state().selected);

    // The desktop's keys: the next tab wraps around, Alt and a digit picks one.
    QApplication::setActiveWindow(&window);
    QTest::keyClick(&window, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(tabs->selectedIndex(), 0);
    QTest::keyClick(&window, Qt::Key_2, Qt::AltModifier);
    EXPECT_EQ(tabs->selectedIndex(), 1);
}

} // namespace
