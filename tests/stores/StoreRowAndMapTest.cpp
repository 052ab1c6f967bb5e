#include "XRMapGeometry.h"
#include "XRStoreAnnotation.h"
#include "XRStoreRowText.h"

#include <gtest/gtest.h>

namespace {

TEST(StoreRowTextTest, NamesAndAddressesAreCutAtTheirBoundsInUTF16Units)
{
    const QString clef = QString::fromUtf8("\xF0\x9D\x84\x9E"); // two UTF-16 units
    const struct
    {
        QString text;
        QString (*cut)(const QString &);
        QString shown;
    } cases[] = {
        {QString(20, u'n'), xr::storeNameText, QString(20, u'n')},
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

TEST(StoreRowTextTest, EventsWithoutAnEndAndTelephoneWithoutBlanks)
{
    const QVariantMap sunday{{QStringLiteral("e_name"), QStringLiteral("Sön")}, {QStringLiteral("e_start"), QStringLiteral("Stängt")}};
    EXPECT_EQ(xr::storeEventsText(QVariantList{sunday}), QStringLiteral("Sön: Stängt\n"));
    EXPECT_EQ(xr::telephoneURL(QStringLiteral("+46 8 10\t20 30")).toString(), QStringLiteral("tel:+468102030"));
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

    // Before any position, and for a store without coordinates, zeros stand in.
    EXPECT_EQ(xr::directionsURL(QStringLiteral("maps.example"), QGeoCoordinate(0, 0), {}).toString(),
              QStringLiteral("http://maps.example?saddr=0.000000,0.000000&daddr=0.000000,0.000000&z=6"));
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

} // namespace
