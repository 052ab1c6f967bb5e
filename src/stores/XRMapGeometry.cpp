#include "XRMapGeometry.h"

#include "XRStoreCollection.h"

#include <QtMath>

#include <algorithm>
#include <cmath>

namespace {

// Web Mercator stops short of the poles.
constexpr double maximumLatitude = 85.05112878;

double worldSize(double zoom)
{
    return xr::mapTileSize * std::exp2(zoom);
}

// The latitude's place from the top of the world map, 0 to 1.
double mercatorY(double latitude)
{
    const double sine = std::sin(qDegreesToRadians(std::clamp(latitude, -maximumLatitude, maximumLatitude)));
    return 0.5 - std::log((1.0 + sine) / (1.0 - sine)) / (4.0 * M_PI);
}

} // namespace

namespace xr {

std::optional<XRCoordinateRegion> regionFramingCoordinates(const QList<QGeoCoordinate> &coordinates)
{
    if (coordinates.isEmpty())
        return std::nullopt;
    double minLongitude = 180.0, maxLongitude = -180.0, minLatitude = 90.0, maxLatitude = -90.0;
    for (const QGeoCoordinate &coordinate : coordinates) {
        minLongitude = std::min(minLongitude, coordinate.longitude());
        maxLongitude = std::max(maxLongitude, coordinate.longitude());
        minLatitude = std::min(minLatitude, coordinate.latitude());
        maxLatitude = std::max(maxLatitude, coordinate.latitude());
    }
    XRCoordinateRegion region;
    region.center = QGeoCoordinate(maxLatitude - (maxLatitude - minLatitude) * 0.5,
                                   minLongitude + (maxLongitude - minLongitude) * 0.5);
    region.latitudeDelta = std::abs(maxLatitude - minLatitude) * 1.2;
    region.longitudeDelta = std::abs(maxLongitude - minLongitude) * 1.2;
    return region;
}

QPointF worldPoint(const QGeoCoordinate &coordinate, double zoom)
{
    const double size = worldSize(zoom);
    return QPointF((coordinate.longitude() + 180.0) / 360.0 * size, mercatorY(coordinate.latitude()) * size);
}

QGeoCoordinate coordinateAtWorldPoint(const QPointF &point, double zoom)
{
    const double size = worldSize(zoom);
    const double longitude = point.x() / size * 360.0 - 180.0;
    const double latitude = qRadiansToDegrees(std::atan(std::sinh(M_PI * (1.0 - 2.0 * point.y() / size))));
    return QGeoCoordinate(latitude, longitude);
}

int zoomShowingRegion(const XRCoordinateRegion &region, const QSizeF &viewSize)
{
    const double latitude = region.center.latitude();
    // The region's extents as parts of the world map. The projection stretches
    // the half nearer the pole, and each half must fit in half the view.
    const double width = region.longitudeDelta / 360.0;
    const double centre = mercatorY(latitude);
    const double height = 2.0 * std::max(centre - mercatorY(latitude + region.latitudeDelta / 2.0),
                                         mercatorY(latitude - region.latitudeDelta / 2.0) - centre);
    double zoom = mapMaximumZoom;
    if (width > 0.0)
        zoom = std::min(zoom, std::log2(viewSize.width() / (width * mapTileSize)));
    if (height > 0.0)
        zoom = std::min(zoom, std::log2(viewSize.height() / (height * mapTileSize)));
    // A region fitted before fits again at its own zoom despite rounding.
    return std::clamp(int(std::floor(zoom + 1e-9)), mapMinimumZoom, mapMaximumZoom);
}

XRCoordinateRegion regionShownAt(const QGeoCoordinate &center, double zoom, const QSizeF &viewSize)
{
    const QPointF middle = worldPoint(center, zoom);
    const QGeoCoordinate topLeft = coordinateAtWorldPoint(middle - QPointF(viewSize.width(), viewSize.height()) / 2.0, zoom);
    const QGeoCoordinate bottomRight = coordinateAtWorldPoint(middle + QPointF(viewSize.width(), viewSize.height()) / 2.0, zoom);
    XRCoordinateRegion region;
    region.center = center;
    // The latitudes in sight on both sides of the centre.
    region.latitudeDelta =
        2.0 * std::min(topLeft.latitude() - center.latitude(), center.latitude() - bottomRight.latitude());
    region.longitudeDelta = bottomRight.longitude() - topLeft.longitude();
    return region;
}

std::optional<QUrl> tileURL(const QString &urlTemplate, int zoom, int x, int y)
{
    const int tiles = 1 << zoom;
    if (y < 0 || y >= tiles)
        return std::nullopt;
    x = ((x % tiles) + tiles) % tiles;
    QString url = urlTemplate;
    url.replace(QStringLiteral("{z}"), QString::number(zoom));
    url.replace(QStringLiteral("{x}"), QString::number(x));
    url.replace(QStringLiteral("{y}"), QString::number(y));
    return QUrl(url);
}

QUrl directionsURL(const QString &host, const QGeoCoordinate &from, const QVariantMap &store)
{
    const double latitude = leadingDecimalNumber(store.value(QStringLiteral("latitude")).toString());
    const double longitude = leadingDecimalNumber(store.value(QStringLiteral("longitude")).toString());
    const QString start = from.isValid() ? QString::asprintf("saddr=%lf,%lf&", from.latitude(), from.longitude())
                                         : QString();
    return QUrl(QStringLiteral("http://") + host + QLatin1Char('?') + start
                + QString::asprintf("daddr=%lf,%lf&z=6", latitude, longitude));
}

} // namespace xr
