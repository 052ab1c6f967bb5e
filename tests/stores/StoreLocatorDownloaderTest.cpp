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

    // One first load through the delegate, compressed on the way: the list
    // "First" with the tag "v1", in the settings file before it is announced.
    void loadFirstList(XRAppDelegate &delegate)
    {
        sweden.route(branchPath, {.body = branchDocument("First"), .etag = "\"v1\"", .gzip = true});
        QByteArray fileWhenAnnounced;
        NotificationCounter parsed(XRStoresDidEndParsingNotification, [&] { fileWhenAnnounced = settingsFileBytes(); });
        delegate.displayLoadingSplash();
        delegate.loadCurrentStoreList();
        EXPECT_EQ(delegate.storeLocator()->theConnection()->originalRequest().timeoutInterval(), 15.0);
        ASSERT_TRUE(xr::test::waitUntil([&] { return parsed.count == 1; }));

        const xr::test::ReceivedRequest request = sweden.requests().last();
        EXPECT_EQ(request.method + ' ' + request.target + ' ' + request.header("User-Agent"),
                  "GET /branchesxml.aspx?datetest=1 " + xr::userAgent().toLatin1());
        EXPECT_TRUE(request.header("If-None-Match").isNull());
        ASSERT_EQ(storedNames(delegate), QStringList{QStringLiteral("First")});
        ASSERT_EQ(storedEtag(), QStringLiteral("\"v1\""));
        EXPECT_FALSE(shell.splashShown);
        const std::optional<QVariant> stored =
            XRAppDelegate(configuration).applicationPlistFromFile(QStringLiteral("settings.vaxlodata"));
        ASSERT_TRUE(stored.has_value());
        EXPECT_EQ(stored->toMap(), delegate.settingsDict());
        EXPECT_EQ(fileWhenAnnounced, settingsFileBytes());
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

// The first load asks for the whole list and stores it. After it, only a 200
// answer holding a list of stores replaces the list and its tag. The others,
// in this order, leave both as they were: after a 503 the old tag is still
// sent, a 304 to it keeps the old list, and a changed list is still fetched.
TEST_F(StoreLocatorDownloaderTest, OnlyAListOfStoresReplacesTheListAndItsTag)
{
    enum Outcome { Unchanged, NetworkAlert, ParseError };
    const QByteArray maintenancePage = "<html><body><p>Closed for maintenance</p></body></html>";
    const QByteArray newList = branchDocument("Second");
    const QByteArray brokenList = newList.chopped(20);
    const struct { const char *what; Response response; Outcome outcome; } cases[] = {
        {"503, branch document", {.status = 503, .body = newList, .etag = "\"v2\""}, NetworkAlert},
        {"304 for the tag", {.body = branchDocument("First"), .etag = "\"v1\""}, Unchanged},
        {"empty body for the tag", {.body = branchDocument("First"), .etag = "\"v1\"", .notModified = Response::NotModified::EmptyBody200}, Unchanged},
        {"empty body with a new tag", {.etag = "\"v2\""}, Unchanged},
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
    delegate.loadCurrentStoreList();
    ASSERT_TRUE(xr::test::waitUntil([&] { return parsed.count == 1; }));
    EXPECT_EQ(storedNames(delegate), QStringList{QStringLiteral("Second")});
    EXPECT_EQ(settingsFileBytes(), fileBefore);
    EXPECT_EQ(storedEtag(), QStringLiteral("\"v1\""));
}

// A load asked for while one runs replaces it, from outside or from inside the
// announcement of the load still finishing (as the store list asks when it
// finds no stores): every load completes and announces, and a dropped
// downloader goes once its transfer has ended.
TEST_F(StoreLocatorDownloaderTest, LoadsAskedForDuringALoadOrItsAnnouncementAllComplete)
{
    sweden.route(branchPath, {.body = "<branches><locations/></branches>", .etag = "\"v0\""});
    XRAppDelegate delegate(configuration, &shell);
    int loads = 0;
    NotificationCounter parsed(XRStoresDidEndParsingNotification, [&] {
        if (++loads < 3)
            delegate.loadCurrentStoreList();
    });
    delegate.loadCurrentStoreList();
    const QPointer<XRStoreLocatorDownloader> dropped = delegate.storeLocator();
    delegate.loadCurrentStoreList();
    EXPECT_NE(delegate.storeLocator(), dropped.data());

    ASSERT_TRUE(xr::test::waitUntil([&] { return parsed.count == 4; }));
    EXPECT_EQ(sweden.requests().size(), 4);
    ASSERT_TRUE(xr::test::waitUntil([&] { return dropped.isNull(); }));
    EXPECT_NE(delegate.storeLocator(), nullptr);
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

// The download rebuilds the collection, each store with its location, before
// later observers read it; the settings keep only the document, so that saves
// succeed.
TEST_F(StoreLocatorDownloaderTest, TheCollectionIsRebuiltFromEachDownloadBeforeLaterObserversReadIt)
{
    sweden.route(branchPath, {.body = branchDocument("Nordstan")});
    XRAppDelegate delegate(configuration, &shell);
    delegate.setLocationManager(xr::test::silentLocationManager());
    delegate.applicationDidFinishLaunching();
    EXPECT_FALSE(delegate.storesArray().has_value());
    // Registered after launch, as the store list is.
    std::optional<QVariantList> seen;
    NotificationCounter parsed(XRStoresDidEndParsingNotification, [&] { seen = delegate.storesArray(); });
    ASSERT_TRUE(xr::test::waitUntil([&] { return parsed.count == 1; }));
    ASSERT_EQ(seen.value_or(QVariantList()).size(), 1);
    EXPECT_EQ(seen->at(0).toMap().value(QStringLiteral("location")).value<QGeoCoordinate>(),
              QGeoCoordinate(59.3326, 18.0649));

    delegate.applicationDidEnterBackground();
    const std::optional<QVariant> saved = delegate.applicationPlistFromFile(QStringLiteral("settings.vaxlodata"));
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->toMap(), delegate.settingsDict());
}

TEST_F(StoreLocatorDownloaderTest, CancelStopsTheTransferAndSaysSo)
{
    sweden.route(branchPath, {.body = branchDocument("First"), .delay = std::chrono::seconds(5)});
    XRAppDelegate delegate(configuration, &shell);
    NotificationCounter cancelled(XRConnectionDidCancelNotification);
    delegate.loadCurrentStoreList();
    delegate.storeLocator()->cancelConnection();
    EXPECT_EQ(cancelled.count, 1);
    EXPECT_EQ(delegate.storeLocator()->theConnection(), nullptr);
    xr::test::drainEvents();
    EXPECT_FALSE(delegate.settingsDict().contains(QStringLiteral("storesDict")));
}

} // namespace
