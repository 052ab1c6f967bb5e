#include "XRMapStoreLocatorViewController.h"

#include "XRApplication.h"
#include "XRApplicationDelegate.h"
#include "XRConfiguration.h"
#include "XRImage.h"
#include "XRLocalizedString.h"
#include "XRLog.h"
#include "XRMapGeometry.h"
#include "XRVaxloShopViewController.h"

#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QStyle>

namespace {

constexpr int barHeight = 44;

const char screenStyle[] =
    "QWidget#mapBar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #3b4f73, stop:1 #1f2f4d); }"
    "QLabel#mapTitle { color: white; background: transparent; }"
    "QPushButton#doneButton, QPushButton#posButton { color: white; font-size: 12px; font-weight: bold;"
    " background: #2c3d5e; border: 1px solid #15213a; border-radius: 5px; padding: 0 6px; }"
    "QPushButton#posButton[barStyle=\"2\"] { background: #3f6ab0; border-color: #27477d; }"
    "QPushButton:pressed { background: #15213a; }"
    "QPushButton#detailDisclosureButton { color: white; font-size: 16px; font-weight: bold; background: #2f7de1;"
    " border: 2px solid white; border-radius: 13px; padding-bottom: 2px; }";

XRMapStoreLocatorViewController::LocationManagerFactory &locationManagerFactory()
{
    static XRMapStoreLocatorViewController::LocationManagerFactory factory;
    return factory;
}

std::unique_ptr<XRLocationManager> makeLocationManager()
{
    if (locationManagerFactory())
        return locationManagerFactory()();
    const XRApplicationDelegate *appDelegate = XRApplication::sharedApplication().delegate();
    const QString source = appDelegate ? appDelegate->configuration().locationSource : QStringLiteral("system");
    return std::make_unique<XRLocationManager>(XRLocationManager::positionSource(source));
}

} // namespace

void XRMapStoreLocatorViewController::setLocationManagerFactory(LocationManagerFactory factory)
{
    locationManagerFactory() = std::move(factory);
}

XRMapStoreLocatorViewController::XRMapStoreLocatorViewController(QObject *parent)
    : XRViewController(parent)
{
    setViewStyleSheet(screenStyle);
}

XRMapStoreLocatorViewController::~XRMapStoreLocatorViewController()
{
    if (m_mapView)
        m_mapView->setDelegate(nullptr);
    if (m_locationManager)
        m_locationManager->setDelegate(nullptr);
}

