#include "EventLoop.h"
#include "LoopbackServer.h"
#include "Screenshots.h"
#include "XRAlertView.h"
#include "XRAppDelegate.h"
#include "XRApplication.h"
#include "XRCurrencyDownloader.h"
#include "XRCurrencyViewController.h"
#include "XRLocalizedString.h"
#include "XRLoadingSplashView.h"
#include "XRNotificationCenter.h"
#include "XRNotifications.h"
#include "XRPickerButtonPanel.h"
#include "XRPickerPanel.h"
#include "XRTabBarController.h"
#include "XRUserDefaults.h"
#include "XRWindow.h"
#include "XRWindowShell.h"

#include <QAbstractAnimation>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

using xr::test::LoopbackServer;
using xr::test::waitUntil;

namespace {

QByteArray ratesDocument(const QString &timestamp, const QByteArray &extraRow = {})
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?><rates><timestamp>" + timestamp.toUtf8() +
           "</timestamp>"
           "<row><swift_code>USD</swift_code><swift_name>US DOLLAR</swift_name><buy_cash>8,10</buy_cash>"
           "<sell_cash>8,50</sell_cash><buy_tc>-</buy_tc><sell_tc>-</sell_tc><multiply>1</multiply>"
           "<base_swift>SEK</base_swift><CurrencyGuide>8,30</CurrencyGuide></row>"
           "<row><swift_code>JPY</swift_code><swift_name>JAPANSKA YEN</swift_name><buy_cash>6,10</buy_cash>"
           "<sell_cash>7,40</sell_cash><buy_tc>-</buy_tc><sell_tc>-</sell_tc><multiply>100</multiply>"
           "<base_swift>SEK</base_swift><CurrencyGuide>6,75</CurrencyGuide></row>" +
           extraRow + "</rates>";
}

QString nowStamp()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

// The real window and shell, the application delegate pointed at a loopback
// market, and the currency screen as the one tab.
class CurrencyScreenTest : public testing::Test
{
protected:
    void SetUp() override
    {
        XRUserDefaults::resetStandardUserDefaults();
        XRUserDefaults::standardUserDefaults().setObject(0, QStringLiteral("language"));
        xr::installTranslations(QStringLiteral("en"));
        server.route(QStringLiteral("/ratesxml.asp"), {.body = ratesDocument(servedStamp)});
        XRConfiguration configuration;
        const QString host = QStringLiteral("127.0.0.1:%1").arg(server.port());
        configuration.marketHosts = {host, host, host, host};
        window = std::make_unique<XRWindow>();
        shell = std::make_unique<XRWindowShell>(window.get());
        delegate = std::make_unique<XRAppDelegate>(configuration, shell.get());
        XRApplication::sharedApplication().setDelegate(delegate.get());
        tabs = new XRTabBarController(window.get());
        screen = new XRCurrencyViewController;
        tabs->setViewControllers({screen});
        window->setRootViewController(tabs);
    }

    void TearDown() override
    {
        window.reset();
        XRApplication::sharedApplication().setDelegate(nullptr);
        shell.reset();
        delegate.reset();
    }

    void show()
    {
        shell->makeKeyAndVisible();
        ASSERT_TRUE(waitUntil([this] { return !screen->isLoading(); }));
    }

    template <typename T> T *find(const char *name) const
    {
        return window->findChild<T *>(QString::fromLatin1(name));
    }
    QString text(const char *label) const { return find<QLabel>(label)->text(); }
    QStringList sixTexts() const
    {
        return {text("swiftSourceLabel"),  text("swiftTransactionLabel"), text("baseDestinationLabel"),
                text("baseSourceLabel"),   text("baseTransactionLabel"),  text("swiftDestinationLabel")};
    }
    static void waitForAnimations(QWidget *widget)
    {
        ASSERT_TRUE(waitUntil([widget] {
            for (auto *animation : widget->findChildren<QAbstractAnimation *>()) {
                if (animation->state() == QAbstractAnimation::Running)
                    return false;
            }
            return true;
        }));
    }

    const QString servedStamp = nowStamp();
    LoopbackServer server;
    std::unique_ptr<XRWindow> window;
    std::unique_ptr<XRWindowShell> shell;
    std::unique_ptr<XRAppDelegate> delegate;
    XRTabBarController *tabs = nullptr;
    XRCurrencyViewController *screen = nullptr;
};

