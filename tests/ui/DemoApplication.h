#pragma once

#include "DemoService.h"
#include "EventLoop.h"
#include "ReservationBook.h"
#include "XRAlertView.h"
#include "XRAppDelegate.h"
#include "XRApplication.h"
#include "XRCurrencyViewController.h"
#include "XRLocalizedString.h"
#include "XRPrefsViewController.h"
#include "XRTabBarController.h"
#include "XRUserDefaults.h"
#include "XRWindow.h"
#include "XRWindowShell.h"

#include <QMutex>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace xr::test {

// The application launched against the demo retailer in this process: the
// real window, shell and delegate, the currency and preferences tabs.
class DemoApplicationTest : public testing::Test
{
protected:
    void SetUp() override
    {
        service = std::make_unique<xr::demo::DemoService>(xr::demo::DemoOptions{
            .dataDir = dataDir.path(), .portBase = 0, .log = [this](const QString &line) {
                QMutexLocker lock(&requestsMutex);
                requestLines << line;
            }});
        QString error;
        ASSERT_TRUE(service->start(error)) << error.toStdString();
        const QStringList codes{QStringLiteral("SE"), QStringLiteral("DK"), QStringLiteral("NO"), QStringLiteral("FI")};
        for (int i = 0; i < 4; ++i)
            configuration.marketHosts[size_t(i)] = service->marketAddress(codes[i]);
        configuration.reservationHost = service->reservationAddress();
        configuration.reservationCAFile = service->caCertificate();
        configuration.locationSource = QStringLiteral("nmea:") + dataDir.path() + QStringLiteral("/no-position.nmea");
    }

    void TearDown() override
    {
        window.reset();
        XRApplication::sharedApplication().setDelegate(nullptr);
        shell.reset();
        delegate.reset();
        service->stop();
    }

    // Launches in the market of the language index with the screens' texts in
    // the language, and waits for the rates and the store list.
    void launch(int languageIndex, const QString &language)
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
        tabs = new XRTabBarController(window.get());
        currencyScreen = new XRCurrencyViewController;
        prefsScreen = new XRPrefsViewController;
        tabs->setViewControllers({currencyScreen, prefsScreen});
        window->setRootViewController(tabs);
        delegate->applicationDidFinishLaunching();
        ASSERT_TRUE(waitUntil([this] {
            return !currencyScreen->isLoading() && delegate->storesArray() && !delegate->isLoadingSplashShown();
        }));
    }

    // The requests a market host received, as "GET /ratesxml.asp".
    QStringList requestsTo(const QString &host) const
    {
        QMutexLocker lock(&requestsMutex);
        QStringList lines;
        for (const QString &line : requestLines) {
            if (line.startsWith(host + QLatin1Char(' ')))
                lines << line.section(QLatin1Char(' '), 1, 2);
        }
        return lines;
    }

    static XRAlertView *shownAlert()
    {
        return XRAlertView::visibleAlerts().isEmpty() ? nullptr : XRAlertView::visibleAlerts().last();
    }

    static void clickRow(XRTableView *table, int row)
    {
        table->scrollToRowAtIndexPath({0, row});
        const QRect rect = table->rectForRowAtIndexPath({0, row}).translated(0, -table->verticalScrollBar()->value());
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, rect.center());
    }

    // The row of the store in the city-ordered collection the choosers list.
    int chooserRowOf(const QString &storeId) const
    {
        const QVariantList stores = delegate->sortedStoresArray().value_or(QVariantList());
        for (int row = 0; row < stores.size(); ++row) {
            if (stores[row].toMap().value(QStringLiteral("id")).toString() == storeId)
                return row;
        }
        return -1;
    }

    template <typename T> T *find(const char *name) const { return window->findChild<T *>(QString::fromLatin1(name)); }

    QTemporaryDir dataDir;
    std::unique_ptr<xr::demo::DemoService> service;
    mutable QMutex requestsMutex;
    QStringList requestLines;
    XRConfiguration configuration;
    std::unique_ptr<XRWindow> window;
    std::unique_ptr<XRWindowShell> shell;
    std::unique_ptr<XRAppDelegate> delegate;
    XRTabBarController *tabs = nullptr;
    XRCurrencyViewController *currencyScreen = nullptr;
    XRPrefsViewController *prefsScreen = nullptr;
};

} // namespace xr::test
