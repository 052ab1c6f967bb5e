#include "EventLoop.h"
#include "LaunchedApplication.h"
#include "LoopbackServer.h"
#include "Screenshots.h"
#include "XRAlertView.h"
#include "XRCurrencyDownloader.h"
#include "XRCurrencyViewController.h"
#include "XRNotificationCenter.h"
#include "XRNotifications.h"
#include "XRPickerButtonPanel.h"
#include "XRPickerPanel.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <algorithm>

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

// The currency screen as the one tab, every market on one loopback host that
// also lists one store, so that the launch's store list raises no alert.
class CurrencyScreenTest : public testing::Test, public xr::test::LaunchedApplication
{
protected:
    void SetUp() override
    {
        serve(row("USD", "US DOLLAR", "8,10", "8,50", "SEK") + row("JPY", "JAPANSKA YEN", "6,10", "7,40", "SEK"));
        server.route(QStringLiteral("/branchesxml.aspx"),
                     {.body = "<branches><locations><location><id>SE.1</id><name>Växlo</name></location></locations></branches>"});
        configuration.marketHosts.fill(QStringLiteral("127.0.0.1:%1").arg(server.port()));
    }
    void TearDown() override { close(); }

    void serve(const QByteArray &rows, Response::Fault fault = Response::Fault::None)
    {
        const QByteArray document = "<?xml version=\"1.0\" encoding=\"utf-8\"?><rates><timestamp>" +
                                    servedStamp.toUtf8() + "</timestamp>" + rows + "</rates>";
        server.route(QStringLiteral("/ratesxml.asp"), {.body = document, .fault = fault});
    }

    void firstLaunch(int languageIndex = 0, const char *language = "en")
    {
        LaunchedApplication::firstLaunch(languageIndex, QString::fromLatin1(language), currencyTab);
    }
    void waitForRates() { ASSERT_TRUE(waitUntil([this] { return !screen->isLoading(); })); }
    // The application closed and started again with what it saved.
    void restart()
    {
        delegate->applicationDidEnterBackground();
        close();
        launch(currencyTab);
        waitForRates();
    }

