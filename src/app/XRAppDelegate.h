#pragma once

#include "XRApplicationDelegate.h"
#include "XRConfiguration.h"
#include "XRDataFiles.h"
#include "XRLocationManager.h"
#include "XRStoreCollection.h"

#include <QDateTime>
#include <QGeoPositionInfo>
#include <QObject>
#include <QRect>
#include <QVariant>
#include <QVariantMap>

#include <functional>
#include <memory>
#include <optional>

class XRAppShell;
class XRStoreLocatorDownloader;

// The application delegate: runs the launch, owns the state the screens share
// (the settings and currency dictionaries, the store collection, the device
// location), saves the data files, and shows the loading splash and the one
// network alert for every screen.
class XRAppDelegate : public XRApplicationDelegate, private XRLocationManagerDelegate
{
public:
    static constexpr const char *settingsFileName = "settings.vaxlodata";
    static constexpr const char *currencyFileName = "currency.vaxlodata";
    // Where the loading splash sits, in window coordinates.
    static constexpr QRect loadingSplashFrame{80, 200, 160, 75};

    explicit XRAppDelegate(const XRConfiguration &configuration, XRAppShell *shell = nullptr);
    ~XRAppDelegate() override;
    XRAppDelegate(const XRAppDelegate &) = delete;
    XRAppDelegate &operator=(const XRAppDelegate &) = delete;

    const XRConfiguration &configuration() const override { return m_configuration; }
    XRAppShell *shell() const { return m_shell; }

    void applicationDidFinishLaunching();
    void applicationDidEnterBackground();

    // The settings and currency dictionaries: made once at launch and changed
    // in place by everyone else.
    QVariantMap &settingsDict() override { return m_settingsDict; }
    QVariantMap &currencyDict() override { return m_currencyDict; }

    void displayLoadingSplash() override;
    void dismissLoadingSplash() override;
    bool isLoadingSplashShown() const { return m_loadingSplashShown; }

    // Dismisses the splash and shows the network alert unless one was shown
    // within the last 60 seconds.
    void showNetworkErrorAlert() override;
    // The clock the alert throttle reads; tests move it.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    bool storeSettings() override;
    bool storeCurrency() override;
    bool writeApplicationPlistToFile(const QVariant &plist, const QString &fileName);
    bool writeApplicationDataToFile(const QByteArray &data, const QString &fileName);
    std::optional<QByteArray> applicationDataFromFile(const QString &fileName);
    std::optional<QVariant> applicationPlistFromFile(const QString &fileName);
    XRDataFiles &dataFiles() override { return m_dataFiles; }

    // Starts a new branch download. The previous downloader is let go without
    // cancelling its transfer: it runs to its end, posts as usual, then goes.
    void loadCurrentStoreList() override;
    // The downloader of the latest load; null before the first.
    XRStoreLocatorDownloader *storeLocator() const { return m_storeLocator.get(); }

    // The store collection, rebuilt from "storesDict" whenever a branch list
    // has been announced; nothing before the first build.
    void setupStoresArray();
    void addLocationsToStores();
    const std::optional<QVariantList> &storesArray() const override { return m_storeCollection.storesArray(); }
    void addDistanceToStores(const QGeoCoordinate &position) override { m_storeCollection.addDistanceToStores(position); }
    // The collection ordered by "city", for the store choosers.
    std::optional<QVariantList> sortedStoresArray() const override { return m_storeCollection.sortedStoresArray(); }

    // Device location: reports until the fourth since launch, then off; each
    // report posts "XRLocationDidUpdateNotification".
    void startTrackingLocation() override;
    void stopTrackingLocation() override;
    // The newest reported location; nothing until the first report.
    const std::optional<QGeoPositionInfo> &location() const override { return m_location; }
    unsigned gpsSearches() const { return m_gpsSearches; }
    // Made on the first startTrackingLocation() from the configuration's
    // location source, unless one was given before.
    XRLocationManager *locationManager() const { return m_locationManager.get(); }
    // Takes the manager as its own and becomes its delegate; tests give one
    // over a position source of their own.
    void setLocationManager(std::unique_ptr<XRLocationManager> manager);

private:
    void locationManagerDidUpdateToLocationFromLocation(XRLocationManager *manager, const QGeoPositionInfo &newLocation,
                                                        const QGeoPositionInfo &oldLocation) override;
    void locationManagerDidFailWithError(XRLocationManager *manager, const XRError &error) override;

    void settleLanguage();
    QVariantMap loadDictionary(const char *fileName, const char *missingMessage);

    XRConfiguration m_configuration;
    XRAppShell *m_shell;
    XRDataFiles m_dataFiles;
    QVariantMap m_settingsDict;
    QVariantMap m_currencyDict;
    bool m_loadingSplashShown = false;
    QDateTime m_lastNetworkAlertDate;
    std::function<QDateTime()> m_clock;

    XRStoreCollection m_storeCollection;
    // Parent of the downloaders let go while their transfer runs; each deletes
    // itself when it ends, and whatever still runs goes with the delegate.
    QObject m_droppedStoreLocators;
    std::unique_ptr<XRStoreLocatorDownloader> m_storeLocator;

    std::unique_ptr<XRLocationManager> m_locationManager;
    std::optional<QGeoPositionInfo> m_location;
    unsigned m_gpsSearches = 0;
};
