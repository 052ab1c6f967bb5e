#include "XRAppDelegate.h"

#include "XRAppShell.h"
#include "XRLocalizedString.h"
#include "XRLog.h"
#include "XRMarkets.h"
#include "XRNotificationCenter.h"
#include "XRNotifications.h"
#include "XRStoreLocatorDownloader.h"
#include "XRUserDefaults.h"

namespace {

const QString languageKey = QStringLiteral("language");

QDateTime distantPast()
{
    return QDateTime(QDate(1, 1, 1), QTime(0, 0), Qt::UTC);
}

// How a preference value is written in the log; an absent one as "(null)".
QString logText(const QVariant &value)
{
    return value.isValid() ? value.toString() : QStringLiteral("(null)");
}

} // namespace

XRAppDelegate::XRAppDelegate(const XRConfiguration &configuration, XRAppShell *shell)
    : m_configuration(configuration)
    , m_shell(shell)
    , m_lastNetworkAlertDate(distantPast())
    , m_clock([] { return QDateTime::currentDateTimeUtc(); })
{
}

XRAppDelegate::~XRAppDelegate()
{
    XRNotificationCenter::defaultCenter().removeObserver(this);
}

void XRAppDelegate::applicationDidFinishLaunching()
{
    settleLanguage();

    // The first network failure after launch always shows the alert.
    m_lastNetworkAlertDate = distantPast();

    m_settingsDict = loadDictionary(settingsFileName, "Error: no settings loaded. create new settings.");
    m_currencyDict = loadDictionary(currencyFileName, "Error: no currencies loaded. create new currencyDict");

    // Registered before any screen registers its own, so that the store
    // collection is rebuilt before a screen reads it.
    auto &center = XRNotificationCenter::defaultCenter();
    center.addObserver(this, XRStoresDidEndParsingNotification, [this](const XRNotification &) { setupStoresArray(); });
    center.addObserver(this, XRLanguageChangedNotification, [this](const XRNotification &) { loadCurrentStoreList(); });

    m_location.reset();
    // The branch list and the position source are not needed for the first
    // frame: the network and the position plugins load after it.
    const auto startLoading = [this] {
        loadCurrentStoreList();
        startTrackingLocation();
    };
    if (!m_shell) {
        startLoading();
        return;
    }
    m_shell->setStatusBarStyle(2);
    m_shell->makeKeyAndVisible();
    m_shell->afterFirstFrame(startLoading);
}

void XRAppDelegate::settleLanguage()
{
    XRUserDefaults &defaults = XRUserDefaults::standardUserDefaults();
    const QVariant stored = defaults.objectForKey(languageKey);
    qCInfo(lcApp, "LangKey Pre: %s", qUtf8Printable(logText(stored)));
    if (stored.isValid())
        return;

    defaults.registerDefaults({{languageKey, 0}});
    const QString phoneLanguage = defaults.objectForKey(QStringLiteral("AppleLanguages")).toStringList().value(0);
    qCInfo(lcApp, "Phone lang: %s", qUtf8Printable(phoneLanguage));
    if (const auto index = xr::languageIndexForDeviceLanguage(phoneLanguage))
        defaults.setObject(*index, languageKey);
    qCInfo(lcApp, "LangKey Post: %s", qUtf8Printable(logText(defaults.objectForKey(languageKey))));
    defaults.synchronize();
}

QVariantMap XRAppDelegate::loadDictionary(const char *fileName, const char *missingMessage)
{
    const std::optional<QVariant> plist = applicationPlistFromFile(QString::fromLatin1(fileName));
    if (!plist || plist->typeId() != QMetaType::QVariantMap) {
        qCInfo(lcApp, "%s", missingMessage);
        return {};
    }
    return plist->toMap();
}

void XRAppDelegate::applicationDidEnterBackground()
{
    storeCurrency();
    storeSettings();
}

void XRAppDelegate::displayLoadingSplash()
{
    if (m_loadingSplashShown)
        return;
    m_loadingSplashShown = true;
    if (m_shell)
        m_shell->showLoadingSplash(loadingSplashFrame);
}

