// Accessibility: the application used with the keyboard and a screen reader.
#if __has_include("DemoService.h")

#include "AccessibilityAudit.h"
#include "DemoApplication.h"
#include "EventLoop.h"
#include "Screenshots.h"
#include "XRActionSheet.h"
#include "XRCurrencyViewController.h"
#include "XRMainInterface.h"
#include "XRMapStoreLocatorViewController.h"
#include "XRMapView.h"
#include "XRNavigationController.h"
#include "XRNewsViewController.h"
#include "XRReserverViewController.h"
#include "XRVaxloShopViewController.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// The application's real tabs against the demo retailer, in Swedish, used
// with the keyboard alone. After every step the screen passes the audit and
// is saved as a screenshot.
class KeyboardWalk : public testing::Test, public xr::test::DemoApplication
{
protected:
    void SetUp() override
    {
        QString error;
        ASSERT_TRUE(startService(error)) << error.toStdString();
        firstLaunch(0, QStringLiteral("sv"), [](XRWindow *window) { return xr::makeMainTabBarController(window); });
        QApplication::setActiveWindow(window.get());
        converter = qobject_cast<XRCurrencyViewController *>(tabs->viewControllers().at(0));
        ASSERT_TRUE(xr::test::waitUntil([this] { return !converter->isLoading() && delegate->storesArray(); }));
    }

    static QWidget *focus() { return QApplication::focusWidget(); }
    static QString focusName() { return focus() ? focus()->objectName() : QString(); }
    // A key to whatever has the focus, then until everything it set moving has stopped.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(focus() ? focus() : window.get(), key, modifiers);
        xr::test::drainEvents();
        ASSERT_TRUE(xr::test::waitForAnimations(window.get()));
    }
    // Tab until the named control has the focus; false when Tab never gets there.
    bool tabTo(const char *name)
    {
        for (int i = 0; i < 60 && focusName() != QLatin1String(name); ++i)
            press(Qt::Key_Tab);
        return focusName() == QLatin1String(name);
    }
    QString text(const char *name) const { return window->findChild<QAbstractButton *>(QLatin1String(name))->text(); }
    QString store(int row) const
    {
        const QVariantMap store = delegate->sortedStoresArray()->at(row).toMap();
        return store.value(QStringLiteral("name")).toString() + QLatin1Char('\n') + store.value(QStringLiteral("city")).toString();
    }
    XRReserverViewController *form() const
    {
        auto *navigation = qobject_cast<XRNavigationController *>(converter->modalViewController());
        return navigation ? qobject_cast<XRReserverViewController *>(navigation->topViewController()) : nullptr;
    }

    XRCurrencyViewController *converter = nullptr;
};

