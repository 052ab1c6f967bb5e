#include "EventLoop.h"
#include "LoopbackServer.h"
#include "Screenshots.h"
#include "XRAlertView.h"
#include "XRAppDelegate.h"
#include "XRApplication.h"
#include "XRCurrencyDownloader.h"
#include "XRCurrencyViewController.h"
#include "XRLocalizedString.h"
#include "XRNotificationCenter.h"
#include "XRNotifications.h"
#include "XRPickerButtonPanel.h"
#include "XRPickerPanel.h"
#include "XRTabBarController.h"
#include "XRUserDefaults.h"
#include "XRWindow.h"
#include "XRWindowShell.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <memory>

using xr::test::LoopbackServer;
using xr::test::Response;
using xr::test::waitUntil;

namespace {

QByteArray row(const QByteArray &code, const QByteArray &name, const QByteArray &buy, const QByteArray &sell,
               const QByteArray &base)
{
    return "<row><swift_code>" + code + "</swift_code><swift_name>" + name + "</swift_name><buy_cash>" + buy +
           "</buy_cash><sell_cash>" + sell + "</sell_cash><buy_tc>-</buy_tc><sell_tc>-</sell_tc>"
           "<multiply>1</multiply><base_swift>" + base + "</base_swift><CurrencyGuide>1</CurrencyGuide></row>";
}

QByteArray ratesDocument(const QString &timestamp, const QByteArray &rows)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?><rates><timestamp>" + timestamp.toUtf8() + "</timestamp>" +
           rows + "</rates>";
}

const QByteArray swedishRows = row("USD", "US DOLLAR", "8,10", "8,50", "SEK") + row("JPY", "JAPANSKA YEN", "6,10", "7,40", "SEK");

// The real window and shell, the application delegate pointed at a loopback
// market, and the currency screen as the one tab.
class CurrencyScreenTest : public testing::Test
{
protected:
    void SetUp() override
    {
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
        XRUserDefaults::resetStandardUserDefaults();
        XRUserDefaults::standardUserDefaults().setObject(0, QStringLiteral("language"));
        xr::installTranslations(QStringLiteral("en"));
        server.route(QStringLiteral("/ratesxml.asp"), {.body = ratesDocument(servedStamp, swedishRows)});
        start();
    }

    void TearDown() override { quit(); }

    void start()
    {
        XRConfiguration configuration;
        const QString host = QStringLiteral("127.0.0.1:%1").arg(server.port());
        configuration.marketHosts = {host, host, host, host};
        window = std::make_unique<XRWindow>();
        shell = std::make_unique<XRWindowShell>(window.get());
        delegate = std::make_unique<XRAppDelegate>(configuration, shell.get());
        XRApplication::sharedApplication().setDelegate(delegate.get());
        auto *tabs = new XRTabBarController(window.get());
        screen = new XRCurrencyViewController;
        tabs->setViewControllers({screen});
        window->setRootViewController(tabs);
    }

    void quit()
    {
        window.reset();
        XRApplication::sharedApplication().setDelegate(nullptr);
        shell.reset();
        delegate.reset();
    }

    // The application closed and started again with the converter's state it
    // saved, read back as the launch reads it.
    void restart()
    {
        delegate->applicationDidEnterBackground();
        quit();
        start();
        delegate->currencyDict() =
            delegate->applicationPlistFromFile(QString::fromLatin1(XRAppDelegate::currencyFileName))->toMap();
        show();
    }

    void show()
    {
        shell->makeKeyAndVisible();
        ASSERT_TRUE(waitUntil([this] { return !screen->isLoading(); }));
    }

    void dismissAlert()
    {
        ASSERT_EQ(XRAlertView::visibleAlerts().size(), 1);
        QTest::mouseClick(XRAlertView::visibleAlerts().first()->button(0), Qt::LeftButton);
    }

