// The application's own clients against the real demo service, in process.

#include "DemoService.h"
#include "EventLoop.h"
#include "NmeaReplay.h"
#include "ReservationBook.h"
#include "XRAppDelegate.h"
#include "XRApplication.h"
#include "XRCurrencyConverter.h"
#include "XRCurrencyDownloader.h"
#include "XRReserverClient.h"
#include "XRReserverClientDelegate.h"
#include "XRStoreOrdering.h"
#include "XRStoreRowText.h"
#include "XRUserDefaults.h"

#include <QDate>
#include <QDir>
#include <QFile>
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
        configuration.reservationHost = service->reservationAddress();
        configuration.reservationCAFile = service->caCertificate();
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

// A customer at the Swedish market reserving dollars for collection.
class Customer : public XRReserverClientDelegate
{
public:
    void reserverClientDidFinishWithCodeMessageMarket(XRReserverClient *, int code, const QString &message,
                                                      const QString &market) override
    {
        result = code;
        this->message = message;
        this->market = market;
        finished = true;
    }
    void reserverClientDidFailWithError(XRReserverClient *, const XRError &error) override
    {
        failure = error;
        finished = true;
    }
    bool respondsToDidFinish() const override { return true; }
    bool respondsToDidFail() const override { return true; }

    QString langString() const override { return QStringLiteral("SE"); }
    QString currency() const override { return QStringLiteral("USD"); }
    QString ammount() const override { return QStringLiteral("1050.00"); }
    QString personalID() const override { return QStringLiteral("198001011234"); }
    QString firstName() const override { return QStringLiteral("Åsa"); }
    QString lastName() const override { return QStringLiteral("Öberg & Son"); }
    QString phone() const override { return QStringLiteral("0701234567"); }
    QString date() const override
    {
        QDate day = QDate::currentDate().addDays(3);
        while (day.dayOfWeek() > 5)
            day = day.addDays(1);
        return day.toString(QStringLiteral("yyyy-MM-dd"));
    }
    QString branchID() const override { return QStringLiteral("101"); }
    int paymentMethod() const override { return 1; }

    bool finished = false;
    int result = -100;
    QString message;
    QString market;
    XRError failure;
};

TEST_F(ApplicationAgainstDemo, AReservationIsAcceptedAndBooked)
{
    Customer customer;
    XRReserverClient::reserveWithDelegate(&customer, delegate->configuration());
    ASSERT_TRUE(xr::test::waitUntil([&] { return customer.finished; }));
    EXPECT_TRUE(customer.failure.isNull()) << customer.failure.description().toStdString();
    EXPECT_EQ(customer.result, 0) << customer.message.toStdString();
    EXPECT_EQ(customer.market, QStringLiteral("SE"));
    ASSERT_EQ(service->reservations().all().size(), 1);
    EXPECT_EQ(service->reservations().all()[0].lastName, QStringLiteral("Öberg & Son"));
}

TEST_F(ApplicationAgainstDemo, TheRunCommandsWalkChangesTheNearestStoresDistanceAtEveryReport)
{
    XRUserDefaults::standardUserDefaults().setObject(0, QStringLiteral("language"));
    QBuffer *device = nullptr;
    delegate->setLocationManager(std::make_unique<XRLocationManager>(xr::test::nmeaSource(device)));
    delegate->applicationDidFinishLaunching();
    ASSERT_TRUE(xr::test::waitUntil([this] { return delegate->storesArray().has_value(); }));

    QFile walk(QDir::cleanPath(QStringLiteral(XR_TEST_DATA_DIR "/../../../demo/data/stockholm.nmea")));
    ASSERT_TRUE(walk.open(QIODevice::ReadOnly));
    QStringList nearest; // what the list's first row says after each report
    while (delegate->locationManager()->isUpdatingLocation() && !walk.atEnd()) {
        const QByteArray sentence = walk.readLine();
        if (!sentence.startsWith("$GPRMC"))
            continue;
        const unsigned reports = delegate->gpsSearches();
        xr::test::deliver(device, sentence);
        ASSERT_TRUE(xr::test::waitUntil([&] { return delegate->gpsSearches() == reports + 1; }));
        QVariantList stores = *delegate->storesArray();
        xr::addDistanceToStores(stores, delegate->location()->coordinate());
        const QVariantMap first = xr::sortStoresByDistance(stores, QString()).first().toMap();
        nearest << first.value(QStringLiteral("city")).toString() + QLatin1Char(' ')
                       + xr::storeDistanceText(first.value(QStringLiteral("distance")).toDouble());
    }
    ASSERT_EQ(nearest.size(), 4) << "the application stops listening after its fourth report";
    EXPECT_EQ(QSet<QString>(nearest.cbegin(), nearest.cend()).size(), 4) << nearest.join(QStringLiteral(", ")).toStdString();
    EXPECT_TRUE(nearest.first().startsWith(QStringLiteral("Stockholm "))) << nearest.first().toStdString();
}

} // namespace
