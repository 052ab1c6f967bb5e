#include "EventLoop.h"
#include "LoopbackServer.h"
#include "XRMapGeometry.h"
#include "XRMarkets.h"
#include "XRStoreAnnotation.h"
#include "XRStoreRowText.h"
#include "XRTileLoader.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(StoreRowTextTest, NamesAndAddressesAreCutAtTheirBoundsInUTF16Units)
{
    const QString clef = QString::fromUtf8("\xF0\x9D\x84\x9E"); // two UTF-16 units
    const struct { QString text; QString (*cut)(const QString &); QString shown; } cases[] = {
        {QString(17, u'n') + clef + QStringLiteral("nn"), xr::storeNameText, QString(17, u'n') + QStringLiteral("...")},
        {QString(62, u'a'), xr::storeAddressText, QString(62, u'a')},
        {QString(63, u'a'), xr::storeAddressText, QString(60, u'a') + QStringLiteral("...")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(c.cut(c.text), c.shown);
    }
}

TEST(StoreRowTextTest, DistancesRoundToTheirLastShownDigit)
{
    const std::pair<double, const char *> cases[] = {
        {0, ""},         {0.4, "0 m"},        {999, "999 m"},     {999.6, "1000 m"}, {1000, "1.0 km"},
        {9999, "10.0 km"}, {10000, "10 km"}, {123456.7, "123 km"},
    };
    for (const auto &[metres, text] : cases) {
        SCOPED_TRACE(metres);
        EXPECT_EQ(xr::storeDistanceText(metres), QString::fromLatin1(text));
    }
}

TEST(MapGeometryTest, FramingAFifthMoreThanTheExtremes)
{
    const auto region = xr::regionFramingCoordinates({QGeoCoordinate(59.33, 18.06), QGeoCoordinate(59.30, 18.10)});
    ASSERT_TRUE(region);
    EXPECT_NEAR(region->latitudeDelta, 0.036, 1e-9);
    EXPECT_NEAR(region->longitudeDelta, 0.048, 1e-9);
    const auto single = xr::regionFramingCoordinates({QGeoCoordinate(60.17, 24.94)});
    ASSERT_TRUE(single);
    EXPECT_EQ(single->latitudeDelta, 0.0);
    EXPECT_EQ(xr::zoomShowingRegion(*single, QSizeF(320, 372)), xr::mapMaximumZoom) << "the closest view";
    EXPECT_FALSE(xr::regionFramingCoordinates({}));
}

TEST(MapGeometryTest, TheFittedZoomIsTheClosestThatShowsTheWholeRegion)
{
    const QSizeF view(320, 372);
    const XRCoordinateRegion regions[] = {
        {QGeoCoordinate(59.315, 18.08), 0.036, 0.048},
        {QGeoCoordinate(55.7, 12.5), 4.0, 0.01},   // tall: latitude decides
        {QGeoCoordinate(-33.9, 151.2), 0.0, 30.0}, // wide
        {QGeoCoordinate(0, 0), 170.0, 360.0},      // more than the map can show
    };
    for (const XRCoordinateRegion &region : regions) {
        SCOPED_TRACE(region.center.toString().toStdString());
        const int zoom = xr::zoomShowingRegion(region, view);
        const XRCoordinateRegion shown = xr::regionShownAt(region.center, zoom, view);
        if (zoom > xr::mapMinimumZoom) {
            EXPECT_GE(shown.latitudeDelta + 1e-9, region.latitudeDelta);
            EXPECT_GE(shown.longitudeDelta + 1e-9, region.longitudeDelta);
        }
        if (zoom < xr::mapMaximumZoom) {
            const XRCoordinateRegion closer = xr::regionShownAt(region.center, zoom + 1, view);
            EXPECT_TRUE(closer.latitudeDelta < region.latitudeDelta || closer.longitudeDelta < region.longitudeDelta);
        }
        // A fitted region fits at the same zoom: showing it again does not zoom out.
        EXPECT_EQ(xr::zoomShowingRegion(shown, view), zoom);
        const QGeoCoordinate back = xr::coordinateAtWorldPoint(xr::worldPoint(region.center, 7.5), 7.5);
        EXPECT_NEAR(back.latitude(), region.center.latitude(), 1e-9);
        EXPECT_NEAR(back.longitude(), region.center.longitude(), 1e-9);
    }
}

TEST(MapGeometryTest, TileAndDirectionsAddresses)
{
    const QString tiles = QStringLiteral("http://127.0.0.1:9/{z}/{x}/{y}.png");
    EXPECT_EQ(xr::tileURL(tiles, 3, 9, 2)->toString(), QStringLiteral("http://127.0.0.1:9/3/1/2.png"));
    EXPECT_EQ(xr::tileURL(tiles, 3, -1, 7)->toString(), QStringLiteral("http://127.0.0.1:9/3/7/7.png"));
    EXPECT_FALSE(xr::tileURL(tiles, 3, 0, 8));
    EXPECT_FALSE(xr::tileURL(tiles, 3, 0, -1));

    // Before any position the maps service is left to ask where from; a store without coordinates gives zeros.
    EXPECT_EQ(xr::directionsURL(QStringLiteral("maps.example"), QGeoCoordinate(), {}).toString(),
              QStringLiteral("http://maps.example?daddr=0.000000,0.000000&z=6"));
}

TEST(StoreAnnotationTest, TheKeyedArchiveKeepsTheFourValues)
{
    const QVariantMap store{{QStringLiteral("name"), QStringLiteral("Växlo Stockholm City")},
                            {QStringLiteral("address"), QStringLiteral("Vasagatan 14")},
                            {QStringLiteral("location"), QVariant::fromValue(QGeoCoordinate(59.3326, 18.0649))}};
    const XRStoreAnnotation annotation = XRStoreAnnotation::initWithStoreDictionary(store);
    const std::optional<QByteArray> data = annotation.archivedData();
    ASSERT_TRUE(data);
    EXPECT_EQ(XRStoreAnnotation::fromArchivedData(*data), annotation);
    EXPECT_FALSE(XRStoreAnnotation::fromArchivedData(data->left(data->size() / 2)));
}

using xr::test::LoopbackServer;

TEST(TileLoaderTest, GoodTilesArriveWithTheUserAgentAndRefusedOnesAreNotAskedForAgain)
{
    LoopbackServer server;
    server.route(QStringLiteral("/tiles/3/4/2.png"), {.body = "tile 3/4/2"});
    server.route(QStringLiteral("/tiles/3/4/3.png"), {.status = 404, .body = "<html>not found</html>"});
    server.route(QStringLiteral("/tiles/3/4/4.png"), {.body = QByteArray(XRTileLoader::maximumTileBytes + 1, 'x')});
    QTemporaryDir cache;
    XRTileLoader loader(QStringLiteral("http://127.0.0.1:%1/tiles/{z}/{x}/{y}.png").arg(server.port()), cache.path());
    QHash<XRTileKey, QByteArray> arrived;
    loader.setTileArrivedHandler([&arrived](const XRTileKey &key, const QByteArray &bytes) { arrived.insert(key, bytes); });

    const XRTileKey good{3, 4, 2}, refused{3, 4, 3}, oversized{3, 4, 4};
    for (const XRTileKey &key : {good, refused, oversized, good})
        loader.requestTile(key);
    ASSERT_TRUE(xr::test::waitUntil([&loader] { return !loader.isLoading(); }));
    EXPECT_EQ(arrived, (QHash<XRTileKey, QByteArray>{{good, "tile 3/4/2"}})) << "an error page or a flood is no tile";
    ASSERT_EQ(server.requests().size(), 3) << "a tile on its way is not asked for twice";
    EXPECT_EQ(server.requests().first().header("User-Agent"), xr::userAgent().toUtf8());

    loader.requestTile(refused);
    EXPECT_FALSE(loader.isLoading());
    EXPECT_EQ(server.requests().size(), 3);

    // Only what the map stores is on disk, and a loader for another server does not see it.
    EXPECT_FALSE(loader.cachedTile(good));
    loader.storeTile(good, "tile 3/4/2");
    EXPECT_EQ(loader.cachedTile(good), QByteArray("tile 3/4/2"));
    XRTileLoader other(QStringLiteral("http://127.0.0.1:1/{z}/{x}/{y}.png"), cache.path());
    EXPECT_FALSE(other.cachedTile(good));

    // A full cache drops its oldest tiles, down to three quarters of its size.
    XRTileLoader small(QStringLiteral("http://127.0.0.1:2/{z}/{x}/{y}.png"), cache.path(), 4);
    int kept = 0;
    for (int x = 0; x < 5; ++x)
        small.storeTile({5, x, 0}, "tile");
    for (int x = 0; x < 5; ++x)
        kept += small.cachedTile({5, x, 0}).has_value();
    EXPECT_EQ(kept, 3);
}

} // namespace
