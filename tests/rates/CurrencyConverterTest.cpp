#include "VariantMapPrinter.h"
#include "XRAppDelegate.h"
#include "XRCurrencyConverter.h"
#include "XRCurrencyDownloader.h"
#include "XRDateCategoryVaxlo.h"
#include "XRLocalizedString.h"
#include "XRUserDefaults.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

QByteArray readData(const char *name)
{
    QFile file(QStringLiteral(XR_TEST_DATA_DIR "/") + QString::fromLatin1(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

using Labels = XRCurrencyConverter::Labels;
using Colour = XRCurrencyConverter::StatusLine::Colour;

// The converter's two lines as one text: "100 USD sold for: 850.00 SEK / 100 SEK gives you: 11.76 USD".
QString shown(const Labels &labels)
{
    return QStringList{labels.swiftSourceLabel, labels.swiftTransactionLabel, labels.baseDestinationLabel,
                       QStringLiteral("/"),     labels.baseSourceLabel,      labels.baseTransactionLabel,
                       labels.swiftDestinationLabel}
        .join(u' ');
}

constexpr int buy = XRCurrencyConverter::buySegment;
constexpr int sell = XRCurrencyConverter::sellSegment;

// The rates read the way a finished load reads them, and the converter over them.
class CurrencyConverterTest : public testing::Test
{
protected:
    void SetUp() override
    {
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
        XRUserDefaults::resetStandardUserDefaults();
        xr::installTranslations(QStringLiteral("en"));
        converter.setClock([this] { return now; });
    }

    // The rows reach the converter through the downloader's own parse.
    void loadRates(const QByteArray &content)
    {
        ASSERT_TRUE(downloader.parseXML("<rates>" + content + "</rates>"));
    }
    void pick(const QByteArray &rowContent)
    {
        loadRates("<row>" + rowContent + "</row>");
        converter.tidyCurrencyArray();
        ASSERT_TRUE(converter.selectCurrencyAtRow(0));
    }
    QVariantMap cleanedRow(const QByteArray &rowContent)
    {
        loadRates("<row>" + rowContent + "</row>");
        converter.tidyCurrencyArray();
        return converter.currenciesArray().value(0).toMap();
    }
    // What a restarted application would read back.
    static QVariantMap savedCurrencyDict()
    {
        XRAppDelegate restarted{XRConfiguration()};
        return restarted.applicationPlistFromFile(QString::fromLatin1(XRAppDelegate::currencyFileName))
            .value_or(QVariant()).toMap();
    }

    XRAppDelegate appDelegate{XRConfiguration()};
    XRCurrencyDownloader downloader{&appDelegate};
    XRCurrencyConverter converter{downloader, appDelegate};
    QDateTime now = QDateTime(QDate(2011, 5, 3), QTime(14, 7), Qt::LocalTime);
};

TEST_F(CurrencyConverterTest, TheMarketsRatesDocumentMatchesItsGoldenFilesRawAndCleaned)
{
    ASSERT_TRUE(downloader.parseXML(readData("rates-se.xml")));
    const QJsonObject raw = QJsonObject::fromVariantMap(downloader.dataDict());
    EXPECT_EQ(raw, QJsonDocument::fromJson(readData("rates-se.raw.json")).object())
        << QJsonDocument(raw).toJson().toStdString();

    converter.tidyCurrencyArray();
    const QJsonObject cleaned = QJsonObject::fromVariantMap(downloader.dataDict());
    EXPECT_EQ(cleaned, QJsonDocument::fromJson(readData("rates-se.json")).object())
        << QJsonDocument(cleaned).toJson().toStdString();
}

TEST_F(CurrencyConverterTest, BrokenDocumentLeavesThePreviousResultWhole)
{
    ASSERT_TRUE(downloader.parseXML(readData("rates-se.xml")));
    const QVariantMap before = downloader.dataDict();
    const QByteArray broken[] = {
        "<rates><timestamp>2011-05-04 09:00</timestamp><row><swift_code>USD</swift_code></rates>",
        "<!DOCTYPE r [<!ENTITY a \"x\">]><rates><timestamp>&a;</timestamp></rates>",
        // Bytes that are not UTF-8 inside CDATA.
        "<rates><timestamp>2011-05-04 09:00</timestamp><row><swift_name><![CDATA[\xff\xfe]]></swift_name></row></rates>",
        "<html><body>Service unavailable<br></body></html>",
    };
    for (const QByteArray &body : broken) {
        EXPECT_FALSE(downloader.parseXML(body)) << body.constData();
        EXPECT_EQ(downloader.dataDict(), before) << body.constData();
    }

    // The rows gathered before an error do not leak into the next document.
    ASSERT_TRUE(downloader.parseXML("<rates><row><swift_code>NOK</swift_code></row></rates>"));
    EXPECT_EQ(downloader.dataDict().value(QStringLiteral("currencies")).toList().size(), 1);
}

const QByteArray usd = "<swift_code>USD</swift_code><swift_name>US DOLLAR</swift_name><sell_cash>8,5</sell_cash>"
                       "<buy_cash>8,1</buy_cash><buy_tc>-</buy_tc><sell_tc>-</sell_tc><multiply>1</multiply>"
                       "<base_swift>SEK</base_swift><CurrencyGuide>8,3</CurrencyGuide>";

// An empty row means no pick: the default record converts. The amount a
// reservation carries is stored in the "%0.2f" form; the typed amount as typed.
const struct { const char *name; QByteArray row; int segment; const char *amount; const char *shown; const char *sellCashAmmount; }
    conversions[] = {
    // A reservation buys at the cash selling rate, whatever the customer does.
    {"any segment but buy sells", usd, -1, "100", "100 USD gives you: 810.00 SEK / 100 SEK sold for: 12.35 USD", "850.00"},
    {"decimal comma", usd, buy, "12,5", "12,5 USD sold for: 106.25 SEK / 12,5 SEK gives you: 1.47 USD", "106.25"},
    // 1234567.891 is 1234567.875 as a single-precision number.
    {"single precision", usd, buy, "1234567.891",
     "1234567.891 USD sold for: 10493826.94 SEK / 1234567.891 SEK gives you: 145243.28 USD", "10493826.94"},
    // An unquoted rate reads as 0, and the quotient would show as "inf" or "nan".
    {"unquoted", "<swift_code>USD</swift_code><base_swift>SEK</base_swift><sell_cash>-</sell_cash>", buy, "100",
     "100 USD sold for: 0.00 SEK / 100 SEK gives you: - USD", "0.00"},
    {"row lacking every key", "<swift_code>XAU</swift_code><multiply>100</multiply>", buy, "10",
     "10 XAU sold for: 0.00  / 10  gives you: - XAU", "0.00"},
    {"no pick: one to one, rounded as the C library rounds an exact half", {}, buy, "0.125",
     "0.125 SEK sold for: 0.12 SEK / 0.125 SEK gives you: 0.12 SEK", "0.12"},
};

TEST_F(CurrencyConverterTest, ConvertsBothWaysWithTheRateTheTransactionSelects)
{
    for (const auto &c : conversions) {
        SCOPED_TRACE(c.name);
        appDelegate.currencyDict().clear();
        if (c.row.isEmpty())
            loadRates("<row>" + usd + "</row>");
        else
            pick(c.row);
        converter.setTransTypeSegment(c.segment);
        converter.setAmountText(QString::fromLatin1(c.amount));
        EXPECT_EQ(shown(converter.setLabels()), QString::fromLatin1(c.shown));
        EXPECT_EQ(converter.sellCashAmmount(), QString::fromLatin1(c.sellCashAmmount));
        EXPECT_EQ(converter.ammount(), QString::fromLatin1(c.amount));
    }
    xr::installTranslations(QStringLiteral("sv"));
    EXPECT_EQ(converter.setLabels().swiftTransactionLabel, QStringLiteral("säljs för:"));
}

// Without a pick the market's home currency converts one to one; that record
// is no pick and is never stored as one.
TEST_F(CurrencyConverterTest, TheDefaultRecordIsNotStoredAsAPick)
{
    XRUserDefaults::standardUserDefaults().setObject(7, QStringLiteral("language"));
    loadRates("<row>" + usd + "</row>");
    converter.setupCurrencies();
    EXPECT_EQ(converter.currentCurrency().value(QStringLiteral("swift_name")), QStringLiteral("Choose currency"));
    EXPECT_EQ(converter.currentCurrencyRow(), -1);
    EXPECT_FALSE(savedCurrencyDict().contains(QStringLiteral("currentCurrency")));
}

// A pick the new market's list lacks gives way to that market's default, and
// the default is what a restart finds.
TEST_F(CurrencyConverterTest, ADownloadLackingThePickedCurrencyFallsBackToTheDefault)
{
    pick(usd);
    converter.setAmountText(QStringLiteral("100"));
    XRUserDefaults::standardUserDefaults().setObject(1, QStringLiteral("language"));
    loadRates("<row><swift_code>EUR</swift_code><sell_cash>7,46</sell_cash><base_swift>DKK</base_swift></row>");
    converter.setupCurrencies();
    EXPECT_EQ(converter.swiftCode(), QStringLiteral("DKK"));
    EXPECT_EQ(converter.currentCurrencyRow(), -1);
    EXPECT_EQ(converter.setLabels().baseDestinationLabel, QStringLiteral("100.00 DKK"));
    EXPECT_EQ(converter.sellCashAmmount(), QStringLiteral("100.00"));
    EXPECT_EQ(savedCurrencyDict().value(QStringLiteral("currentCurrency")).toMap(),
              appDelegate.currencyDict().value(QStringLiteral("currentCurrency")).toMap());
}

TEST_F(CurrencyConverterTest, CleaningPutsRatesPerUnitWithPointsAndCleaningTwiceChangesNothing)
{
    const struct { QByteArray row; const char *key; const char *cleaned; } cases[] = {
        {"<buy_cash>1234,5</buy_cash><multiply>100</multiply>", "buy_cash", "12.345000"},
        {"<sell_cash>9,38</sell_cash><multiply>1.0</multiply>", "sell_cash", "9.380000"},
        {"<swift_name>ÖSTKARIBISK dollar</swift_name>", "swift_name", "Östkaribisk Dollar"},
        {"<swift_name>bosnia-HERZEGOVINA\tmark</swift_name>", "swift_name", "Bosnia-herzegovina\tMark"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.row.constData());
        EXPECT_EQ(cleanedRow(c.row).value(QLatin1String(c.key)), QString::fromUtf8(c.cleaned));
        const QVariantList once = converter.currenciesArray();
        converter.tidyCurrencyArray();
        EXPECT_EQ(converter.currenciesArray(), once);
    }
}

TEST_F(CurrencyConverterTest, StatusLineJudgesTheAgeOfTheRatesEitherWayAndTrustsAnUndatedTimestamp)
{
    const QString fresh = QStringLiteral("Last update 2011-05-03 14:07\nCash rates. Subject to change.");
    const QString old = QStringLiteral("Warning: old rates\n2011-05-03 14:07");
    const QDateTime rates(QDate(2011, 5, 3), QTime(14, 7), Qt::LocalTime);
    const struct { qint64 msecsFromRates; bool fresh; } cases[] = {
        {86400 * 1000LL + 999, true}, {86401 * 1000LL, false}, {-86400 * 1000LL - 999, true}, {-86401 * 1000LL, false},
    };
    const QString notUpdated = QStringLiteral("Could not update the rates. Rates from 2011-05-03 14:07");
    EXPECT_EQ(converter.failedStatusLine().text, QStringLiteral("No rates available. Check your internet connection."));
    EXPECT_EQ(converter.failedStatusLine().colour, Colour::Red);
    loadRates("<timestamp>2011-05-03 14:07</timestamp><row>" + usd + "</row>");
    for (const auto &c : cases) {
        SCOPED_TRACE(c.msecsFromRates);
        now = rates.addMSecs(c.msecsFromRates);
        const auto status = converter.setupCurrencies();
        ASSERT_TRUE(status.has_value());
        EXPECT_EQ(status->text, c.fresh ? fresh : old);
        EXPECT_EQ(status->colour, c.fresh ? Colour::Black : Colour::Red);
        // A failed load after it says so, and how old the rates on screen are.
        EXPECT_EQ(converter.failedStatusLine().text, notUpdated);
        EXPECT_EQ(converter.failedStatusLine().colour, c.fresh ? Colour::Black : Colour::Red);
    }

    // A timestamp that is no date counts as current, however late it is.
    now = QDateTime(QDate(2020, 1, 1), QTime(0, 0), Qt::LocalTime);
    loadRates("<timestamp>3 maj 2011 14:07</timestamp>");
    const auto undated = converter.setupCurrencies();
    ASSERT_TRUE(undated.has_value());
    EXPECT_EQ(undated->text, QStringLiteral("Last update 3 maj 2011 14:07\nCash rates. Subject to change."));
    EXPECT_EQ(undated->colour, Colour::Black);
}

TEST_F(CurrencyConverterTest, TheTransactionAmountAndParseEndSaveAtOnceThePickWithTheNextSave)
{
    pick(usd);
    EXPECT_FALSE(savedCurrencyDict().contains(QStringLiteral("currentCurrency")));
    converter.transTypeChanged(-1);
    EXPECT_EQ(savedCurrencyDict().value(QStringLiteral("transType")), QStringLiteral("buy"));
    EXPECT_EQ(savedCurrencyDict().value(QStringLiteral("currentCurrency")), converter.currentCurrency());
    converter.transTypeChanged(sell);
    EXPECT_EQ(savedCurrencyDict().value(QStringLiteral("transType")), QStringLiteral("sell"));
    converter.setAmountText(QStringLiteral("12,5"));
    EXPECT_FALSE(savedCurrencyDict().contains(QStringLiteral("amount")));
    converter.amountEditingDidEnd();
    EXPECT_EQ(savedCurrencyDict().value(QStringLiteral("amount")), QStringLiteral("12,5"));

    EXPECT_FALSE(converter.setupCurrencies().has_value()) << "without a timestamp the status line stays";
    loadRates("<timestamp>2011-05-03 14:07</timestamp><row>" + usd + "</row>");
    ASSERT_TRUE(converter.setupCurrencies().has_value());
    EXPECT_EQ(savedCurrencyDict(), appDelegate.currencyDict());
    EXPECT_EQ(savedCurrencyDict().value(QStringLiteral("timestamp")), QStringLiteral("2011-05-03 14:07"));
}

TEST(DateFromTimeStampTest, ReadsExactlyTheTimestampPatternInLocalTime)
{
    const auto summer = XRDateCategoryVaxlo::dateFromTimeStamp(QStringLiteral("2011-05-03 14:07"));
    ASSERT_TRUE(summer.has_value());
    EXPECT_EQ(summer->toUTC(), QDateTime(QDate(2011, 5, 3), QTime(12, 7), Qt::UTC)) << "Stockholm summer time";
    const auto winter = XRDateCategoryVaxlo::dateFromTimeStamp(QStringLiteral("2011-12-31 23:59"));
    ASSERT_TRUE(winter.has_value());
    EXPECT_EQ(winter->toUTC(), QDateTime(QDate(2011, 12, 31), QTime(22, 59), Qt::UTC));

    for (const char *text : {"", "2011-5-03 14:07", "2011-05-03 14:07:00", "2011-05-03T14:07", "2011-05-03 14:07\n",
                             "2011-02-29 10:00", "2011-05-03 24:00", "03-05-2011 14:07"})
        EXPECT_FALSE(XRDateCategoryVaxlo::dateFromTimeStamp(QString::fromLatin1(text)).has_value()) << text;
}

} // namespace
