#pragma once

#include "XRAnnotationView.h"
#include "XRCalloutView.h"
#include "XRMapGeometry.h"
#include "XRStoreAnnotation.h"
#include "XRTileLoader.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QPointer>
#include <QWidget>

#include <optional>

class QVariantAnimation;
class XRMapView;

// What the map asks of and tells its owner.
class XRMapViewDelegate
{
public:
    virtual ~XRMapViewDelegate() = default;
    // The pin of a store annotation; the map owns it. The device's own
    // position is always drawn by the map itself.
    virtual XRAnnotationView *mapViewViewForAnnotation(XRMapView *mapView, const XRStoreAnnotation &annotation) = 0;
    virtual void mapViewAnnotationViewCalloutAccessoryControlTapped(XRMapView *mapView, XRAnnotationView *view,
                                                                    QWidget *control) = 0;
    virtual void mapViewRegionDidChangeAnimated(XRMapView *mapView, bool animated) = 0;
};

// A map of raster tiles in the Web Mercator projection from the configured URL
// template (a plain background with a graticule without one), with store
// pins, their callouts and the device's own marker. Dragging moves the map and
// the wheel zooms it.
class XRMapView : public QWidget
{
    Q_OBJECT
public:
    static constexpr int animationMilliseconds = 400;
    // Room kept free on each side when fitting a region, so that pins standing
    // on its edge and their callouts stay in sight.
    static constexpr int framingMarginX = 44;
    static constexpr int framingMarginY = 76;

    // tileURLTemplate may be empty; tiles are cached under cacheFolder.
    XRMapView(const QString &tileURLTemplate, const QString &cacheFolder, QWidget *parent = nullptr);
    ~XRMapView() override;

    void setDelegate(XRMapViewDelegate *delegate) { m_delegate = delegate; }

    // Only the standard map type (0) exists here.
    void setMapType(int type) { m_mapType = type; }
    int mapType() const { return m_mapType; }
    void setShowsUserLocation(bool shows);
    bool showsUserLocation() const { return m_showsUserLocation; }
    // The device's position as the map draws it; nothing until known.
    std::optional<QGeoCoordinate> userLocation() const { return m_userLocation; }
    void setUserLocation(const QGeoCoordinate &coordinate);

    void addAnnotation(const XRStoreAnnotation &annotation);
    QList<XRStoreAnnotation> annotations() const { return m_annotations; }
    QList<XRAnnotationView *> annotationViews() const { return m_annotationViews; }
    // The callout of the pin the user chose; null while none is open.
    XRCalloutView *callout() const { return m_callout; }
    void selectAnnotationView(XRAnnotationView *view);
    void deselectAnnotations();

    // The region a view of this size shows when asked to show the region.
    XRCoordinateRegion regionThatFits(const XRCoordinateRegion &region) const;
    void setRegion(const XRCoordinateRegion &region, bool animated);
    XRCoordinateRegion region() const;
    QGeoCoordinate centerCoordinate() const { return m_center; }
    double zoom() const { return m_zoom; }
    bool isAnimating() const;
    // Where the coordinate lies in the view.
    QPointF pointForCoordinate(const QGeoCoordinate &coordinate) const;

    XRTileLoader &tileLoader() { return m_tileLoader; }
    // Tiles drawn from memory or disk in the last paint, and those missing.
    int tilesDrawn() const { return m_tilesDrawn; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void moveTo(const QGeoCoordinate &center, double zoom);
    QSizeF framingSize() const;
    void layOutAnnotations();
    void drawGraticule(QPainter &painter);
    void drawTiles(QPainter &painter);
    void drawUserLocation(QPainter &painter);
    std::optional<QImage> tileImage(const XRTileKey &key);
    void tileArrived(const XRTileKey &key, const QByteArray &bytes);

    XRMapViewDelegate *m_delegate = nullptr;
    XRTileLoader m_tileLoader;
    QHash<XRTileKey, QImage> m_tiles;
    int m_tilesDrawn = 0;
    int m_mapType = 0;
    bool m_showsUserLocation = false;
    std::optional<QGeoCoordinate> m_userLocation;
    QList<XRStoreAnnotation> m_annotations;
    QList<XRAnnotationView *> m_annotationViews;
    QPointer<XRCalloutView> m_callout;
    QPointer<XRAnnotationView> m_selected;
    QGeoCoordinate m_center{0.0, 0.0};
    double m_zoom = xr::mapMinimumZoom;
    QPointer<QVariantAnimation> m_animation;
    std::optional<QPoint> m_dragFrom;
    bool m_dragged = false;
};