void XRAppDelegate::dismissLoadingSplash()
{
    if (!m_loadingSplashShown)
        return;
    m_loadingSplashShown = false;
    if (m_shell)
        m_shell->removeLoadingSplash();
}

void XRAppDelegate::showNetworkErrorAlert()
{
    dismissLoadingSplash();
    const QDateTime now = m_clock();
    const double interval = double(now.msecsTo(m_lastNetworkAlertDate)) / 1000.0;
    qCInfo(lcApp, "last network alert: %.0f", interval);
    if (interval >= -60.0)
        return;
    m_lastNetworkAlertDate = now;
    if (m_shell)
        m_shell->showAlert(XRLocalizedString("XRNetworkAlertTitle"), XRLocalizedString("XRNetworkAlertMessage"),
                           XRLocalizedString("OK"));
}

bool XRAppDelegate::storeSettings()
{
    if (writeApplicationPlistToFile(m_settingsDict, QString::fromLatin1(settingsFileName)))
        return true;
    qCWarning(lcData, "Error saving settings");
    return false;
}

bool XRAppDelegate::storeCurrency()
{
    if (writeApplicationPlistToFile(m_currencyDict, QString::fromLatin1(currencyFileName)))
        return true;
    qCWarning(lcData, "Error saving currency");
    return false;
}

bool XRAppDelegate::writeApplicationPlistToFile(const QVariant &plist, const QString &fileName)
{
    return m_dataFiles.writeApplicationPlist(plist, fileName);
}

bool XRAppDelegate::writeApplicationDataToFile(const QByteArray &data, const QString &fileName)
{
    return m_dataFiles.writeApplicationData(data, fileName);
}

std::optional<QByteArray> XRAppDelegate::applicationDataFromFile(const QString &fileName)
{
    return m_dataFiles.applicationDataFromFile(fileName);
}

std::optional<QVariant> XRAppDelegate::applicationPlistFromFile(const QString &fileName)
{
    return m_dataFiles.applicationPlistFromFile(fileName);
}

void XRAppDelegate::loadCurrentStoreList()
{
    if (m_storeLocator) {
        XRStoreLocatorDownloader *dropped = m_storeLocator.release();
        dropped->setParent(&m_droppedStoreLocators);
        dropped->deleteWhenTransferEnds();
    }
    m_storeLocator = std::make_unique<XRStoreLocatorDownloader>(*this);
    m_storeLocator->loadStoresAndNotify();
}

void XRAppDelegate::setupStoresArray()
{
    m_storeCollection.setupStoresArray(m_settingsDict);
}

void XRAppDelegate::addLocationsToStores()
{
    m_storeCollection.addLocationsToStores();
}

void XRAppDelegate::setLocationManager(std::unique_ptr<XRLocationManager> manager)
{
    m_locationManager = std::move(manager);
    m_locationManager->setDelegate(this);
    m_locationManager->setDesiredAccuracy(XRLocationManager::accuracyNearestTenMeters);
}

void XRAppDelegate::startTrackingLocation()
{
    if (!m_locationManager)
        setLocationManager(std::make_unique<XRLocationManager>(
            XRLocationManager::positionSource(m_configuration.locationSource)));
    m_locationManager->startUpdatingLocation();
}

void XRAppDelegate::stopTrackingLocation()
{
    if (m_locationManager)
        m_locationManager->stopUpdatingLocation();
}

void XRAppDelegate::locationManagerDidUpdateToLocationFromLocation(XRLocationManager *,
                                                                   const QGeoPositionInfo &newLocation,
                                                                   const QGeoPositionInfo &)
{
    qCInfo(lcLocation, "AppDelegate location changed");
    m_location = newLocation;
    ++m_gpsSearches;
    if (m_gpsSearches >= 4)
        stopTrackingLocation();
    XRNotificationCenter::defaultCenter().postNotificationName(XRLocationDidUpdateNotification);
}

void XRAppDelegate::locationManagerDidFailWithError(XRLocationManager *, const XRError &error)
{
    qCWarning(lcLocation, "ERROR: %s", qUtf8Printable(error.description()));
}
