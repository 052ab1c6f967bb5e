#include "AccessibilityAudit.h"
#include "XRTabBarController.h"
#include "XRWindow.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#if __has_include("DemoService.h")
#include "DemoService.h"
#include "EventLoop.h"
#include "Screenshots.h"
#include "XRActionSheet.h"
#include "XRAppDelegate.h"
#include "XRApplication.h"
#include "XRCurrencyViewController.h"
#include "XRDatePickerView.h"
#include "XRLocalizedString.h"
#include "XRMainInterface.h"
#include "XRMapStoreLocatorViewController.h"
#include "XRMapView.h"
#include "XRNavigationController.h"
#include "XRNewsViewController.h"
#include "XRPickerPanel.h"
#include "XRReserverViewController.h"
#include "XRUserDefaults.h"
#include "XRVaxloShopViewController.h"
#include "XRWindowShell.h"

#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#endif

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

#if __has_include("DemoService.h")

// The application's real tabs against the demo retailer, in Swedish, used
// with the keyboard alone. After every step the screen passes the audit and
// is saved as a screenshot.
class KeyboardWalk : public testing::Test
{
protected:
    void SetUp() override
    {
        service = std::make_unique<xr::demo::DemoService>(xr::demo::DemoOptions{.dataDir = dataDir.path(), .portBase = 0});
        QString error;
        ASSERT_TRUE(service->start(error)) << error.toStdString();
        XRConfiguration configuration;
        const char *codes[] = {"SE", "DK", "NO", "FI"};
        for (size_t i = 0; i < 4; ++i)
            configuration.marketHosts[i] = service->marketAddress(QString::fromLatin1(codes[i]));
        configuration.locationSource = QStringLiteral("nmea:none");
        XRUserDefaults::resetStandardUserDefaults();
        XRUserDefaults &defaults = XRUserDefaults::standardUserDefaults();
        for (const char *key : {"XRDefaultStore", "XRDefaultStoreName", "XRDefaultStoreCity", "storeEtag"})
            defaults.removeObjectForKey(QString::fromLatin1(key));
        defaults.setObject(0, QStringLiteral("language"));
        xr::installTranslations(QStringLiteral("sv"));
        window = std::make_unique<XRWindow>();
        shell = std::make_unique<XRWindowShell>(window.get());
        delegate = std::make_unique<XRAppDelegate>(configuration, shell.get());
        XRApplication::sharedApplication().setDelegate(delegate.get());
        tabs = xr::makeMainTabBarController(window.get());
        window->setRootViewController(tabs);
        delegate->applicationDidFinishLaunching();
        QApplication::setActiveWindow(window.get());
        converter = qobject_cast<XRCurrencyViewController *>(tabs->viewControllers().at(0));
        ASSERT_TRUE(xr::test::waitUntil([this] { return !converter->isLoading() && delegate->storesArray(); }));
    }
    void TearDown() override
    {
        window.reset();
        XRApplication::sharedApplication().setDelegate(nullptr);
        shell.reset();
        delegate.reset();
        service->stop();
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
    void type(const QString &text) { QTest::keyClicks(focus(), text); }
    // Tab until the named control has the focus; false when Tab never gets there.
    bool tabTo(const char *name)
    {
        for (int i = 0; i < 60 && focusName() != QLatin1String(name); ++i)
            press(Qt::Key_Tab);
        return focusName() == QLatin1String(name);
    }
    template <typename T = QWidget> T *find(const char *name) const
    {
        return window->findChild<T *>(QString::fromLatin1(name));
    }
    QString store(int row, const char *key) const
    {
        return delegate->sortedStoresArray()->at(row).toMap().value(QLatin1String(key)).toString();
    }
    XRReserverViewController *form() const
    {
        auto *navigation = qobject_cast<XRNavigationController *>(converter->modalViewController());
        return navigation ? qobject_cast<XRReserverViewController *>(navigation->topViewController()) : nullptr;
    }

    QTemporaryDir dataDir;
    std::unique_ptr<xr::demo::DemoService> service;
    std::unique_ptr<XRWindow> window;
    std::unique_ptr<XRWindowShell> shell;
    std::unique_ptr<XRAppDelegate> delegate;
    XRTabBarController *tabs = nullptr;
    XRCurrencyViewController *converter = nullptr;
};

TEST_F(KeyboardWalk, EveryScreenIsNamedAndReachedAndReturnConfirmsAndEscapeGoesBack)
{
    auto *shop = qobject_cast<XRVaxloShopViewController *>(tabs->viewControllers().at(1));
    auto *news = qobject_cast<XRNavigationController *>(tabs->viewControllers().at(2));
    QString earliestDate;
    QString chosenStore;
    struct Step
    {
        const char *screen;
        std::function<void()> keys;
        std::function<bool()> shows;
    };
    const Step steps[] = {
        {"converter", [&] { ASSERT_TRUE(tabTo("amountTF")); type(QStringLiteral("100")); ASSERT_TRUE(tabTo("pickCurrencyButton")); press(Qt::Key_Space); press(Qt::Key_Down); press(Qt::Key_Escape); },
         [&] {
             // The result is read with the currencies' names where the screen shows their codes.
             const QString name = converter->currentCurrency().value(QStringLiteral("swift_name")).toString();
             const QString result = find<QLabel>("baseDestinationLabel")->text().replace(QStringLiteral(" SEK"), QStringLiteral(" svenska kronor"));
             return !converter->pickerPanel()->isVisible() && focusName() == QLatin1String("pickCurrencyButton")
                    && find<QLabel>("baseDestinationLabel")->accessibleName() == QStringLiteral("100 %1 = %2").arg(name, result);
         }},
        {"form", [&] { ASSERT_TRUE(tabTo("reserveButton")); press(Qt::Key_Space); },
         [&] { return form() && focusName() == QLatin1String("firstNameTextField"); }},
        {"form-missing-fields-alert", [&] {
             for (const char *text : {"Åsa", "Öberg", "198001011234", "0701234567"}) {
                 type(QString::fromUtf8(text));
                 press(Qt::Key_Return);
             } },
         [&] { return XRAlertView::visibleAlerts().size() == 1 && focus() == XRAlertView::visibleAlerts().first()->button(0); }},
        {"form-alert-closed", [&] { press(Qt::Key_Return); },
         [&] { return XRAlertView::visibleAlerts().isEmpty() && focusName() == QLatin1String("phoneTextField"); }},
        {"form-store-chooser", [&] { ASSERT_TRUE(tabTo("storeButton")); press(Qt::Key_Space); },
         [&] { return XRAlertView::visibleAlerts().size() == 1 && focusName() == QLatin1String("tableAlertTable"); }},
        // A screen reader's press on a row chooses it as a click does; the store chosen first is pressed again below.
        {"form-store-pressed", [&] {
             QAccessibleInterface *row = QAccessible::queryAccessibleInterface(form()->alert()->tableView()->cellForRowAtIndexPath({0, 0}));
             ASSERT_EQ(row->role(), QAccessible::ListItem);
             EXPECT_EQ(row->text(QAccessible::Name), QStringLiteral("%1, %2").arg(store(0, "city"), store(0, "name")));
             row->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
             xr::test::drainEvents(); },
         [&] { return XRAlertView::visibleAlerts().isEmpty() && find<QPushButton>("storeButton")->text() == store(0, "name") + QLatin1Char('\n') + store(0, "city"); }},
        {"form-store-chooser-again", [&] { press(Qt::Key_Space); },
         [&] { return XRAlertView::visibleAlerts().size() == 1 && focusName() == QLatin1String("tableAlertTable"); }},
        {"form-store-chosen", [&] { press(Qt::Key_Down); press(Qt::Key_Down); press(Qt::Key_Return); chosenStore = find<QPushButton>("storeButton")->text(); },
         [&] { return XRAlertView::visibleAlerts().isEmpty() && chosenStore == store(1, "name") + QLatin1Char('\n') + store(1, "city"); }},
        {"form-date-panel", [&] { earliestDate = find<QPushButton>("dateButton")->text(); ASSERT_TRUE(tabTo("dateButton")); press(Qt::Key_Space); },
         [&] { return form()->datePicker()->isVisible() && focus() && form()->datePicker()->datePicker()->isAncestorOf(focus()); }},
        {"form-date-cancelled", [&] { press(Qt::Key_Right); press(Qt::Key_Escape); },
         [&] { return form()->datePicker()->isHidden() && focusName() == QLatin1String("dateButton") && find<QPushButton>("dateButton")->text() == earliestDate; }},
        {"form-date-chosen", [&] { press(Qt::Key_Space); press(Qt::Key_Down); press(Qt::Key_Return); },
         [&] { return form()->datePicker()->isHidden() && find<QPushButton>("dateButton")->text() > earliestDate; }},
        {"form-payment-sheet", [&] { ASSERT_TRUE(tabTo("phoneTextField")); press(Qt::Key_Return); },
         [&] { return XRActionSheet::visibleSheets().size() == 1 && focus() == XRActionSheet::visibleSheets().first()->button(0); }},
        {"form-payment-cancelled", [&] { press(Qt::Key_Escape); },
         [&] { return XRActionSheet::visibleSheets().isEmpty() && !form()->isReserving() && focusName() == QLatin1String("phoneTextField"); }},
        {"converter-after-form", [&] { press(Qt::Key_Escape); },
         [&] { return !converter->modalViewController() && focusName() == QLatin1String("reserveButton"); }},
        {"stores-map", [&] { press(Qt::Key_2, Qt::AltModifier); ASSERT_TRUE(tabTo("storesTable")); press(Qt::Key_Down); press(Qt::Key_Return); },
         [&] { return shop->mapViewController() && focusName() == QLatin1String("doneButton"); }},
        {"stores-map-callout", [&] { ASSERT_TRUE(tabTo("annotationView")); press(Qt::Key_Space); },
         [&] { return shop->mapViewController()->mapView()->callout() != nullptr; }},
        {"stores-after-map", [&] { press(Qt::Key_Escape); }, [&] { return !shop->mapViewController(); }},
        {"news-story", [&] {
             press(Qt::Key_3, Qt::AltModifier);
             XRTableView *stories = qobject_cast<XRNewsViewController *>(news->viewControllers().first())->tableView();
             ASSERT_TRUE(xr::test::waitUntil([stories] { return stories->numberOfRowsInSection(0) > 0; }));
             ASSERT_TRUE(tabTo("tableView")); press(Qt::Key_Down); press(Qt::Key_Return); },
         [&] { return news->viewControllers().size() == 2 && focusName() == QLatin1String("storyTV"); }},
        {"news-after-story", [&] { press(Qt::Key_Escape); },
         [&] { return news->viewControllers().size() == 1 && focusName() == QLatin1String("tableView"); }},
        {"settings-store-chooser", [&] { press(Qt::Key_4, Qt::AltModifier); ASSERT_TRUE(tabTo("defaultStoreButton")); press(Qt::Key_Space); },
         [&] { return tabs->selectedIndex() == 3 && focusName() == QLatin1String("tableAlertTable"); }},
        {"settings-chooser-cancelled", [&] { press(Qt::Key_Down); press(Qt::Key_Escape); },
         [&] {
             return XRAlertView::visibleAlerts().isEmpty() && focusName() == QLatin1String("defaultStoreButton")
                    && !XRUserDefaults::standardUserDefaults().objectForKey(QStringLiteral("XRDefaultStore")).isValid();
         }},
        // Tab stops at the chosen segment; an arrow moves the choice, as in any group of choices.
        {"settings-danish", [&] { ASSERT_TRUE(tabTo("languageSegment0")); press(Qt::Key_Right); },
         [&] { return XRUserDefaults::standardUserDefaults().integerForKey(QStringLiteral("language")) == 1; }},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.screen);
        step.keys();
        if (testing::Test::HasFatalFailure())
            return;
        EXPECT_TRUE(step.shows()) << "the focus is on " << focusName().toStdString();
        EXPECT_EQ(xr::test::accessibilityProblems(window.get()), QStringList());
        xr::test::saveScreenshot(window.get(), QStringLiteral("keyboard-") + QLatin1String(step.screen));
    }
}

#endif

} // namespace
