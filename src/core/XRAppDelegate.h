#pragma once

#include "XRConfiguration.h"
#include "XRDataFiles.h"

#include <QDateTime>
#include <QRect>
#include <QVariant>
#include <QVariantMap>

#include <functional>
#include <optional>

class XRAppShell;

// The application delegate: runs the launch, owns the state the screens share
// (the settings and currency dictionaries, the store collection, the device
// location), saves the data files, and shows the loading splash and the one
// network alert for every screen.
class XRAppDelegate
{
public:
    static constexpr const char *settingsFileName = "settings.vaxlodata";
    static constexpr const char *currencyFileName = "currency.vaxlodata";
    // Where the loading splash sits, in window coordinates.
    static constexpr QRect loadingSplashFrame{80, 200, 160, 75};

    explicit XRAppDelegate(const XRConfiguration &configuration, XRAppShell *shell = nullptr);
    ~XRAppDelegate();
    XRAppDelegate(const XRAppDelegate &) = delete;
    XRAppDelegate &operator=(const XRAppDelegate &) = delete;

    const XRConfiguration &configuration() const { return m_configuration; }
    XRAppShell *shell() const { return m_shell; }
    void setShell(XRAppShell *shell) { m_shell = shell; }

    void applicationDidFinishLaunching();
    void applicationDidEnterBackground();

    // The settings and currency dictionaries: made once at launch and changed
    // in place by everyone else.
    QVariantMap &settingsDict() { return m_settingsDict; }
    QVariantMap &currencyDict() { return m_currencyDict; }

    void displayLoadingSplash();
    void dismissLoadingSplash();
    bool isLoadingSplashShown() const { return m_loadingSplashShown; }

    // Dismisses the splash and shows the network alert unless one was shown
    // within the last 60 seconds.
    void showNetworkErrorAlert();
    QDateTime lastNetworkAlertDate() const { return m_lastNetworkAlertDate; }
    // The clock the alert throttle reads; tests move it.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    void storeSettings();
    void storeCurrency();
    bool writeApplicationPlistToFile(const QVariant &plist, const QString &fileName);
    bool writeApplicationDataToFile(const QByteArray &data, const QString &fileName);
    std::optional<QByteArray> applicationDataFromFile(const QString &fileName);
    std::optional<QVariant> applicationPlistFromFile(const QString &fileName);
    XRDataFiles &dataFiles() { return m_dataFiles; }

    // The branch download and location tracking of the launch.
    void loadCurrentStoreList();
    void startTrackingLocation();

private:
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
};
