#include "EventLoop.h"
#include "LaunchedApplication.h"
#include "LoopbackServer.h"
#include "NmeaReplay.h"
#include "Screenshots.h"
#include "XRMapStoreLocatorViewController.h"
#include "XRStoreTableViewCell.h"
#include "XRVaxloShopViewController.h"

#include <QAccessible>
#include <QBuffer>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using xr::test::LoopbackServer;
using xr::test::waitUntil;

namespace {

// Four stores in document order; seen from 59.30, 18.10 the nearest is Nacka,
// then City, Uppsala and Malmö.
const QByteArray branchDocument = R"(<?xml version="1.0" encoding="UTF-8"?>
<branches><locations>
<location><id>SE.1</id><name>Växlo Stockholm City</name><city>Stockholm</city><address>Vasagatan 14</address>
 <phone>08 10 20 30</phone><phone_alt>08 10 20 31</phone_alt><latitude>59.33</latitude><longitude>18.06</longitude>
 <events><event><e_name>Mån-Fre</e_name><e_start>09:00</e_start><e_stop>19:00</e_stop></event>
 <event><e_name>Lör</e_name><e_start>10:00</e_start><e_stop></e_stop></event></events></location>
<location><id>SE.2</id><name>Växlo Uppsala Forumgallerian</name><city>Uppsala</city><address>Bredgränd 10</address>
 <phone>018 12 34 56</phone><latitude>59.8586</latitude><longitude>17.6389</longitude></location>
<location><id>SE.3</id><name>Växlo Nacka</name><city>Nacka</city><latitude>59.31</latitude><longitude>18.163</longitude></location>
<location><id>SE.4</id><name>Växlo Malmö Centralen</name><city>Malmö</city>
 <address>Centralplan 10, entréplanet vid spår 1, mittemot biljettautomaterna</address>
 <phone>040 12 34 56</phone><latitude>55.6094</latitude><longitude>13.0004</longitude></location>
</locations></branches>)";

// A tile of one colour, as a tile server would send it.
QByteArray pngTile(const QColor &colour)
{
    QImage image(256, 256, QImage::Format_RGB32);
    image.fill(colour);
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    image.save(&bytes, "PNG");
    return bytes.data();
}

// The store list as the one tab against a loopback market, positions
// replayed from NMEA sentences and URL opening recorded.
class StoreScreensTest : public testing::TestWithParam<const char *>, public xr::test::LaunchedApplication
{
protected:
    void SetUp() override
    {
        server.route(QStringLiteral("/branchesxml.aspx"), {.body = branchDocument});
        server.setDefaultResponse({.body = pngTile(tileColour)}); // every tile
        configuration.marketHosts.fill(QStringLiteral("127.0.0.1:%1").arg(server.port()));
        configuration.directionsHost = QStringLiteral("maps.example");
        XRMapStoreLocatorViewController::setLocationManagerFactory([this] {
            ++mapManagersMade;
            return std::make_unique<XRLocationManager>(xr::test::nmeaSource(mapPositions));
        });
    }

    void TearDown() override
    {
        close();
        XRApplication::sharedApplication().setURLHandlers({}, {});
        XRMapStoreLocatorViewController::setLocationManagerFactory({});
    }

    void launchStores()
    {
        firstLaunch(0, QString::fromLatin1(GetParam()), [this](XRWindow *window) {
            auto *tabs = new XRTabBarController(window);
            tabs->setViewControllers({screen = new XRVaxloShopViewController});
            return tabs;
        });
        // In place of the desktop's handlers that the shell installs.
        XRApplication::sharedApplication().setURLHandlers(
            [this](const QUrl &url) { opened.append(url.toString()); return true; },
            [this](const QUrl &url) { return url.scheme() == QLatin1String("http") || (canCall && url.scheme() == QLatin1String("tel")); });
        // Tracking starts after the first frame, from these positions.
        delegate->setLocationManager(std::make_unique<XRLocationManager>(xr::test::nmeaSource(positions)));
    }

    void reportPosition(QBuffer *device, double latitude, double longitude)
    {
        xr::test::deliver(device, xr::test::nmeaSentence(++second, latitude, longitude));
    }

    XRStoreTableViewCell *row(int index) const
    {
        return qobject_cast<XRStoreTableViewCell *>(screen->tableView()->cellForRowAtIndexPath({0, index}));
    }
    QStringList shownNames(int rows = 3) const
    {
        QStringList names;
        for (int i = 0; i < rows; ++i)
            names << (row(i) ? row(i)->nameLabel()->text() : QStringLiteral("(none)"));
        return names;
    }
    QString name(const char *key) const { return QString::fromLatin1(GetParam()) + QLatin1Char('-') + QLatin1String(key); }

