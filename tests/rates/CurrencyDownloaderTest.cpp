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
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.target, "/ratesxml.asp?id=520");
    EXPECT_EQ(request.header("User-Agent"), xr::userAgent().toLatin1());
    EXPECT_TRUE(request.header("User-Agent").startsWith("iPhone-Vaxlo-"));
    int userAgents = 0;
    for (const auto &[name, value] : request.headers)
        userAgents += name.compare("user-agent", Qt::CaseInsensitive) == 0;
    EXPECT_EQ(userAgents, 1);
    EXPECT_TRUE(request.body.isEmpty());
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

TEST_F(CurrencyDownloaderTest, StatusCodeIsNotLookedAt)
{
    sweden.route(QString::fromLatin1(ratesPath), {.status = 500, .body = ratesDocument()});
    load();
    EXPECT_EQ(eventNames(), (QStringList{XRCurrenciesDidEndLoadingNotification, XRCurrenciesDidEndParsingNotification}));
    EXPECT_EQ(downloader->dataDict().value(QStringLiteral("currencies")).toList().size(), 6);
}

TEST_F(CurrencyDownloaderTest, SecondLoadWhileOneRunsIsIgnored)
{
    downloader->loadCurrenciesAndNotify();
    downloader->loadCurrenciesAndNotify();
    ASSERT_TRUE(xr::test::waitUntil([this] { return !downloader->isBusy(); }));
    EXPECT_EQ(ratesRequests(sweden), 1);
    EXPECT_EQ(events.count(), 2);
    EXPECT_EQ(eventNames().count(XRCurrenciesDidEndParsingNotification), 1);

    load();
    EXPECT_EQ(ratesRequests(sweden), 2) << "an idle downloader loads again";
}

TEST_F(CurrencyDownloaderTest, LoadAskedForByAnObserverOfTheOutcomeIsIgnored)
{
    auto &center = XRNotificationCenter::defaultCenter();
    int reloads = 0;
    const auto reload = [&](const XRNotification &) {
        ++reloads;
        downloader->loadCurrenciesAndNotify();
    };
    center.addObserver(&reloads, XRCurrenciesDidEndParsingNotification, reload);
    center.addObserver(&reloads, XRCurrenciesDidFailLoadingNotification, reload);

    load();
    sweden.route(QString::fromLatin1(ratesPath), {.body = "<rates><row>"});
    load();
    center.removeObserver(&reloads);

    EXPECT_EQ(reloads, 2);
    EXPECT_EQ(ratesRequests(sweden), 2);
    EXPECT_FALSE(downloader->isBusy());
    EXPECT_FALSE(XRApplication::sharedApplication().isNetworkActivityIndicatorVisible());
}

TEST_F(CurrencyDownloaderTest, FailedConnectionAlertsAnnouncesAndKeepsThePreviousRates)
{
    load();
    const QVariantMap before = downloader->dataDict();

    sweden.route(QString::fromLatin1(ratesPath), {.body = ratesDocument(), .fault = Response::Fault::DropMidBody});
    xr::test::LogCapture log;
    load();
    EXPECT_EQ(eventNames(), QStringList{XRCurrenciesDidFailLoadingNotification});
    ASSERT_EQ(events.size(), 1);
    EXPECT_TRUE(events[0].busy);
    EXPECT_EQ(events[0].alertsShown, 1) << "the alert comes before the notification";
    EXPECT_EQ(shell.alerts.size(), 1);
    EXPECT_EQ(downloader->dataDict(), before);
    EXPECT_FALSE(XRApplication::sharedApplication().isNetworkActivityIndicatorVisible());
    EXPECT_EQ(log.messages().filter(QStringLiteral("Currency XML Error with theConnection: ")).size(), 1);
}

TEST_F(CurrencyDownloaderTest, MalformedBodyFailsTheLoadAndKeepsThePreviousRates)
{
    load();
    const QVariantMap before = downloader->dataDict();

    sweden.route(QString::fromLatin1(ratesPath),
                 {.body = "<rates><timestamp>2011-05-04 09:00</timestamp><row><swift_code>USD</swift_code></rates>"});
    xr::test::LogCapture log;
    load();
    EXPECT_EQ(eventNames(), (QStringList{XRCurrenciesDidEndLoadingNotification, XRCurrenciesDidFailLoadingNotification}));
    ASSERT_EQ(events.size(), 2);
    EXPECT_TRUE(events[1].busy);
    EXPECT_EQ(events[1].alertsShown, 1) << "the alert comes before the notification";
    EXPECT_EQ(downloader->dataDict(), before);
    EXPECT_FALSE(XRApplication::sharedApplication().isNetworkActivityIndicatorVisible());
    EXPECT_EQ(log.messages().filter(QStringLiteral("Currency XML Parse Error: ")).size(), 1);
}

TEST_F(CurrencyDownloaderTest, FailuresWithinAMinuteShowOneAlertButEachIsAnnounced)
{
    sweden.route(QString::fromLatin1(ratesPath), {.body = "not xml"});
    load();
    now = now.addSecs(30);
    sweden.route(QString::fromLatin1(ratesPath), {.body = ratesDocument(), .fault = Response::Fault::DropMidBody});
    load();
    EXPECT_EQ(shell.alerts.size(), 1);
    EXPECT_EQ(eventNames(), QStringList{XRCurrenciesDidFailLoadingNotification});

    now = now.addSecs(31);
    load();
    EXPECT_EQ(shell.alerts.size(), 2);
    EXPECT_EQ(shell.alerts.last().title, XRLocalizedString("XRNetworkAlertTitle"));
}

} // namespace
