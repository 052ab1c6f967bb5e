#pragma once

// The application's window, shell and delegate, launched as the program
// launches them against the test's configuration; the test gives the tabs.

#include "XRAppDelegate.h"
#include "XRApplication.h"
#include "XRLocalizedString.h"
#include "XRTabBarController.h"
#include "XRUserDefaults.h"
#include "XRWindow.h"
#include "XRWindowShell.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <functional>
#include <memory>

namespace xr::test {

class LaunchedApplication
{
public:
    using MakeTabs = std::function<XRTabBarController *(XRWindow *)>;

    LaunchedApplication() { configuration.locationSource = QStringLiteral("nmea:none"); }
    ~LaunchedApplication() { close(); }

    // A launch as the first one: no stored files or settings, the market of
    // the language index and the texts of the language.
    void firstLaunch(int languageIndex, const QString &language, const MakeTabs &makeTabs)
    {
        for (auto location : {QStandardPaths::AppDataLocation, QStandardPaths::CacheLocation})
            QDir(QStandardPaths::writableLocation(location)).removeRecursively();
        XRUserDefaults::resetStandardUserDefaults();
        QFile::remove(XRUserDefaults::standardUserDefaults().filePath());
        XRUserDefaults::resetStandardUserDefaults();
        XRUserDefaults::standardUserDefaults().setObject(languageIndex, QStringLiteral("language"));
        xr::installTranslations(language);
        launch(makeTabs);
    }

    // A launch with the files and settings the last one left.
    void launch(const MakeTabs &makeTabs)
    {
        window = std::make_unique<XRWindow>();
        shell = std::make_unique<XRWindowShell>(window.get());
        delegate = std::make_unique<XRAppDelegate>(configuration, shell.get());
        XRApplication::sharedApplication().setDelegate(delegate.get());
        tabs = makeTabs(window.get());
        window->setRootViewController(tabs);
        delegate->applicationDidFinishLaunching();
    }

    // The screens go before the delegate they refer to.
    void close()
    {
        window.reset();
        XRApplication::sharedApplication().setDelegate(nullptr);
        shell.reset();
        delegate.reset();
    }

    XRConfiguration configuration;
    std::unique_ptr<XRWindow> window;
    std::unique_ptr<XRWindowShell> shell;
    std::unique_ptr<XRAppDelegate> delegate;
    XRTabBarController *tabs = nullptr;
};

} // namespace xr::test