    template <typename T> T *find(const char *name) const
    {
        return window->findChild<T *>(QString::fromLatin1(name));
    }
    QString text(const char *label) const { return find<QLabel>(label)->text(); }
    bool statusIsRed() const { return find<QLabel>("lastUpdateLabel")->styleSheet().contains(QStringLiteral("red")); }
    static void waitForAnimations(QWidget *widget) { ASSERT_TRUE(xr::test::waitForAnimations(widget)); }

    XRPickerPanel *openPicker()
    {
        QTest::mouseClick(find<QPushButton>("pickCurrencyButton"), Qt::LeftButton);
        XRPickerPanel *panel = screen->pickerPanel();
        if (panel) {
            waitForAnimations(panel);
            waitForAnimations(screen->view());
        }
        return panel;
    }
    // A touch on the background ends the editing, which saves the amount.
    void endEditing() { QTest::mouseClick(screen->view(), Qt::LeftButton, {}, QPoint(300, 400)); }

    const QString servedStamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    LoopbackServer server;
    std::unique_ptr<XRWindow> window;
    std::unique_ptr<XRWindowShell> shell;
    std::unique_ptr<XRAppDelegate> delegate;
    XRCurrencyViewController *screen = nullptr;
};

struct Market
{
    int languageIndex;
    const char *language;
    QByteArray home;
    QByteArray dollarName;    // as the retailer writes it
    const char *dollarTitle;  // as the picker shows it
    const char *chooseCurrency;
    const char *soldFor1000;  // 1000 dollars at a buying rate of 10,80
};

const Market markets[] = {
    {0, "sv", "SEK", "AMERIKANSKA DOLLAR", "Amerikanska Dollar, USD", "Välj valuta, SEK", "10\u00a0800,00 SEK"},
    {1, "da", "DKK", "AMERIKANSKE DOLLAR", "Amerikanske Dollar, USD", "Vælg valuta, DKK", "10.800,00 DKK"},
    {2, "nb", "NOK", "AMERIKANSKE DOLLAR", "Amerikanske Dollar, USD", "Velg valuta, NOK", "10\u00a0800,00 NOK"},
    {3, "fi", "EUR", "YHDYSVALTAIN DOLLARI", "Yhdysvaltain Dollari, USD", "Valitse valuutta, EUR",
     "10\u00a0800,00 EUR"},
};

void PrintTo(const Market &market, std::ostream *out)
{
    *out << market.language;
}

class CustomerWalk : public CurrencyScreenTest, public testing::WithParamInterface<Market>
{
protected:
    void SetUp() override
    {
        CurrencyScreenTest::SetUp();
        XRUserDefaults::standardUserDefaults().setObject(GetParam().languageIndex, QStringLiteral("language"));
        xr::installTranslations(QString::fromLatin1(GetParam().language));
        serve(row("USD", GetParam().dollarName, "10,7181", "11,2", GetParam().home) +
              row("GBP", "POUND", "12,4", "13,1", GetParam().home));
        quit();
        start();
    }
    void serve(const QByteArray &rows, Response::Fault fault = Response::Fault::None)
    {
        server.route(QStringLiteral("/ratesxml.asp"), {.body = ratesDocument(servedStamp, rows), .fault = fault});
    }
    QString shot(const char *name) const
    {
        return QStringLiteral("currency-%1-%2").arg(QLatin1String(GetParam().language), QLatin1String(name));
    }
};

