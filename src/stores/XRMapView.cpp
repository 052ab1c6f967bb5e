#include "XRMapView.h"

#include "XRCalloutView.h"
#include "XRLog.h"

#include <QAbstractButton>
#include <QEasingCurve>
#include <QMouseEvent>
#include <QPainter>
#include <QVariantAnimation>
#include <QWheelEvent>

#include <cmath>

namespace {

const QColor landColour(0xec, 0xe8, 0xdf);
const QColor graticuleColour(0xc9, 0xc2, 0xb2);
const QColor userLocationColour(0x1a, 0x73, 0xe8);
// Decoded tiles kept in memory; the disk keeps the rest.
constexpr qsizetype memoryTiles = 96;
// Moves shorter than this are a click, not a drag.
constexpr int dragThreshold = 4;

// A graticule step in degrees that puts lines at least this many pixels apart.
double graticuleStep(double pixelsPerDegree)
{
    static const double steps[] = {0.0001, 0.0002, 0.0005, 0.001, 0.002, 0.005, 0.01, 0.02, 0.05, 0.1, 0.2, 0.5, 1, 2, 5, 10, 15, 30};
    for (double step : steps) {
        if (step * pixelsPerDegree >= 48.0)
            return step;
    }
    return 30.0;
}

} // namespace

