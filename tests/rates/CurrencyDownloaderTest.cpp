#include "VariantMapPrinter.h"
#include "EventLoop.h"
#include "LogCapture.h"
#include "LoopbackServer.h"
#include "RecordingShell.h"
#include "XRAppDelegate.h"
#include "XRApplication.h"
#include "XRCurrencyDownloader.h"
#include "XRLocalizedString.h"
#include "XRMarkets.h"
#include "XRNotificationCenter.h"
#include "XRNotifications.h"
#include "XRUserDefaults.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <array>
#include <memory>

namespace {

using xr::test::LoopbackServer;
using xr::test::Response;

const QByteArray ratesPath = "/ratesxml.asp";

QByteArray ratesDocument()
{
    QFile file(QStringLiteral(XR_TEST_DATA_DIR "/rates-se.xml"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString hostOf(const LoopbackServer &server)
{
    return QStringLiteral("127.0.0.1:%1").arg(server.port());
}

int ratesRequests(const LoopbackServer &server)
{
    int count = 0;
    for (const auto &request : server.requests())
        count += request.target.startsWith(ratesPath);
    return count;
}

// A launched application whose four market hosts are loopback servers, and a
// record of the rates notifications with what the downloader showed at each.
class CurrencyDownloaderTest : public testing::Test
{
protected:
    struct Event
    {
        QString name;
        bool busy;
        bool indicatorVisible;
        qsizetype alertsShown;
    };

    void SetUp() override
    {
        XRUserDefaults::resetStandardUserDefaults();
        QFile::remove(XRUserDefaults::standardUserDefaults().filePath());
        XRUserDefaults::resetStandardUserDefaults();
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
        xr::installTranslations(QStringLiteral("en"));

        XRConfiguration configuration;
        for (size_t market = 0; market < markets.size(); ++market) {
            markets[market].route(QStringLiteral("/branchesxml.aspx"), {}); // the launch's branch list: unchanged
            markets[market].route(QString::fromLatin1(ratesPath), {.body = ratesDocument()});
            configuration.marketHosts[market] = hostOf(markets[market]);
        }
        appDelegate = std::make_unique<XRAppDelegate>(configuration, &shell);
        appDelegate->applicationDidFinishLaunching();
        appDelegate->setClock([this] { return now; });
        XRApplication::sharedApplication().setDelegate(appDelegate.get());
        downloader = std::make_unique<XRCurrencyDownloader>(appDelegate.get());

        for (const QString &name : {XRCurrenciesDidEndLoadingNotification, XRCurrenciesDidEndParsingNotification,
                                    XRCurrenciesDidFailLoadingNotification}) {
            XRNotificationCenter::defaultCenter().addObserver(this, name, [this](const XRNotification &note) {
                events.append({note.name, downloader->isBusy(),
                               XRApplication::sharedApplication().isNetworkActivityIndicatorVisible(),
                               shell.alerts.size()});
            });
        }
    }

    void TearDown() override
    {
        XRNotificationCenter::defaultCenter().removeObserver(this);
        downloader.reset();
        XRApplication::sharedApplication().setDelegate(nullptr);
        appDelegate.reset();
        XRUserDefaults::resetStandardUserDefaults();
    }

    // One load, run until the downloader is idle again.
    void load()
    {
        events.clear();
        downloader->loadCurrenciesAndNotify();
        ASSERT_TRUE(downloader->isBusy());
        ASSERT_TRUE(xr::test::waitUntil([this] { return !downloader->isBusy(); }));
    }

    QStringList eventNames() const
    {
        QStringList names;
        for (const Event &event : events)
            names.append(event.name);
        return names;
    }

    std::array<LoopbackServer, 4> markets;
    LoopbackServer &sweden = markets[0];
    xr::test::RecordingShell shell;
    std::unique_ptr<XRAppDelegate> appDelegate;
    std::unique_ptr<XRCurrencyDownloader> downloader;
    QDateTime now = QDateTime(QDate(2011, 5, 3), QTime(14, 7), Qt::UTC);
    QList<Event> events;
};

TEST_F(CurrencyDownloaderTest, LoadFetchesTheMarketRatesAndAnnouncesReceiptThenParse)
{
    xr::test::LogCapture log;
    downloader->loadCurrenciesAndNotify();
    EXPECT_TRUE(downloader->isBusy());
    EXPECT_TRUE(XRApplication::sharedApplication().isNetworkActivityIndicatorVisible());
    ASSERT_TRUE(xr::test::waitUntil([this] { return !downloader->isBusy(); }));

    EXPECT_EQ(eventNames(), (QStringList{XRCurrenciesDidEndLoadingNotification, XRCurrenciesDidEndParsingNotification}));
    for (const Event &event : events) {
        EXPECT_TRUE(event.busy) << event.name.toStdString();
        EXPECT_TRUE(event.indicatorVisible) << event.name.toStdString();
    }
    EXPECT_FALSE(XRApplication::sharedApplication().isNetworkActivityIndicatorVisible());
    EXPECT_EQ(downloader->dataDict().value(QStringLiteral("currencies")).toList().size(), 6);
    EXPECT_EQ(downloader->dataDict().value(QStringLiteral("timestamp")), QStringLiteral("2011-05-03 14:07"));
    EXPECT_TRUE(shell.alerts.isEmpty());

    ASSERT_EQ(ratesRequests(sweden), 1);
    xr::test::ReceivedRequest request;
    for (const auto &received : sweden.requests()) {
        if (received.target.startsWith(ratesPath))
            request = received;
    }
    EXPECT_EQ(request.method + ' ' + request.target + ' ' + request.header("User-Agent") + ' ' + request.body,
              "GET /ratesxml.asp?id=520 " + xr::userAgent().toLatin1() + ' ');
    EXPECT_TRUE(log.contains(QStringLiteral("loading list of currencies for URL: http://%1/ratesxml.asp?id=520")
                                 .arg(hostOf(sweden))));
}

TEST_F(CurrencyDownloaderTest, StoredLanguageIndexChoosesTheMarketAtEveryLoad)
{
    const struct
    {
        int index;
        size_t market;
    } cases[] = {{1, 1}, {2, 2}, {3, 3}, {0, 0}, {4, 0}, {-1, 0}};
    for (const auto &c : cases) {
        XRUserDefaults::standardUserDefaults().setObject(c.index, QStringLiteral("language"));
        std::array<int, 4> before;
        for (size_t market = 0; market < markets.size(); ++market)
            before[market] = ratesRequests(markets[market]);
        load();
        for (size_t market = 0; market < markets.size(); ++market)
            EXPECT_EQ(ratesRequests(markets[market]) - before[market], market == c.market ? 1 : 0)
                << "index " << c.index << ", market " << market;
    }
}

// Asked for twice in a row, and by observers of either outcome, who hear of
// it while the load is still busy: one transfer each time.
TEST_F(CurrencyDownloaderTest, LoadsAskedForWhileOneRunsAreIgnored)
{
    auto &center = XRNotificationCenter::defaultCenter();
    int reloads = 0;
    const auto reload = [&](const XRNotification &) {
        ++reloads;
        downloader->loadCurrenciesAndNotify();
    };
    center.addObserver(&reloads, XRCurrenciesDidEndParsingNotification, reload);
    center.addObserver(&reloads, XRCurrenciesDidFailLoadingNotification, reload);

    downloader->loadCurrenciesAndNotify();
    load();
    EXPECT_EQ(ratesRequests(sweden), 1);
    EXPECT_EQ(events.count(), 2);
    sweden.route(QString::fromLatin1(ratesPath), {.body = "<rates><row>"});
    load();
    center.removeObserver(&reloads);

    EXPECT_EQ(reloads, 2);
    EXPECT_EQ(ratesRequests(sweden), 2) << "an idle downloader loads again";
    EXPECT_FALSE(downloader->isBusy());
}

// Only a 2xx answer whose body parses replaces the rates. Any other ends the
// load as failed, with one line in the log, the alert before the failure is
// announced, and the last good rates kept.
TEST_F(CurrencyDownloaderTest, OnlyAGoodStatusWithAWellFormedBodyReplacesTheRates)
{
    const QByteArray newRates = ratesDocument().replace("2011-05-03 14:07", "2011-05-04 09:00");
    const QByteArray broken = "<rates><timestamp>2011-05-04 09:00</timestamp><row><swift_code>USD</swift_code></rates>";
    const QByteArray errorPage = "<html><body><h1>Service Unavailable</h1></body></html>";
    const char *statusError = "Currency XML Error with HTTP status: ";
    const char *parseError = "Currency XML Parse Error: ";
    const struct
    {
        Response response;
        const char *logged; // the failure's log line; none when the rates are replaced
    } cases[] = {
        {{.status = 404, .body = newRates}, statusError},
        {{.status = 500, .body = errorPage}, statusError},
        {{.status = 503, .body = newRates}, statusError},
        {{.status = 503, .body = broken}, statusError},
        {{.status = 304}, statusError},
        {{.body = broken}, parseError},
        {{.body = newRates, .fault = Response::Fault::DropMidBody}, "Currency XML Error with theConnection: "},
        {{.body = newRates}, nullptr},
        {{.status = 203, .body = newRates}, nullptr},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.response.status << " " << c.response.body.left(40).constData());
        sweden.route(QString::fromLatin1(ratesPath), {.body = ratesDocument()});
        load();
        const QVariantMap before = downloader->dataDict();
        sweden.route(QString::fromLatin1(ratesPath), c.response);
        now = now.addSecs(61); // past the alert's minute
        const qsizetype alertsBefore = shell.alerts.size();
        xr::test::LogCapture log;

        load();
        if (!c.logged) {
            EXPECT_EQ(eventNames(), (QStringList{XRCurrenciesDidEndLoadingNotification, XRCurrenciesDidEndParsingNotification}));
            EXPECT_NE(downloader->dataDict(), before);
            EXPECT_EQ(shell.alerts.size(), alertsBefore);
        } else {
            ASSERT_FALSE(events.isEmpty());
            EXPECT_EQ(events.last().name, XRCurrenciesDidFailLoadingNotification);
            EXPECT_EQ(events.size(), c.response.fault == Response::Fault::None ? 2 : 1) << "the body's arrival first";
            EXPECT_TRUE(events.last().busy);
            EXPECT_EQ(events.last().alertsShown, alertsBefore + 1) << "the alert comes before the notification";
            EXPECT_EQ(downloader->dataDict(), before);
            EXPECT_EQ(log.messages().filter(QString::fromLatin1(c.logged)).size(), 1);
        }
        EXPECT_FALSE(XRApplication::sharedApplication().isNetworkActivityIndicatorVisible());
    }
}

} // namespace
