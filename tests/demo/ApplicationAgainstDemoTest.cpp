// The rates client and converter against the real demo service, in process.

#include "DemoService.h"
#include "EventLoop.h"
#include "XRAppDelegate.h"
#include "XRApplication.h"
#include "XRCurrencyConverter.h"
#include "XRCurrencyDownloader.h"
#include "XRUserDefaults.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

class ApplicationAgainstDemo : public testing::Test
{
protected:
    void SetUp() override
    {
        service = std::make_unique<xr::demo::DemoService>(xr::demo::DemoOptions{.dataDir = dataDir.path(), .portBase = 0});
        QString error;
        ASSERT_TRUE(service->start(error)) << error.toStdString();
        XRConfiguration configuration;
        const QStringList codes{QStringLiteral("SE"), QStringLiteral("DK"), QStringLiteral("NO"), QStringLiteral("FI")};
        for (int i = 0; i < 4; ++i)
            configuration.marketHosts[size_t(i)] = service->marketAddress(codes[i]);
        delegate = std::make_unique<XRAppDelegate>(configuration);
        XRApplication::sharedApplication().setDelegate(delegate.get());
    }
    void TearDown() override
    {
        XRApplication::sharedApplication().setDelegate(nullptr);
        XRUserDefaults::standardUserDefaults().removeObjectForKey(QStringLiteral("language"));
        service->stop();
    }

    QTemporaryDir dataDir;
    std::unique_ptr<xr::demo::DemoService> service;
    std::unique_ptr<XRAppDelegate> delegate;
};

TEST_F(ApplicationAgainstDemo, EveryMarketsRatesLoadAndCleanIntoUsableRows)
{
    const QString baseCurrencies[] = {QStringLiteral("SEK"), QStringLiteral("DKK"), QStringLiteral("NOK"),
                                      QStringLiteral("EUR")};
    for (int index = 0; index < 4; ++index) {
        XRUserDefaults::standardUserDefaults().setObject(index, QStringLiteral("language"));
        XRCurrencyDownloader downloader(delegate.get());
        downloader.loadCurrenciesAndNotify();
        ASSERT_TRUE(xr::test::waitUntil([&] { return !downloader.isBusy(); }));
        XRCurrencyConverter converter(downloader, *delegate);
        converter.tidyCurrencyArray();
        const QVariantList rows = converter.currenciesArray();
        EXPECT_GE(rows.size(), 25) << index;
        EXPECT_LE(rows.size(), 40) << index;
        EXPECT_TRUE(downloader.dataDict().contains(QStringLiteral("timestamp")));
        for (const QVariant &value : rows) {
            const QVariantMap row = value.toMap();
            EXPECT_EQ(row.value(QStringLiteral("base_swift")).toString(), baseCurrencies[index]);
            EXPECT_EQ(row.value(QStringLiteral("multiply")).toString(), QStringLiteral("1"));
            const QString sell = row.value(QStringLiteral("sell_cash")).toString();
            const QString buy = row.value(QStringLiteral("buy_cash")).toString();
            if (sell != QLatin1String("-") && buy != QLatin1String("-")) {
                EXPECT_GT(sell.toDouble(), buy.toDouble()) << row.value(QStringLiteral("swift_code")).toString().toStdString();
                EXPECT_GT(buy.toDouble(), 0.0);
            }
        }
    }
}

} // namespace