    static qsizetype ratesAsked(const LoopbackServer &host)
    {
        const QList<xr::test::ReceivedRequest> requests = host.requests();
        return std::count_if(requests.begin(), requests.end(), [](const auto &r) { return r.target.startsWith("/ratesxml"); });
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
    QPushButton *pickButton() const { return find<QPushButton>("pickCurrencyButton"); }
    QString text(const char *label) const { return find<QLabel>(label)->text(); }
    bool statusIsRed() const { return find<QLabel>("lastUpdateLabel")->styleSheet().contains(QStringLiteral("red")); }
    void waitForAnimations() const { ASSERT_TRUE(xr::test::waitForAnimations(window.get())); }

    const QString servedStamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    LoopbackServer server;
    XRCurrencyViewController *screen = nullptr;
    const MakeTabs currencyTab = [this](XRWindow *window) {
        auto *tabs = new XRTabBarController(window);
        tabs->setViewControllers({screen = new XRCurrencyViewController});
        return tabs;
    };
};

struct Market
{
    int languageIndex;
    const char *language;
    QByteArray home;
    const char *chooseCurrency;
    const char *soldFor1000;  // 1000 dollars at a buying rate of 10,80
};

const Market markets[] = {
    {0, "sv", "SEK", "Välj valuta, SEK", "10\u00a0800,00 SEK"},
    {1, "da", "DKK", "Vælg valuta, DKK", "10.800,00 DKK"},
    {2, "nb", "NOK", "Velg valuta, NOK", "10\u00a0800,00 NOK"},
    {3, "fi", "EUR", "Valitse valuutta, EUR", "10\u00a0800,00 EUR"},
};

void PrintTo(const Market &market, std::ostream *out)
{
    *out << market.language;
}

class CustomerWalk : public CurrencyScreenTest, public testing::WithParamInterface<Market>
{
};

// First start and 1000 dollars picked and sold, then two restarts with the network
// down: with the rates kept from the last start, and with none; then the
// network is back.
TEST_P(CustomerWalk, ConvertsInTheMarketsFormKeepsTheRatesOfflineAndRetriesUntilTheyLoad)
{
    const Market &market = GetParam();
    const auto shot = [&market](const char *name) { return QStringLiteral("currency-%1-%2").arg(market.language, name); };
    serve(row("USD", "US DOLLAR", "10,80", "11,5", market.home));
    firstLaunch(market.languageIndex, market.language);
    EXPECT_FALSE(pickButton()->isEnabled()) << "while the rates load";
    EXPECT_EQ(text("lastUpdateLabel"), XRLocalizedString("Loading data..."));
    waitForRates();
    EXPECT_EQ(pickButton()->text(), QString::fromUtf8(market.chooseCurrency));
    EXPECT_TRUE(text("lastUpdateLabel").startsWith(XRLocalizedString("Last update") + u' ' + servedStamp));
    EXPECT_FALSE(statusIsRed());
    xr::test::saveScreenshot(window.get(), shot("first-start"));

    QTest::mouseClick(pickButton(), Qt::LeftButton);
    waitForAnimations();
    screen->pickerPanel()->pickerView()->chooseRow(0);
    QTest::mouseClick(screen->pickerPanel()->pickerButtonPanel()->doneButton(), Qt::LeftButton);
    QTest::mouseClick(find<QPushButton>("sellSegment"), Qt::LeftButton);
    QTest::mouseClick(find<QLineEdit>("amountTF"), Qt::LeftButton);
    QTest::keyClicks(find<QLineEdit>("amountTF"), QStringLiteral("1000"));
    // A click on the background ends the editing, which saves the amount.
    QTest::mouseClick(screen->view(), Qt::LeftButton, {}, QPoint(300, 400));
    EXPECT_EQ(text("baseDestinationLabel"), QString::fromUtf8(market.soldFor1000));
    xr::test::saveScreenshot(window.get(), shot("sold-1000"));

    const QString kept = XRCurrencyDownloader::keptRatesFileName(xr::marketForLanguageIndex(market.languageIndex));
    const std::optional<QByteArray> keptBytes = delegate->dataFiles().applicationDataFromFile(kept);
    ASSERT_TRUE(keptBytes.has_value());
    serve({}, Response::Fault::DropMidBody);
    restart();
    dismissAlert();
    EXPECT_EQ(delegate->dataFiles().applicationDataFromFile(kept), keptBytes) << "a failed load keeps the document";
    EXPECT_TRUE(pickButton()->isEnabled());
    EXPECT_EQ(text("baseDestinationLabel"), QString::fromUtf8(market.soldFor1000)) << "pick, amount and sale kept";
    EXPECT_EQ(text("lastUpdateLabel"), XRLocalizedString("Could not update the rates. Rates from %1").arg(servedStamp));
    EXPECT_FALSE(statusIsRed());
    xr::test::saveScreenshot(window.get(), shot("offline-kept-rates"));

    ASSERT_TRUE(QDir(delegate->dataFiles().documentsDirectory()).remove(kept));
    restart();
    dismissAlert();
    EXPECT_FALSE(pickButton()->isEnabled());
    for (const char *label : {"swiftSourceLabel", "baseDestinationLabel", "baseSourceLabel", "swiftDestinationLabel"})
        EXPECT_EQ(text(label), QString()) << "no zeros when there are no rates";
    EXPECT_EQ(text("lastUpdateLabel"), XRLocalizedString("No rates available. Check your internet connection."));
    EXPECT_TRUE(statusIsRed());
    xr::test::saveScreenshot(window.get(), shot("no-rates"));

    // The next activation loads again, and while the window shows the rates
    // are asked for every five minutes.
    serve(row("USD", "US DOLLAR", "10,80", "11,5", market.home));
    XRNotificationCenter::defaultCenter().postNotificationName(UIApplicationDidBecomeActiveNotification);
    waitForRates();
    EXPECT_TRUE(pickButton()->isEnabled());
    auto *retry = screen->findChild<QTimer *>(QStringLiteral("ratesRetryTimer"));
    ASSERT_TRUE(retry && retry->isActive());
    EXPECT_EQ(retry->interval(), 5 * 60 * 1000);
    // The timer's wiring, without waiting five minutes.
    const qsizetype asked = ratesAsked(server);
    retry->setInterval(0);
    ASSERT_TRUE(waitUntil([&] { return ratesAsked(server) > asked; }));
}

INSTANTIATE_TEST_SUITE_P(Markets, CustomerWalk, testing::ValuesIn(markets),
                         [](const testing::TestParamInfo<Market> &info) { return std::string(info.param.language); });

TEST_F(CurrencyScreenTest, TheAmountFieldTakesDigitsAndOneMarkAndNoKeyboardLiftsTheView)
{
    firstLaunch();
    waitForRates();
    QLineEdit *amount = find<QLineEdit>("amountTF");
    QTest::mouseClick(amount, Qt::LeftButton);
    ASSERT_TRUE(waitUntil([amount] { return amount->hasFocus(); }));
    waitForAnimations();
    EXPECT_EQ(screen->view()->y(), 0) << "a desktop has no on-screen keyboard to make room for";

    QTest::keyClicks(amount, QStringLiteral("-12a,5.3 e"));
    EXPECT_EQ(amount->text(), QStringLiteral("12,53"));
    EXPECT_EQ(text("baseDestinationLabel"), QStringLiteral("12,53 SEK"));

    // A paste that breaks the rule is refused whole, not cut to fit.
    amount->clear();
    QGuiApplication::clipboard()->setText(QStringLiteral("1234567890123"));
    QTest::keySequence(amount, QKeySequence::Paste);
    EXPECT_EQ(amount->text(), QString());
}

TEST_F(CurrencyScreenTest, ALanguageChangeDuringALoadLoadsTheNewMarketWhenItEnds)
{
    LoopbackServer denmark;
    const QByteArray danishRates = "<rates><timestamp>" + servedStamp.toUtf8() + "</timestamp>" +
                                   row("USD", "US DOLLAR", "6,10", "6,90", "DKK") + "</rates>";
    denmark.route(QStringLiteral("/ratesxml.asp"), {.body = danishRates});
    configuration.marketHosts[1] = QStringLiteral("127.0.0.1:%1").arg(denmark.port());
    firstLaunch();
    // A Swedish pick kept from an earlier start.
    delegate->currencyDict().insert(QStringLiteral("currentCurrency"),
                                    QVariantMap{{QStringLiteral("swift_code"), QStringLiteral("USD")},
                                                {QStringLiteral("base_swift"), QStringLiteral("SEK")}});
    ASSERT_TRUE(screen->isLoading());
    // The request goes out once the window has drawn its first frame; the
    // market changes right after it.
    window->afterFirstFrame([] {
        XRUserDefaults::standardUserDefaults().setObject(1, QStringLiteral("language"));
        XRNotificationCenter::defaultCenter().postNotificationName(XRLanguageChangedNotification);
    });
    ASSERT_TRUE(waitUntil([&] { return ratesAsked(denmark) > 0 && !screen->isLoading(); }));
    EXPECT_EQ(ratesAsked(server), 1);
    EXPECT_EQ(ratesAsked(denmark), 1);
    EXPECT_EQ(screen->currenciesArray().size(), 1);
    EXPECT_EQ(screen->baseSwiftCode(), QStringLiteral("DKK")) << "the pick follows the new market's list";
    EXPECT_EQ(screen->selectedRow(), 0);
}

// The mouse wheel turns the currency wheel one row per step, keeps the
// highlight in view and chooses as it turns; sell toggles as a screen reader
// toggles it.
TEST_F(CurrencyScreenTest, TheWheelTurnsByMouseWheelAndSellTogglesByScreenReader)
{
    QByteArray rows;
    for (int i = 0; i < 30; ++i)
        rows += row(QByteArray("C") + QByteArray::number(10 + i), "CURRENCY", "1", "1", "SEK");
    serve(rows);
    firstLaunch();
    waitForRates();
    QApplication::setActiveWindow(window.get());
    QTest::mouseClick(pickButton(), Qt::LeftButton);
    waitForAnimations();
    XRPickerPanel *panel = screen->pickerPanel();
    ASSERT_TRUE(panel);
    EXPECT_EQ(panel->geometry(), QRect(0, 220, 320, 261));
    auto *list = panel->findChild<QListWidget *>(QStringLiteral("pickerRows"));
    const std::pair<int, int> turns[] = {{-120, 1}, {-360, 4}, {-60, 4}, {-60, 5}, {240, 3}, {-120 * 40, 29}, {120 * 40, 0}};
    for (const auto &[angle, row] : turns) {
        QWheelEvent wheel(QPointF(100, 100), list->viewport()->mapToGlobal(QPointF(100, 100)), {}, QPoint(0, angle),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(list->viewport(), &wheel);
        EXPECT_EQ(panel->pickerView()->selectedRowInComponent(0), row) << angle;
        EXPECT_TRUE(list->viewport()->rect().contains(list->visualItemRect(list->item(row)))) << angle;
        EXPECT_EQ(pickButton()->text(), QStringLiteral("Currency, C%1").arg(10 + row));
    }
    xr::test::saveScreenshot(window.get(), QStringLiteral("currency-wheel-turned"));

    find<QLineEdit>("amountTF")->setText(QStringLiteral("100"));
    const QString bought = text("swiftTransactionLabel");
    QAccessibleInterface *sell = QAccessible::queryAccessibleInterface(find<QPushButton>("sellSegment"));
    sell->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(waitUntil([this] { return find<QPushButton>("sellSegment")->isChecked(); }));
    EXPECT_NE(text("swiftTransactionLabel"), bought);
}

} // namespace