// First start, a pick on the wheel, 1000 sold, new rates on the next
// activation, then two restarts with the network down: with the rates kept
// from the last start, and with none.
TEST_P(CustomerWalk, ConvertsInTheMarketsFormAtTheLatestRatesAndKeepsThemOffline)
{
    const Market &market = GetParam();
    shell->makeKeyAndVisible();
    EXPECT_FALSE(find<QPushButton>("pickCurrencyButton")->isEnabled()) << "while the rates load";
    EXPECT_EQ(text("lastUpdateLabel"), XRLocalizedString("Loading data..."));
    ASSERT_TRUE(waitUntil([this] { return !screen->isLoading(); }));
    EXPECT_EQ(find<QPushButton>("pickCurrencyButton")->text(), QString::fromUtf8(market.chooseCurrency));
    EXPECT_TRUE(text("lastUpdateLabel").startsWith(XRLocalizedString("Last update") + u' ' + servedStamp));
    EXPECT_FALSE(statusIsRed());
    xr::test::saveScreenshot(window.get(), shot("first-start"));

    XRPickerPanel *panel = openPicker();
    ASSERT_TRUE(panel);
    EXPECT_EQ(panel->geometry(), QRect(0, 220, 320, 261));
    xr::test::saveScreenshot(window.get(), shot("wheel"));
    auto *list = panel->findChild<QListWidget *>(QStringLiteral("pickerRows"));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    QTest::mouseClick(panel->pickerButtonPanel()->doneButton(), Qt::LeftButton);
    waitForAnimations(panel);
    waitForAnimations(screen->view());
    EXPECT_EQ(find<QPushButton>("pickCurrencyButton")->text(), QString::fromUtf8(market.dollarTitle));
    xr::test::saveScreenshot(window.get(), shot("pick"));

    QTest::mouseClick(find<QPushButton>("sellSegment"), Qt::LeftButton);
    QTest::mouseClick(find<QLineEdit>("amountTF"), Qt::LeftButton);
    QTest::keyClicks(find<QLineEdit>("amountTF"), QStringLiteral("1000"));
    endEditing();
    EXPECT_EQ(screen->sellCashAmmount(), QStringLiteral("11200.00")) << "the reservation's form has no grouping";
    xr::test::saveScreenshot(window.get(), shot("sold-1000"));

    // The next download moves the dollar down the list at a new price.
    serve(row("GBP", "POUND", "12,4", "13,1", market.home) + row("USD", market.dollarName, "10,80", "11,5", market.home));
    XRNotificationCenter::defaultCenter().postNotificationName(UIApplicationDidBecomeActiveNotification);
    ASSERT_TRUE(waitUntil([this] { return !screen->isLoading(); }));
    EXPECT_EQ(text("baseDestinationLabel"), QString::fromUtf8(market.soldFor1000));
    EXPECT_EQ(screen->sellCashAmmount(), QStringLiteral("11500.00"));
    EXPECT_EQ(screen->selectedRow(), 1);

    const QString kept = XRCurrencyDownloader::keptRatesFileName(xr::marketForLanguageIndex(market.languageIndex));
    const std::optional<QByteArray> keptBytes = delegate->dataFiles().applicationDataFromFile(kept);
    ASSERT_TRUE(keptBytes.has_value());
    serve({}, Response::Fault::DropMidBody);
    restart();
    dismissAlert();
    EXPECT_EQ(delegate->dataFiles().applicationDataFromFile(kept), keptBytes) << "a failed load keeps the document";
    EXPECT_EQ(screen->currenciesArray().size(), 2);
    EXPECT_TRUE(find<QPushButton>("pickCurrencyButton")->isEnabled());
    EXPECT_EQ(text("baseDestinationLabel"), QString::fromUtf8(market.soldFor1000));
    EXPECT_EQ(text("lastUpdateLabel"), XRLocalizedString("Could not update the rates. Rates from %1").arg(servedStamp));
    EXPECT_FALSE(statusIsRed());
    xr::test::saveScreenshot(window.get(), shot("offline-kept-rates"));

    ASSERT_TRUE(QDir(delegate->dataFiles().documentsDirectory()).remove(kept));
    restart();
    dismissAlert();
    EXPECT_FALSE(find<QPushButton>("pickCurrencyButton")->isEnabled());
    for (const char *label : {"swiftSourceLabel", "baseDestinationLabel", "baseSourceLabel", "swiftDestinationLabel"})
        EXPECT_EQ(text(label), QString()) << "no zeros when there are no rates";
    EXPECT_EQ(text("lastUpdateLabel"), XRLocalizedString("No rates available. Check your internet connection."));
    EXPECT_TRUE(statusIsRed());
    xr::test::saveScreenshot(window.get(), shot("no-rates"));
}

