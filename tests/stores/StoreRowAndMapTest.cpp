#include "XRMapGeometry.h"
#include "XRPropertyList.h"
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
        {QString(21, u'n'), xr::storeNameText, QString(18, u'n') + QStringLiteral("...")},
        {QString(17, u'n') + clef + QStringLiteral("nn"), xr::storeNameText, QString(17, u'n') + QStringLiteral("...")},
        {QStringLiteral("Växlo Göteborg"), xr::storeNameText, QStringLiteral("Växlo Göteborg")},
        {QString(62, u'a'), xr::storeAddressText, QString(62, u'a')},
        {QString(63, u'a'), xr::storeAddressText, QString(60, u'a') + QStringLiteral("...")},
        {QString(), xr::storeAddressText, QString()},
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

TEST(StoreRowTextTest, EventsOnePerLineAndTelephoneWithoutBlanks)
{
    const auto event = [](const char *name, const char *start, const QVariant &stop) {
        QVariantMap e{{QStringLiteral("e_name"), QString::fromUtf8(name)}, {QStringLiteral("e_start"), QString::fromUtf8(start)}};
        if (stop.isValid())
            e.insert(QStringLiteral("e_stop"), stop);
        return e;
    };
    const QVariantList events{event("Mån-Fre", "09:00", QStringLiteral("18:00")), event("Lör", "10:00", QString()),
                              event("Sön", "Stängt", {})};
    EXPECT_EQ(xr::storeEventsText(events), QStringLiteral("Mån-Fre: 09:00 - 18:00\nLör: 10:00\nSön: Stängt\n"));
    EXPECT_EQ(xr::storeEventsText(QVariant()), QString());

    EXPECT_EQ(xr::telephoneURL(QStringLiteral("08 10\t20 30")).toString(), QStringLiteral("tel:08102030"));
    EXPECT_EQ(xr::telephoneURL(QStringLiteral("+46 8 10 20 30")).toString(), QStringLiteral("tel:+468102030"));
}

TEST(MapGeometryTest, FramingCentresBetweenTheExtremesWithAFifthMore)
{
    const auto region = xr::regionFramingCoordinates({QGeoCoordinate(59.33, 18.06), QGeoCoordinate(59.30, 18.10)});
    ASSERT_TRUE(region);
    EXPECT_NEAR(region->center.latitude(), 59.315, 1e-9);
    EXPECT_NEAR(region->center.longitude(), 18.08, 1e-9);
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

    const QVariantMap store{{QStringLiteral("latitude"), QStringLiteral("59.33")}, {QStringLiteral("longitude"), QStringLiteral("18.06")}};
    EXPECT_EQ(xr::directionsURL(QStringLiteral("maps.example"), QGeoCoordinate(59.30, 18.10), store).toString(),
              QStringLiteral("http://maps.example?saddr=59.300000,18.100000&daddr=59.330000,18.060000&z=6"));
    // Before any position, and for a store without coordinates, zeros stand in.
    EXPECT_EQ(xr::directionsURL(QStringLiteral("maps.example"), QGeoCoordinate(0, 0), {}).toString(),
              QStringLiteral("http://maps.example?saddr=0.000000,0.000000&daddr=0.000000,0.000000&z=6"));
}

TEST(StoreAnnotationTest, TheKeyedArchiveKeepsTheFourValuesAndRefusesDamagedOnes)
{
    const QVariantMap store{{QStringLiteral("name"), QStringLiteral("Växlo Stockholm City")},
                            {QStringLiteral("address"), QStringLiteral("Vasagatan 14")},
                            {QStringLiteral("location"), QVariant::fromValue(QGeoCoordinate(59.3326, 18.0649))}};
    const XRStoreAnnotation annotation = XRStoreAnnotation::initWithStoreDictionary(store);
    const std::optional<QByteArray> data = annotation.archivedData();
    ASSERT_TRUE(data);
    QString error;
    const QVariantMap archived = XRPropertyList::propertyListFromData(*data, error)->toMap();
    EXPECT_EQ(archived, (QVariantMap{{QStringLiteral("CCCoordinateLongitude"), 18.0649},
                                     {QStringLiteral("CCCoordinateLatitude"), 59.3326},
                                     {QStringLiteral("CCAnnotationTitle"), QStringLiteral("Växlo Stockholm City")},
                                     {QStringLiteral("CCAnnotationSubtitle"), QStringLiteral("Vasagatan 14")}}));
    EXPECT_EQ(XRStoreAnnotation::fromArchivedData(*data), annotation);

    // A store without a location stands at 0, 0.
    EXPECT_EQ(XRStoreAnnotation::initWithStoreDictionary({}).coordinate(), QGeoCoordinate(0, 0));

    QVariantMap missingTitle = archived;
    missingTitle.remove(QStringLiteral("CCAnnotationTitle"));
    QVariantMap textLatitude = archived;
    textLatitude.insert(QStringLiteral("CCCoordinateLatitude"), QStringLiteral("59.3"));
    EXPECT_FALSE(XRStoreAnnotation::initWithCoder(missingTitle));
    EXPECT_FALSE(XRStoreAnnotation::initWithCoder(textLatitude));
    EXPECT_FALSE(XRStoreAnnotation::fromArchivedData(data->left(data->size() / 2)));
    EXPECT_FALSE(XRStoreAnnotation::fromArchivedData(*XRPropertyList::dataFromPropertyList(QVariantList{1}, error)));
}

} // namespace