QWidget *XRMapStoreLocatorViewController::loadView()
{
    QWidget *view = XRViewController::loadView();
    view->setObjectName(QStringLiteral("mapScreen"));

    auto *bar = new QWidget(view);
    bar->setObjectName(QStringLiteral("mapBar"));
    bar->setAttribute(Qt::WA_StyledBackground);
    bar->setGeometry(0, 0, view->width(), barHeight);

    auto *doneButton = new QPushButton(XRLocalizedString("Done"), bar);
    doneButton->setObjectName(QStringLiteral("doneButton"));
    doneButton->setFocusPolicy(Qt::TabFocus);
    doneButton->setGeometry(6, 7, 70, 30);
    doneButton->setAccessibleDescription(XRLocalizedString("Closes the map"));
    connect(doneButton, &QPushButton::clicked, this, &XRMapStoreLocatorViewController::done);

    m_posButton = new QPushButton(XRLocalizedString("Position"), bar);
    m_posButton->setObjectName(QStringLiteral("posButton"));
    m_posButton->setFocusPolicy(Qt::TabFocus);
    m_posButton->setGeometry(view->width() - 86, 7, 80, 30);
    m_posButton->setAccessibleDescription(XRLocalizedString("Follows where you are on the map"));
    // Checked while the map follows the device, which a screen reader says.
    m_posButton->setCheckable(true);
    setPosButtonStyle(borderedStyle);
    connect(m_posButton, &QPushButton::clicked, this, &XRMapStoreLocatorViewController::switchTrackingLocation);

    auto *title = new QLabel(bar);
    title->setObjectName(QStringLiteral("mapTitle"));
    title->setAlignment(Qt::AlignCenter);
    QFont bold = title->font();
    bold.setPixelSize(15);
    bold.setBold(true);
    title->setFont(bold);
    title->setGeometry(80, 0, view->width() - 170, barHeight);
    title->setText(title->fontMetrics().elidedText(m_currentStore.value(QStringLiteral("name")).toString(),
                                                   Qt::ElideRight, title->width()));

    const XRApplicationDelegate *appDelegate = XRApplication::sharedApplication().delegate();
    const QString tiles = appDelegate ? appDelegate->configuration().tileURLTemplate : QString();
    m_mapView = new XRMapView(tiles, QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/tiles"), view);
    m_mapView->setGeometry(0, barHeight, view->width(), view->height() - barHeight);
    m_mapView->setDelegate(this);
    m_mapView->setAccessibleName(XRLocalizedString("Map"));
    return view;
}

void XRMapStoreLocatorViewController::viewDidLoad()
{
    XRViewController::viewDidLoad();
    setupCoreLocation();
    startTrackingLocation();
    setupPlacemark();
    adjustMapToSetup();
}

void XRMapStoreLocatorViewController::setupCoreLocation()
{
    m_mapView->setShowsUserLocation(true);
    m_mapView->setMapType(0);
    // The map knows where the device was last seen before this screen's own
    // manager reports, and directions asked for meanwhile start there too.
    const XRApplicationDelegate *appDelegate = XRApplication::sharedApplication().delegate();
    if (appDelegate && appDelegate->location()) {
        m_location = appDelegate->location()->coordinate();
        m_mapView->setUserLocation(m_location);
    }
}

void XRMapStoreLocatorViewController::setupPlacemark()
{
    m_mapView->addAnnotation(XRStoreAnnotation::initWithStoreDictionary(m_currentStore));
}

void XRMapStoreLocatorViewController::adjustMapToSetup()
{
    QList<QGeoCoordinate> coordinates;
    for (const XRStoreAnnotation &annotation : m_mapView->annotations())
        coordinates.append(annotation.coordinate());
    // An unknown device position is left out rather than framed at 0, 0.
    if (m_mapView->showsUserLocation() && m_mapView->userLocation())
        coordinates.append(*m_mapView->userLocation());
    const std::optional<XRCoordinateRegion> region = xr::regionFramingCoordinates(coordinates);
    if (!region)
        return;
    m_mapView->setRegion(m_mapView->regionThatFits(*region), true);
}

void XRMapStoreLocatorViewController::startTrackingLocation()
{
    if (!m_locationManager) {
        m_locationManager = makeLocationManager();
        m_locationManager->setDelegate(this);
        m_locationManager->setDesiredAccuracy(XRLocationManager::accuracyNearestTenMeters);
    }
    m_locationManager->startUpdatingLocation();
    if (m_posButton)
        m_posButton->setChecked(true);
}

void XRMapStoreLocatorViewController::stopTrackingLocation()
{
    if (!m_locationManager)
        return;
    qCInfo(lcLocation, "cleaning up locationManager");
    m_locationManager->setDelegate(nullptr);
    m_locationManager->stopUpdatingLocation();
    m_locationManager.reset();
    if (m_posButton)
        m_posButton->setChecked(false);
}

void XRMapStoreLocatorViewController::switchTrackingLocation()
{
    if (m_locationManager) {
        stopTrackingLocation();
        setPosButtonStyle(borderedStyle);
    } else {
        startTrackingLocation();
        setPosButtonStyle(doneStyle);
    }
}

int XRMapStoreLocatorViewController::posButtonStyle() const
{
    return m_posButton ? m_posButton->property("barStyle").toInt() : borderedStyle;
}

void XRMapStoreLocatorViewController::setPosButtonStyle(int style)
{
    m_posButton->setProperty("barStyle", style);
    m_posButton->style()->unpolish(m_posButton);
    m_posButton->style()->polish(m_posButton);
}

void XRMapStoreLocatorViewController::done()
{
    stopTrackingLocation();
    if (m_delegate)
        m_delegate->dismissMap();
}

void XRMapStoreLocatorViewController::locationManagerDidUpdateToLocationFromLocation(XRLocationManager *,
                                                                                     const QGeoPositionInfo &newLocation,
                                                                                     const QGeoPositionInfo &)
{
    // An update without a position says nothing of where the device is.
    if (!newLocation.isValid())
        return;
    m_location = newLocation.coordinate();
    m_mapView->setUserLocation(m_location);
    adjustMapToSetup();
}

void XRMapStoreLocatorViewController::locationManagerDidFailWithError(XRLocationManager *, const XRError &error)
{
    qCWarning(lcLocation, "Map location error: %s", qUtf8Printable(error.description()));
}

XRAnnotationView *XRMapStoreLocatorViewController::mapViewViewForAnnotation(XRMapView *, const XRStoreAnnotation &annotation)
{
    auto *view = new XRAnnotationView(annotation, annotationIdentifier);
    auto *icon = new QLabel(view);
    icon->setObjectName(QStringLiteral("mapIcon"));
    icon->setPixmap(xr::pngPixmap(QStringLiteral(":/images/mapIcon.png")));
    icon->adjustSize();
    icon->hide();
    view->setLeftCalloutAccessoryView(icon);
    auto *disclosure = new QPushButton(QStringLiteral("›"), view);
    disclosure->setObjectName(QStringLiteral("detailDisclosureButton"));
    disclosure->setFocusPolicy(Qt::TabFocus);
    disclosure->setFixedSize(26, 26);
    disclosure->setToolTip(XRLocalizedString("Directions"));
    disclosure->setAccessibleName(disclosure->toolTip());
    disclosure->setAccessibleDescription(XRLocalizedString("Opens driving directions to the store"));
    disclosure->setStyleSheet(QString::fromLatin1(screenStyle));
    disclosure->hide();
    view->setRightCalloutAccessoryView(disclosure);
    view->setImage(xr::pngPixmap(QStringLiteral(":/images/vaxloPin2.png")));
    view->setCanShowCallout(true);
    view->setCenterOffset(QPointF(12, -35));
    return view;
}

void XRMapStoreLocatorViewController::mapViewAnnotationViewCalloutAccessoryControlTapped(XRMapView *,
                                                                                         XRAnnotationView *view,
                                                                                         QWidget *control)
{
    if (control != view->rightCalloutAccessoryView())
        return;
    const XRApplicationDelegate *appDelegate = XRApplication::sharedApplication().delegate();
    const QString host = appDelegate && !appDelegate->configuration().directionsHost.isEmpty()
                             ? appDelegate->configuration().directionsHost
                             : xr::defaultDirectionsHost;
    XRApplication::sharedApplication().openURL(xr::directionsURL(host, m_location, m_currentStore));
}