INSTANTIATE_TEST_SUITE_P(Markets, CustomerWalk, testing::ValuesIn(markets),
                         [](const testing::TestParamInfo<Market> &info) { return std::string(info.param.language); });

TEST_F(CurrencyScreenTest, TheAmountFieldTakesDigitsAndOneMarkAndNoKeyboardLiftsTheView)
{
    show();
    QLineEdit *amount = find<QLineEdit>("amountTF");
    QTest::mouseClick(amount, Qt::LeftButton);
    ASSERT_TRUE(waitUntil([amount] { return amount->hasFocus(); }));
    waitForAnimations(screen->view());
    EXPECT_EQ(screen->view()->y(), 0) << "a desktop has no on-screen keyboard to make room for";

    QTest::keyClicks(amount, QStringLiteral("-12a,5.3 e"));
    EXPECT_EQ(amount->text(), QStringLiteral("12,53"));
    EXPECT_EQ(text("baseDestinationLabel"), QStringLiteral("12,53 SEK"));

    // A paste that breaks the rule is refused whole, not cut to fit.
    const std::pair<const char *, const char *> pastes[] = {{"1234567890123", ""}, {"1,5,0", ""}, {"123456789,12", "123456789,12"}};
    for (const auto &[pasted, kept] : pastes) {
        amount->clear();
        QGuiApplication::clipboard()->setText(QString::fromLatin1(pasted));
        QTest::keySequence(amount, QKeySequence::Paste);
        EXPECT_EQ(amount->text(), QString::fromLatin1(kept)) << pasted;
    }
}

TEST_F(CurrencyScreenTest, AFailedLoadIsRetriedOnActivationAndEveryFiveMinutesWhileTheWindowIsShown)
{
    server.route(QStringLiteral("/ratesxml.asp"), {.body = "<html><body>Server error<br></body></html>"});
    show();
    EXPECT_FALSE(find<QPushButton>("pickCurrencyButton")->isEnabled()) << "no rows yet";
    dismissAlert();

    server.route(QStringLiteral("/ratesxml.asp"), {.body = ratesDocument(servedStamp, swedishRows)});
    XRNotificationCenter::defaultCenter().postNotificationName(UIApplicationDidBecomeActiveNotification);
    ASSERT_TRUE(waitUntil([this] { return !screen->isLoading(); }));
    EXPECT_TRUE(find<QPushButton>("pickCurrencyButton")->isEnabled());

    auto *retry = screen->findChild<QTimer *>(QStringLiteral("ratesRetryTimer"));
    ASSERT_TRUE(retry);
    EXPECT_TRUE(retry->isActive());
    EXPECT_EQ(retry->interval(), 5 * 60 * 1000);
    // The timer's wiring, without waiting five minutes.
    retry->setInterval(0);
    ASSERT_TRUE(waitUntil([this] { return server.requests().size() >= 3; }));
}

