#pragma once

#include <QGeoCoordinate>
#include <QList>
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <QUrl>
#include <QVariantMap>

#include <optional>

// A map region: its centre and its extents in degrees.
struct XRCoordinateRegion
{
    QGeoCoordinate center;
    double latitudeDelta = 0.0;
    double longitudeDelta = 0.0;
};

// The arithmetic of the store map: framing, the Web Mercator projection of the
// raster tiles, and the directions link.
namespace xr {

constexpr int mapTileSize = 256;
constexpr int mapMinimumZoom = 1;
// The closest view the map allows.
constexpr int mapMaximumZoom = 18;
// Directions go here when the configuration names no maps service.
inline const QString defaultDirectionsHost = QStringLiteral("maps.google.com");

// The region that frames every coordinate: centred between the extremes, with
// 1.2 times their extents. Nothing when there are no coordinates.
std::optional<XRCoordinateRegion> regionFramingCoordinates(const QList<QGeoCoordinate> &coordinates);

// Where the coordinate lies on the world map at the zoom, in pixels from its
// top-left corner; the world is 256 times 2^zoom pixels square.
QPointF worldPoint(const QGeoCoordinate &coordinate, double zoom);
QGeoCoordinate coordinateAtWorldPoint(const QPointF &point, double zoom);

// The closest whole zoom at which a view of the size shows all of the region.
int zoomShowingRegion(const XRCoordinateRegion &region, const QSizeF &viewSize);
// What a view of the size shows around the centre at the zoom.
XRCoordinateRegion regionShownAt(const QGeoCoordinate &center, double zoom, const QSizeF &viewSize);

// The template with its {z}, {x} and {y} filled in; x wraps around the world.
// Nothing for a row of tiles outside the world.
std::optional<QUrl> tileURL(const QString &urlTemplate, int zoom, int x, int y);

// Driving directions from a position to the store's "latitude" and
// "longitude": "http://", the host, then
// "?saddr=%lf,%lf&daddr=%lf,%lf&z=6" with six decimals. Without a known
// position the start is left out, for the maps service to ask, rather than
// set in the Atlantic at 0, 0.
QUrl directionsURL(const QString &host, const QGeoCoordinate &from, const QVariantMap &store);

} // namespace xr
