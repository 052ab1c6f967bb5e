#include "EventLoop.h"
#include "LogCapture.h"
#include "LoopbackServer.h"
#include "RecordingShell.h"
#include "StoresTestSupport.h"
#include "XRAppDelegate.h"
#include "XRMarkets.h"
#include "XRNotifications.h"
#include "XRStoreLocatorDownloader.h"

#include <QPointer>
#include <QSize>
#include <gtest/gtest.h>

namespace {

using xr::test::LoopbackServer;
using xr::test::NotificationCounter;
using xr::test::Response;

const QString branchPath = QStringLiteral("/branchesxml.aspx");

QByteArray branchDocument(const QByteArray &storeName)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><branches><updated>2026-11-02</updated><locations>"
           "<location><id>SE.1</id><name>" + storeName + "</name><city>Stockholm</city>"
           "<latitude>59.3326</latitude><longitude>18.0649</longitude></location></locations></branches>";
}

QString storedEtag()
{
    return XRUserDefaults::standardUserDefaults().stringForKey(QStringLiteral("storeEtag"));
}

class StoreLocatorDownloaderTest : public testing::Test
{
protected:
    void SetUp() override
    {
        xr::test::resetStoredState();
        XRUserDefaults::standardUserDefaults().setObject(0, QStringLiteral("language"));
        configuration.marketHosts = {host(sweden), host(denmark), host(sweden), host(sweden)};
    }
    void TearDown() override { XRUserDefaults::resetStandardUserDefaults(); }

    static QString host(const LoopbackServer &server) { return QStringLiteral("127.0.0.1:%1").arg(server.port()); }

    // The store names of the stored branch dictionary.
    QStringList storedNames(XRAppDelegate &delegate) const
    {
        QStringList names;
        const QVariantMap branches = delegate.settingsDict().value(QStringLiteral("storesDict")).toMap();
        for (const QVariant &store : branches.value(QStringLiteral("stores")).toList())
            names << store.toMap().value(QStringLiteral("name")).toString();
        return names;
    }

    // One complete load through the delegate: the list "First" with the tag "v1".
    void loadFirstList(XRAppDelegate &delegate)
    {
        sweden.route(branchPath, {.body = branchDocument("First"), .etag = "\"v1\""});
        NotificationCounter parsed(XRStoresDidEndParsingNotification);
        delegate.loadCurrentStoreList();
        ASSERT_TRUE(xr::test::waitUntil([&] { return parsed.count == 1; }));
        ASSERT_EQ(storedNames(delegate), QStringList{QStringLiteral("First")});
        ASSERT_EQ(storedEtag(), QStringLiteral("\"v1\""));
    }