XRMapView::XRMapView(const QString &tileURLTemplate, const QString &cacheFolder, QWidget *parent)
    : QWidget(parent)
    , m_tileLoader(tileURLTemplate, cacheFolder)
{
    setObjectName(QStringLiteral("mapView"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_tileLoader.setTileArrivedHandler([this](const XRTileKey &key, const QByteArray &bytes) { tileArrived(key, bytes); });
}

XRMapView::~XRMapView() = default;

void XRMapView::setShowsUserLocation(bool shows)
{
    m_showsUserLocation = shows;
    update();
}

void XRMapView::setUserLocation(const QGeoCoordinate &coordinate)
{
    m_userLocation = coordinate;
    update();
}

void XRMapView::addAnnotation(const XRStoreAnnotation &annotation)
{
    m_annotations.append(annotation);
    XRAnnotationView *view = m_delegate ? m_delegate->mapViewViewForAnnotation(this, annotation) : nullptr;
    if (!view)
        return;
    view->setParent(this);
    m_annotationViews.append(view);
    connect(view, &XRAnnotationView::clicked, this, [this, view] { selectAnnotationView(view); });
    view->show();
    layOutAnnotations();
}

void XRMapView::selectAnnotationView(XRAnnotationView *view)
{
    deselectAnnotations();
    if (!view->canShowCallout())
        return;
    m_selected = view;
    m_callout = new XRCalloutView(view, this);
    for (QWidget *accessory : {view->leftCalloutAccessoryView(), view->rightCalloutAccessoryView()}) {
        if (auto *button = qobject_cast<QAbstractButton *>(accessory))
            connect(button, &QAbstractButton::clicked, this, [this, view, button] {
                if (m_delegate)
                    m_delegate->mapViewAnnotationViewCalloutAccessoryControlTapped(this, view, button);
            });
    }
    m_callout->show();
    layOutAnnotations();
    // The map moves as little as it takes to bring the whole callout into sight.
    const QRect callout = m_callout->geometry();
    const QRect room = rect().adjusted(4, 4, -4, -4);
    const int dx = callout.left() < room.left() ? room.left() - callout.left()
                   : callout.right() > room.right() ? room.right() - callout.right() : 0;
    const int dy = callout.top() < room.top() ? room.top() - callout.top() : 0;
    if (dx != 0 || dy != 0)
        moveTo(xr::coordinateAtWorldPoint(xr::worldPoint(m_center, m_zoom) - QPointF(dx, dy), m_zoom), m_zoom);
}

void XRMapView::deselectAnnotations()
{
    if (!m_callout)
        return;
    // The accessories go back to their pin for the next time it is chosen.
    for (QWidget *accessory : m_callout->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (m_selected && (accessory == m_selected->leftCalloutAccessoryView()
                           || accessory == m_selected->rightCalloutAccessoryView())) {
            accessory->disconnect(this);
            accessory->hide();
            accessory->setParent(m_selected);
        }
    }
    delete m_callout;
    m_selected = nullptr;
}

QSizeF XRMapView::framingSize() const
{
    return QSizeF(std::max(width() - 2 * framingMarginX, 1), std::max(height() - 2 * framingMarginY, 1));
}

XRCoordinateRegion XRMapView::regionThatFits(const XRCoordinateRegion &region) const
{
    return xr::regionShownAt(region.center, xr::zoomShowingRegion(region, framingSize()), framingSize());
}

void XRMapView::setRegion(const XRCoordinateRegion &region, bool animated)
{
    const double zoom = xr::zoomShowingRegion(region, framingSize());
    if (m_animation)
        m_animation->stop();
    if (!animated) {
        moveTo(region.center, zoom);
        if (m_delegate)
            m_delegate->mapViewRegionDidChangeAnimated(this, false);
        return;
    }
    // The centre moves in a straight line on the map while the zoom changes.
    const double startZoom = m_zoom;
    const QPointF from = xr::worldPoint(m_center, 0);
    const QPointF to = xr::worldPoint(region.center, 0);
    auto *animation = new QVariantAnimation(this);
    animation->setDuration(animationMilliseconds);
    animation->setEasingCurve(QEasingCurve::InOutQuad);
    animation->setStartValue(0.0);
    animation->setEndValue(1.0);
    connect(animation, &QVariantAnimation::valueChanged, this, [=, this](const QVariant &value) {
        const double t = value.toDouble();
        moveTo(xr::coordinateAtWorldPoint(from + (to - from) * t, 0), startZoom + (zoom - startZoom) * t);
    });
    connect(animation, &QVariantAnimation::finished, this, [this] {
        if (m_delegate)
            m_delegate->mapViewRegionDidChangeAnimated(this, true);
    });
    m_animation = animation;
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

XRCoordinateRegion XRMapView::region() const
{
    return xr::regionShownAt(m_center, m_zoom, size());
}

bool XRMapView::isAnimating() const
{
    return m_animation && m_animation->state() == QAbstractAnimation::Running;
}

QPointF XRMapView::pointForCoordinate(const QGeoCoordinate &coordinate) const
{
    return xr::worldPoint(coordinate, m_zoom) - xr::worldPoint(m_center, m_zoom) + QPointF(width(), height()) / 2.0;
}

void XRMapView::moveTo(const QGeoCoordinate &center, double zoom)
{
    m_center = center;
    m_zoom = std::clamp(zoom, double(xr::mapMinimumZoom), double(xr::mapMaximumZoom));
    layOutAnnotations();
    update();
}

void XRMapView::layOutAnnotations()
{
    for (XRAnnotationView *view : std::as_const(m_annotationViews)) {
        const QPointF centre = pointForCoordinate(view->annotation().coordinate()) + view->centerOffset();
        view->move((centre - QPointF(view->width(), view->height()) / 2.0).toPoint());
    }
    if (m_callout && m_selected) {
        const QRect pin = m_selected->geometry();
        m_callout->move(pin.center().x() - m_callout->width() / 2, pin.top() - m_callout->height());
        m_callout->raise();
    }
}

void XRMapView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layOutAnnotations();
}

void XRMapView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), landColour);
    m_tilesDrawn = 0;
    if (m_tileLoader.isConfigured())
        drawTiles(painter);
    else
        drawGraticule(painter);
    if (m_showsUserLocation && m_userLocation)
        drawUserLocation(painter);
}

void XRMapView::drawGraticule(QPainter &painter)
{
    const XRCoordinateRegion shown = region();
    const double step = graticuleStep(width() / std::max(shown.longitudeDelta, 1e-9));
    const QGeoCoordinate topLeft = xr::coordinateAtWorldPoint(xr::worldPoint(m_center, m_zoom) - QPointF(width(), height()) / 2.0, m_zoom);
    const QGeoCoordinate bottomRight =
        xr::coordinateAtWorldPoint(xr::worldPoint(m_center, m_zoom) + QPointF(width(), height()) / 2.0, m_zoom);
    painter.setPen(QPen(graticuleColour, 1));
    for (double longitude = std::floor(topLeft.longitude() / step) * step; longitude <= bottomRight.longitude(); longitude += step) {
        const double x = pointForCoordinate(QGeoCoordinate(m_center.latitude(), longitude)).x();
        painter.drawLine(QPointF(x, 0), QPointF(x, height()));
    }
    for (double latitude = std::floor(bottomRight.latitude() / step) * step; latitude <= topLeft.latitude(); latitude += step) {
        const double y = pointForCoordinate(QGeoCoordinate(latitude, m_center.longitude())).y();
        painter.drawLine(QPointF(0, y), QPointF(width(), y));
    }
}

