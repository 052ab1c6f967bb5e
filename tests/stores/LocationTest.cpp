#include "EventLoop.h"
#include "LogCapture.h"
#include "NmeaReplay.h"
#include "RecordingShell.h"
#include "StoresTestSupport.h"
#include "XRAppDelegate.h"
#include "XRLocationManager.h"
#include "XRNotifications.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {

using xr::test::NotificationCounter;

using xr::test::deliver;
using xr::test::nmeaSentence;

class LocationTest : public testing::Test
{
protected:
    void SetUp() override { xr::test::resetStoredState(); }

    XRConfiguration configuration;
    xr::test::RecordingShell shell;
};

TEST_F(LocationTest, TrackingStopsAtTheFourthReportAndAfterEveryLaterOne)
{
    XRAppDelegate delegate(configuration, &shell);
    QBuffer *device = nullptr;
    delegate.setLocationManager(std::make_unique<XRLocationManager>(xr::test::nmeaSource(device)));
    NotificationCounter updates(XRLocationDidUpdateNotification);
    EXPECT_FALSE(delegate.location().has_value());

    delegate.startTrackingLocation();
    for (unsigned report = 1; report <= 4; ++report) {
        SCOPED_TRACE(report);
        const double latitude = 59.0 + report / 100.0;
        deliver(device, nmeaSentence(int(report), latitude, 18.0));
        ASSERT_TRUE(xr::test::waitUntil([&] { return delegate.gpsSearches() == report; }));
        EXPECT_EQ(updates.count, int(report));
        ASSERT_TRUE(delegate.location().has_value());
        EXPECT_NEAR(delegate.location()->coordinate().latitude(), latitude, 1e-6);
        EXPECT_EQ(delegate.locationManager()->isUpdatingLocation(), report < 4);
    }

    // The count is never reset: a restart ends after one report.
    delegate.startTrackingLocation();
    EXPECT_TRUE(delegate.locationManager()->isUpdatingLocation());
    deliver(device, nmeaSentence(5, 62.0, 18.0));
    ASSERT_TRUE(xr::test::waitUntil([&] { return delegate.gpsSearches() == 5; }));
    EXPECT_NEAR(delegate.location()->coordinate().latitude(), 62.0, 1e-6);
    EXPECT_FALSE(delegate.locationManager()->isUpdatingLocation());
    EXPECT_EQ(updates.count, 5);
}

TEST_F(LocationTest, AFailureChangesNothingButTheLog)
{
    XRAppDelegate delegate(configuration, &shell);
    QBuffer *device = nullptr;
    std::unique_ptr<QNmeaPositionInfoSource> source = xr::test::nmeaSource(device);
    QNmeaPositionInfoSource *nmea = source.get();
    delegate.setLocationManager(std::make_unique<XRLocationManager>(std::move(source)));
    NotificationCounter updates(XRLocationDidUpdateNotification);
    delegate.startTrackingLocation();
    deliver(device, nmeaSentence(1, 59.5, 18.0));
    ASSERT_TRUE(xr::test::waitUntil([&] { return delegate.gpsSearches() == 1; }));

    xr::test::LogCapture log;
    // Shorter than the source can answer: it reports a time-out at once.
    nmea->requestUpdate(1);
    EXPECT_EQ(log.messages().size(), 1);
    EXPECT_EQ(delegate.gpsSearches(), 1u);
    EXPECT_NEAR(delegate.location()->coordinate().latitude(), 59.5, 1e-6);
    EXPECT_TRUE(delegate.locationManager()->isUpdatingLocation());
    EXPECT_EQ(updates.count, 1);
}

TEST_F(LocationTest, TheDemoReplayFilePlacesTheDeviceInStockholmAndAnUnreadableOneGivesNoSource)
{
    configuration.locationSource = QStringLiteral("nmea:" XR_TEST_DATA_DIR "/../../../demo/data/stockholm.nmea");
    XRAppDelegate delegate(configuration, &shell);
    NotificationCounter updates(XRLocationDidUpdateNotification);
    delegate.startTrackingLocation();
    ASSERT_TRUE(xr::test::waitUntil([&] { return updates.count == 1; }));
    EXPECT_LT(delegate.location()->coordinate().distanceTo(QGeoCoordinate(59.3293, 18.0686)), 2'000.0);

    EXPECT_EQ(XRLocationManager::positionSource(QStringLiteral("nmea:/nonexistent/replay.nmea")), nullptr);
}

} // namespace