    static QByteArray settingsFileBytes()
    {
        QFile file(xr::test::documentsFolder() + QStringLiteral("/settings.vaxlodata"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    LoopbackServer sweden;
    LoopbackServer denmark;
    XRConfiguration configuration;
    xr::test::RecordingShell shell;
};

TEST_F(StoreLocatorDownloaderTest, FirstLoadAsksForTheWholeListAndStoresIt)
{
    sweden.route(branchPath, {.body = branchDocument("Drottninggatan"), .etag = "\"v1\"", .gzip = true});
    XRAppDelegate delegate(configuration, &shell);
    NotificationCounter loaded(XRStoreLocatorListDidEndLoadingNotification);
    // The file is written before the list is announced.
    QByteArray fileWhenAnnounced;
    NotificationCounter parsed(XRStoresDidEndParsingNotification, [&] { fileWhenAnnounced = settingsFileBytes(); });
    xr::test::LogCapture log;
    delegate.displayLoadingSplash();

    delegate.loadCurrentStoreList();
    ASSERT_NE(delegate.storeLocator()->theConnection(), nullptr);
    EXPECT_EQ(delegate.storeLocator()->theConnection()->originalRequest().timeoutInterval(), 15.0);
    ASSERT_TRUE(xr::test::waitUntil([&] { return parsed.count == 1; }));

    const xr::test::ReceivedRequest request = sweden.requests().value(0);
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.target, "/branchesxml.aspx?datetest=1");
    EXPECT_TRUE(request.header("If-None-Match").isNull());
    EXPECT_EQ(request.header("Accept-Encoding"), "gzip");
    EXPECT_EQ(request.header("User-Agent"), xr::userAgent().toLatin1());
    EXPECT_TRUE(log.contains(QStringLiteral("loading stores from XML at: http://%1/branchesxml.aspx?datetest=1")
                                 .arg(host(sweden))));

    // The server compressed the body; the parser saw it decoded.
    EXPECT_EQ(storedNames(delegate), QStringList{QStringLiteral("Drottninggatan")});
    EXPECT_EQ(delegate.settingsDict().value(QStringLiteral("storesDict")).toMap().value(QStringLiteral("updated")),
              QStringLiteral("2026-11-02"));
    EXPECT_EQ(loaded.count, 1);
    EXPECT_EQ(storedEtag(), QStringLiteral("\"v1\""));
    EXPECT_FALSE(shell.splashShown);
    EXPECT_TRUE(shell.alerts.isEmpty());

    XRAppDelegate relaunched(configuration);
    const std::optional<QVariant> stored = relaunched.applicationPlistFromFile(QStringLiteral("settings.vaxlodata"));
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->toMap(), delegate.settingsDict());
    EXPECT_EQ(fileWhenAnnounced, settingsFileBytes());

    // One downloader serves one load.
    delegate.storeLocator()->loadStoresAndNotify();
    EXPECT_TRUE(delegate.storeLocator()->isBusy());
    EXPECT_EQ(delegate.storeLocator()->theConnection(), nullptr);
}

TEST_F(StoreLocatorDownloaderTest, ATagWithoutAStoredListIsNotSent)
{
    // The tag outlived the settings file: asking with it would only bring empty bodies.
    XRUserDefaults::standardUserDefaults().setObject(QStringLiteral("\"v1\""), QStringLiteral("storeEtag"));
    sweden.route(branchPath, {.body = branchDocument("First"), .etag = "\"v1\""});
    XRAppDelegate delegate(configuration, &shell);
    NotificationCounter parsed(XRStoresDidEndParsingNotification);

    delegate.loadCurrentStoreList();
    ASSERT_TRUE(xr::test::waitUntil([&] { return parsed.count == 1; }));
    EXPECT_TRUE(sweden.requests().value(0).header("If-None-Match").isNull());
    EXPECT_EQ(storedNames(delegate), QStringList{QStringLiteral("First")});
}

// Only a 200 answer holding a list of stores replaces the list and its tag.
// The others, in this order, leave both as they were: a 503 page and then a
// 304 to the old tag keep the old list, and a changed list is still fetched.
TEST_F(StoreLocatorDownloaderTest, OnlyAListOfStoresReplacesTheListAndItsTag)
{
    enum Outcome { Unchanged, NetworkAlert, ParseError };
    const QByteArray maintenancePage = "<html><body><p>Closed for maintenance</p></body></html>";
    const QByteArray errorPage = "<html><body><h1>Server Error</h1><br></body></html>";
    const QByteArray newList = branchDocument("Second");
    const QByteArray brokenList = newList.chopped(20);
    const struct
    {
        const char *what;
        Response response;
        Outcome outcome;
    } cases[] = {
        {"503, well-formed page", {.status = 503, .body = maintenancePage, .etag = "\"v2\""}, NetworkAlert},
        {"304 for the tag", {.body = branchDocument("First"), .etag = "\"v1\""}, Unchanged},
        {"empty body for the tag", {.body = branchDocument("First"), .etag = "\"v1\"", .notModified = Response::NotModified::EmptyBody200}, Unchanged},
        {"empty body with a new tag", {.etag = "\"v2\""}, Unchanged},
        {"503, branch document", {.status = 503, .body = newList, .etag = "\"v2\""}, NetworkAlert},
        {"500, broken page", {.status = 500, .body = errorPage, .etag = "\"v2\""}, NetworkAlert},
        {"404, branch document", {.status = 404, .body = newList, .etag = "\"v2\""}, NetworkAlert},
        {"404, broken document", {.status = 404, .body = brokenList, .etag = "\"v2\""}, NetworkAlert},
        {"404, empty body", {.status = 404, .etag = "\"v2\""}, NetworkAlert},
        {"200, well-formed page without stores", {.body = maintenancePage, .etag = "\"v2\""}, NetworkAlert},
        {"200, broken document", {.body = brokenList, .etag = "\"v2\""}, ParseError},
        {"connection drops mid-body", {.body = newList, .etag = "\"v2\"", .fault = Response::Fault::DropMidBody}, NetworkAlert},
        {"gzip stream cut short", {.body = newList, .etag = "\"v2\"", .fault = Response::Fault::TruncatedGzip}, NetworkAlert},
    };
    XRAppDelegate delegate(configuration, &shell);
    QDateTime now = QDateTime::currentDateTimeUtc();
    delegate.setClock([&] { return now; });
    loadFirstList(delegate);
    const QByteArray fileBefore = settingsFileBytes();

    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        sweden.route(branchPath, c.response);
        NotificationCounter parsed(XRStoresDidEndParsingNotification);
        xr::test::LogCapture log;
        const qsizetype alertsBefore = shell.alerts.size();
        now = now.addSecs(61); // past the alert's minute
        delegate.displayLoadingSplash();

        delegate.loadCurrentStoreList();
        ASSERT_TRUE(xr::test::waitUntil([&] { return delegate.storeLocator()->theConnection() == nullptr; }));
        EXPECT_EQ(sweden.requests().last().header("If-None-Match"), "\"v1\"");
        EXPECT_EQ(parsed.count, c.outcome == Unchanged ? 1 : 0);
        EXPECT_EQ(storedEtag(), QStringLiteral("\"v1\""));
        EXPECT_EQ(storedNames(delegate), QStringList{QStringLiteral("First")});
        EXPECT_EQ(settingsFileBytes(), fileBefore);
        EXPECT_FALSE(shell.splashShown);
        EXPECT_EQ(shell.alerts.size() - alertsBefore, c.outcome == NetworkAlert ? 1 : 0);
        EXPECT_EQ(log.count(QStringLiteral("Store Locator XML empty, using stored settings")), c.outcome == Unchanged ? 1 : 0);
        EXPECT_EQ(log.messages().filter(QStringLiteral("Store XML Parse Error: ")).size(), c.outcome == ParseError ? 1 : 0);
    }