void XRMapView::drawTiles(QPainter &painter)
{
    // Tiles of the whole zoom level below, stretched while the zoom is between levels.
    const int level = std::clamp(int(std::floor(m_zoom + 1e-6)), xr::mapMinimumZoom, xr::mapMaximumZoom);
    const double scale = std::exp2(m_zoom - level);
    const double tile = xr::mapTileSize * scale;
    const QPointF origin = xr::worldPoint(m_center, m_zoom) - QPointF(width(), height()) / 2.0;
    const int firstX = int(std::floor(origin.x() / tile));
    const int firstY = int(std::floor(origin.y() / tile));
    const int lastX = int(std::floor((origin.x() + width()) / tile));
    const int lastY = int(std::floor((origin.y() + height()) / tile));
    painter.setRenderHint(QPainter::SmoothPixmapTransform, scale != 1.0);
    for (int y = firstY; y <= lastY; ++y) {
        for (int x = firstX; x <= lastX; ++x) {
            const XRTileKey key{level, x, y};
            const std::optional<QImage> image = tileImage(key);
            if (!image)
                continue;
            painter.drawImage(QRectF(x * tile - origin.x(), y * tile - origin.y(), tile, tile), *image);
            ++m_tilesDrawn;
        }
    }
}

std::optional<QImage> XRMapView::tileImage(const XRTileKey &key)
{
    const int tiles = 1 << key.zoom;
    if (key.y < 0 || key.y >= tiles)
        return std::nullopt;
    // Tiles repeat east and west around the world.
    const XRTileKey wrapped{key.zoom, ((key.x % tiles) + tiles) % tiles, key.y};
    if (const auto found = m_tiles.constFind(wrapped); found != m_tiles.constEnd())
        return *found;
    if (const std::optional<QByteArray> bytes = m_tileLoader.cachedTile(wrapped)) {
        const QImage image = QImage::fromData(*bytes);
        if (!image.isNull()) {
            if (m_tiles.size() >= memoryTiles)
                m_tiles.clear();
            m_tiles.insert(wrapped, image);
            return image;
        }
    }
    m_tileLoader.requestTile(wrapped);
    return std::nullopt;
}

void XRMapView::tileArrived(const XRTileKey &key, const QByteArray &bytes)
{
    const QImage image = QImage::fromData(bytes);
    if (image.isNull()) {
        qCWarning(lcStores, "Map tile %d/%d/%d is no image", key.zoom, key.x, key.y);
        return;
    }
    m_tileLoader.storeTile(key, bytes);
    if (m_tiles.size() >= memoryTiles)
        m_tiles.clear();
    m_tiles.insert(key, image);
    update();
}

void XRMapView::drawUserLocation(QPainter &painter)
{
    const QPointF point = pointForCoordinate(*m_userLocation);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(userLocationColour.red(), userLocationColour.green(), userLocationColour.blue(), 50));
    painter.drawEllipse(point, 16, 16);
    painter.setPen(QPen(Qt::white, 3));
    painter.setBrush(userLocationColour);
    painter.drawEllipse(point, 7, 7);
}

void XRMapView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_dragFrom = event->position().toPoint();
    m_dragged = false;
}

void XRMapView::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragFrom)
        return;
    const QPoint now = event->position().toPoint();
    if (!m_dragged && (now - *m_dragFrom).manhattanLength() < dragThreshold)
        return;
    m_dragged = true;
    if (m_animation)
        m_animation->stop();
    const QPointF centre = xr::worldPoint(m_center, m_zoom) - QPointF(now - *m_dragFrom);
    m_dragFrom = now;
    moveTo(xr::coordinateAtWorldPoint(centre, m_zoom), m_zoom);
}

void XRMapView::mouseReleaseEvent(QMouseEvent *event)
{
    // A click on the map itself closes the callout.
    if (event->button() == Qt::LeftButton && !m_dragged)
        deselectAnnotations();
    if (m_dragged && m_delegate)
        m_delegate->mapViewRegionDidChangeAnimated(this, false);
    m_dragFrom.reset();
}

void XRMapView::wheelEvent(QWheelEvent *event)
{
    const int steps = event->angleDelta().y() / 120;
    if (steps == 0)
        return;
    if (m_animation)
        m_animation->stop();
    moveTo(m_center, std::round(m_zoom) + steps);
    if (m_delegate)
        m_delegate->mapViewRegionDidChangeAnimated(this, false);
}
