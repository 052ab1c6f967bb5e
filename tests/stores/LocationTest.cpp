#include "EventLoop.h"
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

// Tracking stops at the fourth report and, the count never being reset, after
// every later one; a failed update keeps the last position and the tracking.
TEST(LocationTest, TrackingStopsAtTheFourthReportAndAfterEveryLaterOne)
{
    xr::test::resetStoredState();
    xr::test::RecordingShell shell;
    XRAppDelegate delegate(XRConfiguration(), &shell);
    QBuffer *device = nullptr;
    std::unique_ptr<QNmeaPositionInfoSource> source = xr::test::nmeaSource(device);
    QNmeaPositionInfoSource *nmea = source.get();
    delegate.setLocationManager(std::make_unique<XRLocationManager>(std::move(source)));
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

    delegate.startTrackingLocation();
    // Shorter than the source can answer: it reports a time-out at once.
    nmea->requestUpdate(1);
    EXPECT_TRUE(delegate.locationManager()->isUpdatingLocation());
    EXPECT_NEAR(delegate.location()->coordinate().latitude(), 59.04, 1e-6);
    deliver(device, nmeaSentence(5, 62.0, 18.0));
    ASSERT_TRUE(xr::test::waitUntil([&] { return delegate.gpsSearches() == 5; }));
    EXPECT_NEAR(delegate.location()->coordinate().latitude(), 62.0, 1e-6);
    EXPECT_FALSE(delegate.locationManager()->isUpdatingLocation());
    EXPECT_EQ(updates.count, 5);
}

TEST(LocationTest, AReplayFileThatCannotBeReadGivesNoSource)
{
    EXPECT_EQ(XRLocationManager::positionSource(QStringLiteral("nmea:/nonexistent/replay.nmea")), nullptr);
}

} // namespace