    sweden.route(branchPath, {.body = newList, .etag = "\"v2\""});
    NotificationCounter parsed(XRStoresDidEndParsingNotification);
    delegate.loadCurrentStoreList();
    ASSERT_TRUE(xr::test::waitUntil([&] { return parsed.count == 1; }));
    EXPECT_EQ(storedNames(delegate), QStringList{QStringLiteral("Second")});
    EXPECT_EQ(storedEtag(), QStringLiteral("\"v2\""));
}

// A list that reached the screen but not the settings file keeps no tag, so
// that after a restart the list in the file is not taken for current.
TEST_F(StoreLocatorDownloaderTest, AListThatCannotBeSavedKeepsNoTag)
{
    XRAppDelegate delegate(configuration, &shell);
    loadFirstList(delegate);
    const QByteArray fileBefore = settingsFileBytes();
    delegate.settingsDict().insert(QStringLiteral("unsaveable"), QSize(1, 1));

    sweden.route(branchPath, {.body = branchDocument("Second"), .etag = "\"v2\""});
    NotificationCounter parsed(XRStoresDidEndParsingNotification);
    xr::test::LogCapture log;
    delegate.loadCurrentStoreList();
    ASSERT_TRUE(xr::test::waitUntil([&] { return parsed.count == 1; }));
    EXPECT_TRUE(log.contains(QStringLiteral("Error saving settings")));
    EXPECT_EQ(storedNames(delegate), QStringList{QStringLiteral("Second")});
    EXPECT_EQ(settingsFileBytes(), fileBefore);
    EXPECT_EQ(storedEtag(), QStringLiteral("\"v1\""));
}