TEST_F(KeyboardWalk, EveryScreenIsNamedAndReachedAndReturnConfirmsAndEscapeGoesBack)
{
    auto *shop = qobject_cast<XRVaxloShopViewController *>(tabs->viewControllers().at(1));
    auto *news = qobject_cast<XRNavigationController *>(tabs->viewControllers().at(2));
    const auto alerts = [] { return XRAlertView::visibleAlerts().size() + XRActionSheet::visibleSheets().size(); };
    QString earliest;
    struct Step
    {
        const char *screen;
        std::function<void()> keys;
        const char *focused; // where the keyboard is after the keys
        std::function<bool()> shows;
    };
    const Step steps[] = {
        {"converter", [&] { ASSERT_TRUE(tabTo("amountTF")); QTest::keyClicks(focus(), QStringLiteral("100")); ASSERT_TRUE(tabTo("pickCurrencyButton")); press(Qt::Key_Space); press(Qt::Key_Down); press(Qt::Key_Escape); },
         "pickCurrencyButton", [&] {
             // The result is read with the currencies' names where the screen shows their codes.
             const auto *result = window->findChild<QLabel *>(QStringLiteral("baseDestinationLabel"));
             return result->accessibleName() == QStringLiteral("100 %1 = %2").arg(converter->currentCurrency().value(QStringLiteral("swift_name")).toString(),
                                                                                   QString(result->text()).replace(QStringLiteral(" SEK"), QStringLiteral(" svenska kronor")));
         }},
        {"form", [&] { ASSERT_TRUE(tabTo("reserveButton")); press(Qt::Key_Space); }, "firstNameTextField", [&] { return form(); }},
        {"form-missing-fields-alert", [&] {
             for (const char *typed : {"Åsa", "Öberg", "198001011234", "0701234567"}) {
                 QTest::keyClicks(focus(), QString::fromUtf8(typed));
                 press(Qt::Key_Return);
             } }, "alertButton0", [&] { return alerts() == 1; }},
        {"form-store-chooser", [&] { press(Qt::Key_Return); ASSERT_TRUE(tabTo("storeButton")); press(Qt::Key_Space); }, "tableAlertTable", [&] { return alerts() == 1; }},
        // A screen reader's press on a row chooses it as a click does.
        {"form-store-pressed", [&] {
             QAccessibleInterface *row = QAccessible::queryAccessibleInterface(form()->alert()->tableView()->cellForRowAtIndexPath({0, 0}));
             ASSERT_EQ(row->role(), QAccessible::ListItem);
             row->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
             xr::test::drainEvents(); }, "storeButton", [&] { return alerts() == 0 && text("storeButton") == store(0); }},
        {"form-store-chosen", [&] { press(Qt::Key_Space); press(Qt::Key_Down); press(Qt::Key_Down); press(Qt::Key_Return); },
         "storeButton", [&] { return alerts() == 0 && text("storeButton") == store(1); }},
        {"form-date-panel", [&] { earliest = text("dateButton"); ASSERT_TRUE(tabTo("dateButton")); press(Qt::Key_Space); },
         "qt_calendar_calendarview", [&] { return form()->datePicker()->isVisible(); }},
        {"form-date-cancelled", [&] { press(Qt::Key_Right); press(Qt::Key_Escape); },
         "dateButton", [&] { return form()->datePicker()->isHidden() && text("dateButton") == earliest; }},
        {"form-date-chosen", [&] { press(Qt::Key_Space); press(Qt::Key_Down); press(Qt::Key_Return); },
         "dateButton", [&] { return form()->datePicker()->isHidden() && text("dateButton") > earliest; }},
        {"form-payment-sheet", [&] { ASSERT_TRUE(tabTo("phoneTextField")); press(Qt::Key_Return); }, "actionSheetButton0", [&] { return alerts() == 1; }},
        {"form-payment-cancelled", [&] { press(Qt::Key_Escape); }, "phoneTextField", [&] { return alerts() == 0 && !form()->isReserving(); }},
        {"converter-after-form", [&] { press(Qt::Key_Escape); }, "reserveButton", [&] { return !form(); }},
        // Ctrl+Tab goes to the next tab.
        {"stores-map-callout", [&] { press(Qt::Key_Tab, Qt::ControlModifier); ASSERT_TRUE(tabTo("storesTable")); press(Qt::Key_Down); press(Qt::Key_Return); ASSERT_TRUE(tabTo("annotationView")); press(Qt::Key_Space); },
         "annotationView", [&] { return shop->mapViewController() && shop->mapViewController()->mapView()->callout(); }},
        {"stores-after-map", [&] { press(Qt::Key_Escape); }, "storesTable", [&] { return !shop->mapViewController(); }},
        // A screen reader's press on a tab of the tab list opens it as a click does.
        {"news-story", [&] {
             QAccessibleInterface *bar = QAccessible::queryAccessibleInterface(tabs->tabButton(2)->parentWidget());
             ASSERT_EQ(bar->role(), QAccessible::PageTabList);
             bar->child(2)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
             EXPECT_TRUE(bar->child(2)->state().selected && !bar->child(0)->state().selected);
             XRTableView *stories = qobject_cast<XRNewsViewController *>(news->viewControllers().first())->tableView();
             ASSERT_TRUE(xr::test::waitUntil([stories] { return stories->numberOfRowsInSection(0) > 0; }));
             ASSERT_TRUE(tabTo("tableView")); press(Qt::Key_Down); press(Qt::Key_Return); },
         "storyTV", [&] { return news->viewControllers().size() == 2; }},
        {"news-after-story", [&] { press(Qt::Key_Escape); }, "tableView", [&] { return news->viewControllers().size() == 1; }},
        {"settings-chooser-cancelled", [&] { press(Qt::Key_4, Qt::AltModifier); ASSERT_TRUE(tabTo("defaultStoreButton")); press(Qt::Key_Space); press(Qt::Key_Down); press(Qt::Key_Escape); },
         "defaultStoreButton", [&] { return alerts() == 0 && !XRUserDefaults::standardUserDefaults().objectForKey(QStringLiteral("XRDefaultStore")).isValid(); }},
        // Tab stops at the chosen segment; an arrow moves the choice, as in any group of choices.
        {"settings-danish", [&] { ASSERT_TRUE(tabTo("languageSegment0")); press(Qt::Key_Right); },
         "languageSegment1", [&] { return XRUserDefaults::standardUserDefaults().integerForKey(QStringLiteral("language")) == 1; }},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.screen);
        step.keys();
        if (testing::Test::HasFatalFailure())
            return;
        EXPECT_EQ(focusName(), QLatin1String(step.focused));
        EXPECT_TRUE(step.shows());
        EXPECT_EQ(xr::test::accessibilityProblems(window.get()), QStringList());
        xr::test::saveScreenshot(window.get(), QStringLiteral("keyboard-") + QLatin1String(step.screen));
    }
}

} // namespace

#endif
