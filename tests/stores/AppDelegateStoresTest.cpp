#include "EventLoop.h"
#include "LoopbackServer.h"
#include "RecordingShell.h"
#include "StoresTestSupport.h"
#include "XRAppDelegate.h"
#include "XRNotifications.h"
#include "XRStoreLocatorDownloader.h"

#include <gtest/gtest.h>

namespace {

using xr::test::NotificationCounter;

const QByteArray twoStores = "<branches><locations>"
                             "<location><id>SE.1</id><name>Nordstan</name><city>Göteborg</city>"
                             "<latitude>57.7089</latitude><longitude>11.9690</longitude></location>"
                             "<location><id>SE.2</id><name>Centralen</name><city>Borås</city>"
                             "<latitude>57.7210</latitude></location>"
                             "</locations></branches>";

class AppDelegateStoresTest : public testing::Test
{
protected:
    void SetUp() override
    {
        xr::test::resetStoredState();
        XRUserDefaults::standardUserDefaults().setObject(0, QStringLiteral("language"));
        const QString host = QStringLiteral("127.0.0.1:%1").arg(server.port());
        configuration.marketHosts = {host, host, host, host};
        server.route(QStringLiteral("/branchesxml.aspx"), {.body = twoStores, .etag = "\"t\""});
    }
    void TearDown() override { XRUserDefaults::resetStandardUserDefaults(); }

    void launch(XRAppDelegate &delegate)
    {
        delegate.setLocationManager(xr::test::silentLocationManager());
        delegate.applicationDidFinishLaunching();
    }

    xr::test::LoopbackServer server;
    XRConfiguration configuration;
    xr::test::RecordingShell shell;
};

// The collection, with each store's location, is rebuilt before later
// observers read it; the settings keep only the document, so that saves succeed.
TEST_F(AppDelegateStoresTest, TheCollectionIsRebuiltBeforeLaterObserversReadItAndTheSettingsStillSave)
{
    XRAppDelegate delegate(configuration, &shell);
    launch(delegate);
    EXPECT_FALSE(delegate.storesArray().has_value());

    // Registered after launch, as the store list is.
    std::optional<QVariantList> seen;
    NotificationCounter parsed(XRStoresDidEndParsingNotification, [&] { seen = delegate.storesArray(); });
    ASSERT_TRUE(xr::test::waitUntil([&] { return parsed.count == 1; }));

    ASSERT_TRUE(seen.has_value());
    ASSERT_EQ(seen->size(), 2);
    EXPECT_EQ(seen->at(0).toMap().value(QStringLiteral("location")).value<QGeoCoordinate>(),
              QGeoCoordinate(57.7089, 11.9690));
    EXPECT_EQ(seen->at(1).toMap().value(QStringLiteral("location")).value<QGeoCoordinate>(), QGeoCoordinate(57.7210, 0.0));
    EXPECT_EQ(delegate.sortedStoresArray()->at(0).toMap().value(QStringLiteral("city")).toString(), QStringLiteral("Borås"));

    delegate.applicationDidEnterBackground();
    const std::optional<QVariant> saved = delegate.applicationPlistFromFile(QStringLiteral("settings.vaxlodata"));
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->toMap(), delegate.settingsDict());
}

TEST_F(AppDelegateStoresTest, LaunchDoesNotBuildTheCollectionFromTheStoredList)
{
    {
        XRAppDelegate first(configuration, &shell);
        NotificationCounter parsed(XRStoresDidEndParsingNotification);
        launch(first);
        ASSERT_TRUE(xr::test::waitUntil([&] { return parsed.count == 1; }));
    }
    server.route(QStringLiteral("/branchesxml.aspx"), {.status = 503, .body = "<busy>"});
    XRAppDelegate relaunched(configuration, &shell);
    launch(relaunched);
    EXPECT_TRUE(relaunched.settingsDict().contains(QStringLiteral("storesDict")));
    ASSERT_TRUE(xr::test::waitUntil([&] { return relaunched.storeLocator()->theConnection() == nullptr; }));
    EXPECT_FALSE(relaunched.storesArray().has_value()) << "a download that brings no list builds nothing";
}

} // namespace
