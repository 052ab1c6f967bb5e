#pragma once

// The demo retailer in process, and the application's window, shell and
// delegate launched against it; the test gives the tabs.

#include "DemoService.h"
#include "XRAppDelegate.h"
#include "XRApplication.h"
#include "XRLocalizedString.h"
#include "XRTabBarController.h"
#include "XRUserDefaults.h"
#include "XRWindow.h"
#include "XRWindowShell.h"

#include <QTemporaryDir>

#include <functional>
#include <memory>

namespace xr::test {

class DemoApplication
{
public:
    ~DemoApplication()
    {
        // The screens go before the delegate they refer to.
        window.reset();
        XRApplication::sharedApplication().setDelegate(nullptr);
        shell.reset();
        delegate.reset();
        if (service)
            service->stop();
    }

    // Starts the service; the configuration then names its four markets and
    // its reservation desk, and no position source.
    bool startService(QString &error)
    {
        service = std::make_unique<xr::demo::DemoService>(xr::demo::DemoOptions{.dataDir = dataDir.path(), .portBase = 0});
        if (!service->start(error))
            return false;
        const char *codes[] = {"SE", "DK", "NO", "FI"};
        for (size_t i = 0; i < 4; ++i)
            configuration.marketHosts[i] = service->marketAddress(QString::fromLatin1(codes[i]));
        configuration.reservationHost = service->reservationAddress();
        configuration.reservationCAFile = service->caCertificate();
        configuration.locationSource = QStringLiteral("nmea:none");
        return true;
    }

    // A launch as the first one: the market of the language index, the texts
    // of the language, no default store and no stored list.
    void launchApplication(int languageIndex, const QString &language,
                           const std::function<XRTabBarController *(XRWindow *)> &makeTabs)
    {
        XRUserDefaults::resetStandardUserDefaults();
        XRUserDefaults &defaults = XRUserDefaults::standardUserDefaults();
        for (const char *key : {"XRDefaultStore", "XRDefaultStoreName", "XRDefaultStoreCity", "storeEtag"})
            defaults.removeObjectForKey(QString::fromLatin1(key));
        defaults.setObject(languageIndex, QStringLiteral("language"));
        xr::installTranslations(language);
        window = std::make_unique<XRWindow>();
        shell = std::make_unique<XRWindowShell>(window.get());
        delegate = std::make_unique<XRAppDelegate>(configuration, shell.get());
        XRApplication::sharedApplication().setDelegate(delegate.get());
        tabs = makeTabs(window.get());
        window->setRootViewController(tabs);
        delegate->applicationDidFinishLaunching();
    }

    QTemporaryDir dataDir;
    std::unique_ptr<xr::demo::DemoService> service;
    XRConfiguration configuration;
    std::unique_ptr<XRWindow> window;
    std::unique_ptr<XRWindowShell> shell;
    std::unique_ptr<XRAppDelegate> delegate;
    XRTabBarController *tabs = nullptr;
};

} // namespace xr::test
