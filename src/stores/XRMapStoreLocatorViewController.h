#pragma once

#include "XRLocationManager.h"
#include "XRMapView.h"
#include "XRViewController.h"

#include <QGeoCoordinate>
#include <QVariantMap>

#include <functional>
#include <memory>

class QPushButton;
class XRVaxloShopViewController;

// The map of one store, opened from the store list: the store's pin, the
// device's own marker, both framed, following the device with a location
// manager of its own; the pin's callout opens driving directions.
class XRMapStoreLocatorViewController : public XRViewController, private XRLocationManagerDelegate, private XRMapViewDelegate
{
    Q_OBJECT
public:
    // The bar button styles that show tracking off and on.
    static constexpr int borderedStyle = 1;
    static constexpr int doneStyle = 2;
    static inline const QString annotationIdentifier = QStringLiteral("storeView");

    using LocationManagerFactory = std::function<std::unique_ptr<XRLocationManager>()>;
    // How each new location manager is made; by default from the configured
    // position source. Tests give their own.
    static void setLocationManagerFactory(LocationManagerFactory factory);

    explicit XRMapStoreLocatorViewController(QObject *parent = nullptr);
    ~XRMapStoreLocatorViewController() override;

    XRVaxloShopViewController *delegate() const { return m_delegate; }
    void setDelegate(XRVaxloShopViewController *delegate) { m_delegate = delegate; }
    QVariantMap currentStore() const { return m_currentStore; }
    void setCurrentStore(const QVariantMap &store) { m_currentStore = store; }
    XRLocationManager *locationManager() const { return m_locationManager.get(); }
    QGeoCoordinate location() const { return m_location; }
    XRMapView *mapView() const { return m_mapView; }
    QPushButton *posButton() const { return m_posButton; }
    int posButtonStyle() const;

    void setupCoreLocation();
    void setupPlacemark();
    void adjustMapToSetup();
    void startTrackingLocation();
    void stopTrackingLocation();
    void switchTrackingLocation();
    void done();
    // Escape closes the map as Done does.
    bool goBack() override
    {
        done();
        return true;
    }

protected:
    QWidget *loadView() override;
    void viewDidLoad() override;

private:
    void locationManagerDidUpdateToLocationFromLocation(XRLocationManager *manager, const QGeoPositionInfo &newLocation,
                                                        const QGeoPositionInfo &oldLocation) override;
    void locationManagerDidFailWithError(XRLocationManager *manager, const XRError &error) override;
    XRAnnotationView *mapViewViewForAnnotation(XRMapView *mapView, const XRStoreAnnotation &annotation) override;
    void mapViewAnnotationViewCalloutAccessoryControlTapped(XRMapView *mapView, XRAnnotationView *view,
                                                            QWidget *control) override;
    void mapViewRegionDidChangeAnimated(XRMapView *, bool) override {}
    void setPosButtonStyle(int style);

    XRVaxloShopViewController *m_delegate = nullptr;
    QVariantMap m_currentStore;
    std::unique_ptr<XRLocationManager> m_locationManager;
    // Invalid until the device's position is known.
    QGeoCoordinate m_location;
    XRMapView *m_mapView = nullptr;
    QPushButton *m_posButton = nullptr;
};