    const QColor tileColour{40, 120, 200};
    LoopbackServer server;
    XRVaxloShopViewController *screen = nullptr;
    QBuffer *positions = nullptr;
    QBuffer *mapPositions = nullptr;
    int mapManagersMade = 0;
    int second = 0;
    bool canCall = true;
    QStringList opened;
};

TEST_P(StoreScreensTest, RowsFollowTheDocumentThenTheDistanceWithTheChosenDefaultFirstAndANewListReplacesThem)
{
    launchStores();
    // A default that matches no store changes nothing.
    XRUserDefaults::standardUserDefaults().setObject(QStringLiteral("SE.999"), QStringLiteral("XRDefaultStore"));
    EXPECT_TRUE(delegate->isLoadingSplashShown()) << "the list waits for its first branch list";
    ASSERT_TRUE(waitUntil([this] { return row(0) != nullptr; }));
    EXPECT_FALSE(delegate->isLoadingSplashShown());
    EXPECT_EQ(shownNames(), (QStringList{"Växlo Stockholm City", "Växlo Uppsala Foru...", "Växlo Nacka"}));
    EXPECT_EQ(row(0)->distanceLabel()->text(), QString()) << "no position yet";
    EXPECT_EQ(row(0)->eventsLabel()->text(), QStringLiteral("Mån-Fre: 09:00 - 19:00\nLör: 10:00\n"));
    EXPECT_EQ(row(0)->phonealtLabel()->text(), QStringLiteral("08 10 20 31"));
    EXPECT_TRUE(row(1)->phonealtLabel()->isHidden());
    QTest::mouseClick(row(0)->callButton(), Qt::LeftButton);
    EXPECT_EQ(opened, QStringList{QStringLiteral("tel:08102030")});

    reportPosition(positions, 59.30, 18.10);
    ASSERT_TRUE(waitUntil([this] { return delegate->gpsSearches() == 1; }));
    EXPECT_EQ(shownNames(), (QStringList{"Växlo Nacka", "Växlo Stockholm City", "Växlo Uppsala Foru..."}));
    EXPECT_EQ(row(0)->distanceLabel()->text(), QStringLiteral("3.7 km"));
    // The store without a phone takes a row that showed one before.
    EXPECT_TRUE(row(0)->callButton()->isHidden());
    EXPECT_EQ(row(0)->phoneLabel()->text(), QString());
    EXPECT_EQ(row(0)->detailLabel()->text(), QString());
    xr::test::saveScreenshot(window.get(), name("stores-list"));

    // Choosing the farthest store as default puts it first, the old mark turns grey.
    QTest::mouseClick(row(0)->defaultButton(), Qt::LeftButton);
    EXPECT_TRUE(row(0)->defaultButton()->property("isDefault").toBool());
    screen->tableView()->scrollToRowAtIndexPath({0, 3});
    ASSERT_TRUE(row(3));
    QTest::mouseClick(row(3)->defaultButton(), Qt::LeftButton);
    screen->tableView()->scrollToRowAtIndexPath({0, 0});
    EXPECT_EQ(shownNames(), (QStringList{"Växlo Malmö Centra...", "Växlo Nacka", "Växlo Stockholm City"}));
    EXPECT_TRUE(row(0)->defaultButton()->property("isDefault").toBool());
    EXPECT_FALSE(row(1)->defaultButton()->property("isDefault").toBool());
    const XRUserDefaults &defaults = XRUserDefaults::standardUserDefaults();
    EXPECT_EQ(defaults.stringForKey(QStringLiteral("XRDefaultStoreName")), QStringLiteral("Växlo Malmö Centralen"));
    EXPECT_EQ(defaults.stringForKey(QStringLiteral("XRDefaultStoreCity")), QStringLiteral("Malmö"));

    // A desktop that places no calls shows the numbers as text.
    canCall = false;
    screen->tableView()->reloadData();
    EXPECT_TRUE(row(2)->callButton()->isHidden());
    EXPECT_EQ(row(2)->phoneLabel()->isHidden() ? QString() : row(2)->phoneLabel()->text(), QStringLiteral("08 10 20 30"));

    // A new market's list shows at once, not the order made from the old one.
    QByteArray renamed = branchDocument;
    renamed.replace("Växlo Stockholm City", "Växlo Aker Brygge");
    server.route(QStringLiteral("/branchesxml.aspx"), {.body = renamed});
    delegate->loadCurrentStoreList();
    ASSERT_TRUE(waitUntil([this] { return row(2) && row(2)->nameLabel()->text() == QStringLiteral("Växlo Aker Brygge"); }));
    EXPECT_EQ(shownNames(2), (QStringList{"Växlo Malmö Centra...", "Växlo Nacka"}));
}