TEST_F(CurrencyScreenTest, ALanguageChangeDuringALoadLoadsTheNewMarketWhenItEnds)
{
    LoopbackServer denmark;
    denmark.route(QStringLiteral("/ratesxml.asp"),
                  {.body = ratesDocument(servedStamp, row("USD", "AMERIKANSKE DOLLAR", "6,10", "6,90", "DKK"))});
    XRConfiguration configuration = delegate->configuration();
    // The delegate is remade with Denmark on its own host.
    configuration.marketHosts[1] = QStringLiteral("127.0.0.1:%1").arg(denmark.port());
    delegate = std::make_unique<XRAppDelegate>(configuration, shell.get());
    XRApplication::sharedApplication().setDelegate(delegate.get());
    delegate->currencyDict().insert(QStringLiteral("currentCurrency"),
                                    QVariantMap{{QStringLiteral("swift_code"), QStringLiteral("USD")},
                                                {QStringLiteral("base_swift"), QStringLiteral("SEK")}});

    shell->makeKeyAndVisible();
    ASSERT_TRUE(screen->isLoading());
    // The request goes out once the window has drawn its first frame; the
    // market changes right after it.
    window->afterFirstFrame([] {
        XRUserDefaults::standardUserDefaults().setObject(1, QStringLiteral("language"));
        XRNotificationCenter::defaultCenter().postNotificationName(XRLanguageChangedNotification);
    });
    ASSERT_TRUE(waitUntil([&] { return !denmark.requests().isEmpty() && !screen->isLoading(); }));
    EXPECT_EQ(server.requests().size(), 1);
    EXPECT_EQ(denmark.requests().size(), 1);
    EXPECT_EQ(screen->currenciesArray().size(), 1);
    EXPECT_EQ(screen->baseSwiftCode(), QStringLiteral("DKK")) << "the pick follows the new market's list";
    EXPECT_EQ(screen->selectedRow(), 0);
}

// The mouse wheel turns the currency wheel one row per step, keeps the
// highlight in view and chooses as it turns; the keyboard chooses too and
// Escape slides the wheel away; sell toggles as a screen reader toggles it.
TEST_F(CurrencyScreenTest, TheWheelWorksByMouseWheelKeyboardAndScreenReader)
{
    QByteArray rows;
    for (int i = 0; i < 30; ++i)
        rows += row(QByteArray("C") + QByteArray::number(10 + i), "CURRENCY", "1", "1", "SEK");
    server.route(QStringLiteral("/ratesxml.asp"), {.body = ratesDocument(servedStamp, rows)});
    show();
    QApplication::setActiveWindow(window.get());
    XRPickerPanel *panel = openPicker();
    ASSERT_TRUE(panel);
    EXPECT_TRUE(panel->pickerView()->hasFocus() || panel->pickerView()->focusProxy()->hasFocus());
    QPushButton *pick = find<QPushButton>("pickCurrencyButton");
    auto *list = panel->findChild<QListWidget *>(QStringLiteral("pickerRows"));
    const std::pair<int, int> turns[] = {{-120, 1}, {-360, 4}, {-60, 4}, {-60, 5}, {240, 3}, {-120 * 40, 29}, {120 * 40, 0}};
    for (const auto &[angle, row] : turns) {
        QWheelEvent wheel(QPointF(100, 100), list->viewport()->mapToGlobal(QPointF(100, 100)), {}, QPoint(0, angle),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(list->viewport(), &wheel);
        EXPECT_EQ(panel->pickerView()->selectedRowInComponent(0), row) << angle;
        EXPECT_TRUE(list->viewport()->rect().contains(list->visualItemRect(list->item(row)))) << angle;
        EXPECT_EQ(pick->text(), QStringLiteral("Currency, C%1").arg(10 + row));
    }
    xr::test::saveScreenshot(window.get(), QStringLiteral("currency-wheel-turned"));
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(pick->text(), QStringLiteral("Currency, C11"));
    QTest::keyClick(list, Qt::Key_Escape);
    waitForAnimations(panel);
    EXPECT_TRUE(panel->isHidden());
    EXPECT_TRUE(pick->hasFocus());

    find<QLineEdit>("amountTF")->setText(QStringLiteral("100"));
    const QString bought = text("swiftTransactionLabel");
    QAccessibleInterface *sell = QAccessible::queryAccessibleInterface(find<QPushButton>("sellSegment"));
    ASSERT_TRUE(sell->actionInterface()->actionNames().contains(QAccessibleActionInterface::toggleAction()));
    sell->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(waitUntil([this] { return find<QPushButton>("sellSegment")->isChecked(); }));
    EXPECT_NE(text("swiftTransactionLabel"), bought);
}

} // namespace