TEST_F(CurrencyScreenTest, RatesLoadOnFirstAppearanceWithThePickerButtonDisabledMeanwhile)
{
    shell->makeKeyAndVisible();
    auto *pick = find<QPushButton>("pickCurrencyButton");
    ASSERT_TRUE(pick);
    EXPECT_TRUE(screen->isLoading());
    EXPECT_FALSE(pick->isEnabled());
    xr::test::saveScreenshot(window.get(), QStringLiteral("currency-loading"));

    ASSERT_TRUE(waitUntil([this] { return !screen->isLoading(); }));
    EXPECT_TRUE(pick->isEnabled());
    EXPECT_EQ(server.requests().size(), 1);
    EXPECT_EQ(pick->text(), QStringLiteral("Välj valuta, SEK"));
    EXPECT_TRUE(text("lastUpdateLabel").startsWith(QStringLiteral("Last update ")));
    EXPECT_FALSE(find<QLabel>("lastUpdateLabel")->styleSheet().contains(QStringLiteral("red")));
    EXPECT_EQ(delegate->currencyDict().value(QStringLiteral("timestamp")).toString(), servedStamp);
    EXPECT_TRUE(find<QPushButton>("reserveButton")->isEnabled());
    xr::test::saveScreenshot(window.get(), QStringLiteral("currency-loaded"));
}

TEST_F(CurrencyScreenTest, PickingARowUpdatesTitleAndTextsAtOnceAndDoneHidesThePanel)
{
    show();
    QTest::keyClicks(find<QLineEdit>("amountTF"), QStringLiteral("100"));
    QTest::mouseClick(find<QPushButton>("pickCurrencyButton"), Qt::LeftButton);
    XRPickerPanel *panel = screen->pickerPanel();
    ASSERT_TRUE(panel);
    EXPECT_FALSE(find<QPushButton>("pickCurrencyButton")->isEnabled());
    waitForAnimations(panel);
    waitForAnimations(screen->view());
    EXPECT_EQ(panel->geometry(), QRect(0, 220, 320, 261));
    EXPECT_EQ(screen->view()->y(), -35);
    EXPECT_EQ(panel->pickerView()->titleForRow(0), QStringLiteral("Us Dollar, USD"));
    EXPECT_EQ(panel->pickerView()->titleForRow(1), QStringLiteral("Japanska Yen, JPY"));
    QPushButton *done = panel->pickerButtonPanel()->doneButton();
    EXPECT_EQ(done->geometry(), QRect(320 - 62 - 5, 8, 62, 30));
    xr::test::saveScreenshot(window.get(), QStringLiteral("currency-picker"));

    panel->pickerView()->chooseRow(0);
    EXPECT_EQ(find<QPushButton>("pickCurrencyButton")->text(), QStringLiteral("Us Dollar, USD"));
    EXPECT_EQ(sixTexts(), (QStringList{QStringLiteral("100 USD"), QStringLiteral("sold for:"),
                                       QStringLiteral("850.00 SEK"), QStringLiteral("100 SEK"),
                                       QStringLiteral("gives you:"), QStringLiteral("11.76 USD")}));
    EXPECT_EQ(screen->selectedRow(), 0);

    QTest::mouseClick(done, Qt::LeftButton);
    waitForAnimations(panel);
    waitForAnimations(screen->view());
    EXPECT_EQ(panel->y(), 536);
    EXPECT_EQ(screen->view()->y(), 0);
    EXPECT_TRUE(find<QPushButton>("pickCurrencyButton")->isEnabled());
    xr::test::saveScreenshot(window.get(), QStringLiteral("currency-converted"));
}

TEST_F(CurrencyScreenTest, BuySellAndAmountAreSavedAndTheViewRisesWhileEditing)
{
    show();
    QTest::mouseClick(find<QPushButton>("sellSegment"), Qt::LeftButton);
    EXPECT_EQ(delegate->currencyDict().value(QStringLiteral("transType")).toString(), QStringLiteral("sell"));
    auto saved = delegate->applicationPlistFromFile(QStringLiteral("currency.vaxlodata"));
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->toMap().value(QStringLiteral("transType")).toString(), QStringLiteral("sell"));
    EXPECT_EQ(text("swiftTransactionLabel"), QStringLiteral("gives you:"));

    QLineEdit *amount = find<QLineEdit>("amountTF");
    amount->setFocus();
    ASSERT_TRUE(waitUntil([amount] { return amount->hasFocus(); }));
    waitForAnimations(screen->view());
    EXPECT_EQ(screen->view()->y(), -30);
    QTest::keyClicks(amount, QStringLiteral("12,5"));
    EXPECT_EQ(text("swiftSourceLabel"), QStringLiteral("12,5 SEK"));
    EXPECT_EQ(text("baseDestinationLabel"), QStringLiteral("12.50 SEK"));

    // A touch on the background ends the editing.
    QTest::mouseClick(screen->view(), Qt::LeftButton, {}, QPoint(300, 400));
    waitForAnimations(screen->view());
    EXPECT_EQ(screen->view()->y(), 0);
    EXPECT_EQ(delegate->currencyDict().value(QStringLiteral("amount")).toString(), QStringLiteral("12,5"));
    saved = delegate->applicationPlistFromFile(QStringLiteral("currency.vaxlodata"));
    EXPECT_EQ(saved->toMap().value(QStringLiteral("amount")).toString(), QStringLiteral("12,5"));
}