TEST_P(StoreScreensTest, TheMapFramesStoreAndDeviceOnTilesTracksOnItsOwnAndOpensDirections)
{
    configuration.tileURLTemplate = QStringLiteral("http://127.0.0.1:%1/tiles/{z}/{x}/{y}.png").arg(server.port());
    launchStores();
    ASSERT_TRUE(waitUntil([this] { return row(0) != nullptr; }));
    reportPosition(positions, 59.30, 18.10);
    ASSERT_TRUE(waitUntil([this] { return delegate->gpsSearches() == 1; }));

    // Pressing a row highlights it; letting go opens the store's map.
    const QPoint middleOfCity = screen->tableView()->viewport()->mapFromGlobal(row(1)->mapToGlobal(QPoint(100, 60)));
    QTest::mousePress(screen->tableView()->viewport(), Qt::LeftButton, {}, middleOfCity);
    EXPECT_EQ(row(1)->nameLabel()->palette().color(QPalette::WindowText), QColor(Qt::white));
    xr::test::saveScreenshot(window.get(), name("stores-row-highlighted"));
    QTest::mouseRelease(screen->tableView()->viewport(), Qt::LeftButton, {}, middleOfCity);
    XRMapStoreLocatorViewController *map = screen->mapViewController();
    ASSERT_TRUE(map);
    EXPECT_EQ(map->currentStore().value(QStringLiteral("id")).toString(), QStringLiteral("SE.1"));
    EXPECT_FALSE(delegate->locationManager()->isUpdatingLocation()) << "the list's tracking rests while the map shows";
    ASSERT_EQ(mapManagersMade, 1);
    EXPECT_EQ(map->mapView()->annotationViews().size(), 1) << "the device's marker is the map's own";

    EXPECT_EQ(map->location(), QGeoCoordinate(59.30, 18.10)) << "directions start where the device was last seen";
    reportPosition(mapPositions, 59.30, 18.20);
    ASSERT_TRUE(waitUntil([map] { return std::abs(map->location().longitude() - 18.20) < 1e-9; }));
    reportPosition(mapPositions, 59.30, 18.10);
    ASSERT_TRUE(waitUntil([map] { return std::abs(map->location().longitude() - 18.10) < 1e-9 && !map->mapView()->isAnimating(); }));
    XRMapView *mapView = map->mapView();
    EXPECT_NEAR(mapView->centerCoordinate().latitude(), 59.315, 1e-6);
    EXPECT_NEAR(mapView->centerCoordinate().longitude(), 18.08, 1e-6);
    for (const QGeoCoordinate &point : {QGeoCoordinate(59.33, 18.06), QGeoCoordinate(59.30, 18.10)})
        EXPECT_TRUE(QRectF(mapView->rect()).contains(mapView->pointForCoordinate(point)));
    ASSERT_TRUE(waitUntil([mapView] {
        mapView->grab();
        return !mapView->tileLoader().isLoading() && mapView->tilesDrawn() > 0;
    }));
    EXPECT_EQ(mapView->grab().toImage().pixelColor(5, 5), tileColour);

    XRAnnotationView *pin = mapView->annotationViews().first();
    QTest::mouseClick(pin, Qt::LeftButton, {}, QPoint(25, 15));
    ASSERT_TRUE(mapView->callout());
    EXPECT_TRUE(mapView->rect().contains(mapView->callout()->geometry())) << "the map moves to show it whole";
    xr::test::saveScreenshot(window.get(), name("stores-map-callout"));
    QTest::mouseClick(qobject_cast<QPushButton *>(pin->rightCalloutAccessoryView()), Qt::LeftButton);
    EXPECT_EQ(opened, QStringList{QStringLiteral("http://maps.example?saddr=59.300000,18.100000&daddr=59.330000,18.060000&z=6")});

    // The position button switches the map's tracking off and on, and a screen reader hears which.
    QAccessibleInterface *position = QAccessible::queryAccessibleInterface(map->posButton());
    EXPECT_TRUE(position->state().checked);
    QTest::mouseClick(map->posButton(), Qt::LeftButton);
    EXPECT_EQ(map->locationManager(), nullptr);
    EXPECT_FALSE(position->state().checked);
    QTest::mouseClick(map->posButton(), Qt::LeftButton);
    EXPECT_NE(map->locationManager(), nullptr);
    EXPECT_TRUE(position->state().checked);

    QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("doneButton")), Qt::LeftButton);
    EXPECT_EQ(screen->mapViewController(), nullptr);
    EXPECT_TRUE(delegate->locationManager()->isUpdatingLocation());
}

INSTANTIATE_TEST_SUITE_P(Languages, StoreScreensTest, testing::Values("sv", "fi"));

} // namespace