TEST_F(StoreLocatorDownloaderTest, BackToBackLoadsBothCompleteAndAnnounce)
{
    sweden.route(branchPath, {.body = branchDocument("First"), .etag = "\"v1\""});
    XRAppDelegate delegate(configuration, &shell);
    NotificationCounter parsed(XRStoresDidEndParsingNotification);

    delegate.loadCurrentStoreList();
    const QPointer<XRStoreLocatorDownloader> dropped = delegate.storeLocator();
    delegate.loadCurrentStoreList();
    EXPECT_NE(delegate.storeLocator(), dropped.data());

    ASSERT_TRUE(xr::test::waitUntil([&] { return parsed.count == 2; }));
    EXPECT_EQ(sweden.requests().size(), 2);
    EXPECT_EQ(storedNames(delegate), QStringList{QStringLiteral("First")});
    // The dropped downloader goes once its transfer has ended; the latest stays.
    ASSERT_TRUE(xr::test::waitUntil([&] { return dropped.isNull(); }));
    EXPECT_NE(delegate.storeLocator(), nullptr);
}

TEST_F(StoreLocatorDownloaderTest, ALoadDroppedFromInsideItsOwnAnnouncementIsSafe)
{
    // The store list asks for a new load when it finds no stores, from inside
    // the announcement of the load that is still finishing.
    sweden.route(branchPath, {.body = "<branches><locations/></branches>", .etag = "\"v0\""});
    XRAppDelegate delegate(configuration, &shell);
    int loads = 0;
    NotificationCounter parsed(XRStoresDidEndParsingNotification, [&] {
        if (++loads < 3)
            delegate.loadCurrentStoreList();
    });
    delegate.loadCurrentStoreList();
    ASSERT_TRUE(xr::test::waitUntil([&] { return parsed.count == 3; }));
    EXPECT_EQ(sweden.requests().size(), 3);
}

TEST_F(StoreLocatorDownloaderTest, AListOfAMarketNoLongerChosenIsNeitherStoredNorAnnounced)
{
    sweden.route(branchPath, {.body = branchDocument("Stockholm store"), .etag = "\"se\""});
    denmark.route(branchPath, {.body = branchDocument("Copenhagen store"), .etag = "\"dk\""});
    XRAppDelegate delegate(configuration, &shell);
    delegate.setLocationManager(xr::test::silentLocationManager());
    delegate.applicationDidFinishLaunching(); // loads the Swedish list
    NotificationCounter parsed(XRStoresDidEndParsingNotification);
    xr::test::LogCapture log;

    // The user picks Danish before the Swedish answer has been read.
    XRUserDefaults::standardUserDefaults().setObject(1, QStringLiteral("language"));
    XRNotificationCenter::defaultCenter().postNotificationName(XRLanguageChangedNotification);

    ASSERT_TRUE(xr::test::waitUntil([&] {
        return parsed.count == 1 && log.contains(QStringLiteral("Store list of a market no longer chosen dropped: SE"));
    }));
    EXPECT_EQ(sweden.requests().size(), 1);
    EXPECT_EQ(storedNames(delegate), QStringList{QStringLiteral("Copenhagen store")});
    EXPECT_EQ(storedEtag(), QStringLiteral("\"dk\""));
    xr::test::drainEvents();
    EXPECT_EQ(parsed.count, 1);
}

TEST_F(StoreLocatorDownloaderTest, CancelStopsTheTransferAndSaysSo)
{
    sweden.route(branchPath, {.body = branchDocument("First"), .delay = std::chrono::seconds(5)});
    XRAppDelegate delegate(configuration, &shell);
    NotificationCounter cancelled(XRConnectionDidCancelNotification);
    delegate.displayLoadingSplash();
    delegate.loadCurrentStoreList();
    ASSERT_TRUE(xr::test::waitUntil([&] { return !sweden.requests().isEmpty(); }));

    delegate.storeLocator()->cancelConnection();
    EXPECT_EQ(cancelled.count, 1);
    EXPECT_EQ(delegate.storeLocator()->theConnection(), nullptr);
    EXPECT_FALSE(shell.splashShown);
    EXPECT_FALSE(delegate.settingsDict().contains(QStringLiteral("storesDict")));
}

} // namespace