TEST_F(CurrencyScreenTest, AFailedLoadAndABrokenBodyClearLoadingAndTheButtonFollowsTheRows)
{
    server.route(QStringLiteral("/ratesxml.asp"), {.body = "<html><body>Server error<br></body></html>"});
    show();
    EXPECT_FALSE(screen->isLoading());
    EXPECT_FALSE(find<QPushButton>("pickCurrencyButton")->isEnabled()) << "no rows yet";
    ASSERT_EQ(XRAlertView::visibleAlerts().size(), 1);
    EXPECT_EQ(XRAlertView::visibleAlerts().first()->title(), XRLocalizedString("XRNetworkAlertTitle"));
    xr::test::saveScreenshot(window.get(), QStringLiteral("currency-network-alert"));
    QTest::mouseClick(XRAlertView::visibleAlerts().first()->button(0), Qt::LeftButton);

    // The next activation loads again and succeeds; then a dead server keeps the rows.
    server.route(QStringLiteral("/ratesxml.asp"), {.body = ratesDocument(nowStamp())});
    XRNotificationCenter::defaultCenter().postNotificationName(UIApplicationDidBecomeActiveNotification);
    ASSERT_TRUE(waitUntil([this] { return !screen->isLoading(); }));
    EXPECT_TRUE(find<QPushButton>("pickCurrencyButton")->isEnabled());
    EXPECT_EQ(screen->currenciesArray().size(), 2);

    server.route(QStringLiteral("/ratesxml.asp"), {.body = ratesDocument(nowStamp()), .fault = xr::test::Response::Fault::DropMidBody});
    XRNotificationCenter::defaultCenter().postNotificationName(UIApplicationDidBecomeActiveNotification);
    ASSERT_TRUE(waitUntil([this] { return !screen->isLoading(); }));
    EXPECT_TRUE(find<QPushButton>("pickCurrencyButton")->isEnabled());
    EXPECT_EQ(screen->currenciesArray().size(), 2);
    EXPECT_EQ(XRAlertView::visibleAlerts().size(), 0) << "a second alert within a minute is not shown";
}

TEST_F(CurrencyScreenTest, OldRatesShowTheWarningInRed)
{
    server.route(QStringLiteral("/ratesxml.asp"), {.body = ratesDocument(QStringLiteral("2020-01-01 10:00"))});
    show();
    EXPECT_EQ(text("lastUpdateLabel"), XRLocalizedString("Warning old rates") + QStringLiteral("\n2020-01-01 10:00"));
    EXPECT_TRUE(find<QLabel>("lastUpdateLabel")->styleSheet().contains(QStringLiteral("red")));
    xr::test::saveScreenshot(window.get(), QStringLiteral("currency-old-rates"));
}

TEST_F(CurrencyScreenTest, ALanguageChangeDuringALoadLoadsTheNewMarketWhenItEnds)
{
    LoopbackServer denmark;
    denmark.route(QStringLiteral("/ratesxml.asp"), {.body = ratesDocument(nowStamp(), "<row><swift_code>DKK</swift_code></row>")});
    XRConfiguration configuration = delegate->configuration();
    // The delegate is remade with Denmark on its own host.
    configuration.marketHosts[1] = QStringLiteral("127.0.0.1:%1").arg(denmark.port());
    delegate = std::make_unique<XRAppDelegate>(configuration, shell.get());
    XRApplication::sharedApplication().setDelegate(delegate.get());

    shell->makeKeyAndVisible();
    ASSERT_TRUE(screen->isLoading());
    XRUserDefaults::standardUserDefaults().setObject(1, QStringLiteral("language"));
    XRNotificationCenter::defaultCenter().postNotificationName(XRLanguageChangedNotification);
    ASSERT_TRUE(waitUntil([&] { return !denmark.requests().isEmpty() && !screen->isLoading(); }));
    EXPECT_EQ(server.requests().size(), 1);
    EXPECT_EQ(denmark.requests().size(), 1);
    EXPECT_EQ(screen->currenciesArray().size(), 3);
    EXPECT_EQ(screen->selectedRow(), XRCurrencyViewController::notFound);
}

TEST_F(CurrencyScreenTest, SplashShownTwiceAndDismissedOnceLeavesNone)
{
    show();
    delegate->displayLoadingSplash();
    delegate->displayLoadingSplash();
    EXPECT_EQ(window->findChildren<XRLoadingSplashView *>().size(), 1);
    xr::test::saveScreenshot(window.get(), QStringLiteral("currency-with-splash"));
    delegate->dismissLoadingSplash();
    EXPECT_TRUE(window->findChildren<XRLoadingSplashView *>().isEmpty());
}

} // namespace
