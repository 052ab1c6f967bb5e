#include "VariantMapPrinter.h"
#include "LogCapture.h"
#include "XRAppDelegate.h"
#include "XRCurrencyConverter.h"
#include "XRCurrencyDownloader.h"
#include "XRNotificationCenter.h"
#include "XRNotifications.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

QByteArray readData(const char *name)
{
    QFile file(QStringLiteral(XR_TEST_DATA_DIR "/") + QString::fromLatin1(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QVariantMap row(const XRCurrencyDownloader &downloader, int index)
{
    return downloader.dataDict().value(QStringLiteral("currencies")).toList().value(index).toMap();
}

// The rates body read the way a finished load reads it, with the parse-end
// notifications counted.
class RatesDocumentTest : public testing::Test
{
protected:
    RatesDocumentTest()
    {
        XRNotificationCenter::defaultCenter().addObserver(this, XRCurrenciesDidEndParsingNotification,
                                                          [this](const XRNotification &) { ++parseEnds; });
    }
    ~RatesDocumentTest() override { XRNotificationCenter::defaultCenter().removeObserver(this); }

    XRCurrencyDownloader downloader{nullptr};
    int parseEnds = 0;
};

TEST_F(RatesDocumentTest, MarketDocumentMatchesItsGoldenFilesRawAndCleaned)
{
    ASSERT_TRUE(downloader.parseXML(readData("rates-se.xml")));
    const QJsonObject raw = QJsonObject::fromVariantMap(downloader.dataDict());
    EXPECT_EQ(raw, QJsonDocument::fromJson(readData("rates-se.raw.json")).object())
        << QJsonDocument(raw).toJson().toStdString();

    XRAppDelegate appDelegate{XRConfiguration()};
    XRCurrencyConverter(downloader, appDelegate).tidyCurrencyArray();
    const QJsonObject cleaned = QJsonObject::fromVariantMap(downloader.dataDict());
    EXPECT_EQ(cleaned, QJsonDocument::fromJson(readData("rates-se.json")).object())
        << QJsonDocument(cleaned).toJson().toStdString();
    EXPECT_EQ(parseEnds, 1);
}

TEST_F(RatesDocumentTest, TimestampWithoutRowsGivesAnEmptyListAndStillAnnounces)
{
    ASSERT_TRUE(downloader.parseXML("<rates><timestamp>2011-05-03 14:07</timestamp></rates>"));
    const QVariant currencies = downloader.dataDict().value(QStringLiteral("currencies"));
    EXPECT_EQ(currencies.typeId(), QMetaType::QVariantList);
    EXPECT_TRUE(currencies.toList().isEmpty());
    EXPECT_EQ(downloader.dataDict().value(QStringLiteral("timestamp")), QStringLiteral("2011-05-03 14:07"));
    EXPECT_EQ(parseEnds, 1);
}

TEST_F(RatesDocumentTest, RowsKeepEveryTextOnlyElementAsWritten)
{
    ASSERT_TRUE(downloader.parseXML(
        "<rates>"
        "<row code=\"USD\"/>"
        "<row>loose text</row>"
        "<row><swift_code>USD</swift_code><buy_cash> 8,50 </buy_cash><buy_cash>8,60</buy_cash><note/></row>"
        "<row><swift_name>US <![CDATA[Dollar]]> &amp; cent&#115;</swift_name><sell_cash>8&#44;<![CDATA[5]]>0</sell_cash></row>"
        "<row><swift_code>EUR</swift_code><extra>dropped<a>1</a>dropped<b>2</b>dropped</extra></row>"
        "</rates>"));
    EXPECT_EQ(row(downloader, 0), (QVariantMap{{QStringLiteral("row"), QString()}}))
        << "attributes are ignored; an empty row holds its own empty text";
    EXPECT_EQ(row(downloader, 1), (QVariantMap{{QStringLiteral("row"), QStringLiteral("loose text")}}));
    EXPECT_EQ(row(downloader, 2), (QVariantMap{{QStringLiteral("swift_code"), QStringLiteral("USD")},
                                               {QStringLiteral("buy_cash"), QStringLiteral("8,60")},
                                               {QStringLiteral("note"), QString()}}))
        << "a repeated element keeps its last value";
    EXPECT_EQ(row(downloader, 3), (QVariantMap{{QStringLiteral("swift_name"), QStringLiteral("US Dollar & cents")},
                                               {QStringLiteral("sell_cash"), QStringLiteral("8,50")}}))
        << "text, references and CDATA join into one value";
    EXPECT_EQ(row(downloader, 4), (QVariantMap{{QStringLiteral("swift_code"), QStringLiteral("EUR")},
                                               {QStringLiteral("a"), QStringLiteral("1")},
                                               {QStringLiteral("b"), QStringLiteral("2")}}))
        << "an element with children stores nothing of its own";

    ASSERT_TRUE(downloader.parseXML("<rates><row><buy_cash>\n\t 8,50 \n</buy_cash></row></rates>"));
    EXPECT_EQ(row(downloader, 0).value(QStringLiteral("buy_cash")), QStringLiteral("\n\t 8,50 \n"));
}

TEST_F(RatesDocumentTest, DocumentValuesStayUntilALaterDocumentCarriesThem)
{
    ASSERT_TRUE(downloader.parseXML("<rates><timestamp>2011-05-03 14:07</timestamp><market>SE</market>"
                                    "<row><swift_code>USD</swift_code></row></rates>"));
    ASSERT_TRUE(downloader.parseXML("<rates><market>DK</market><currencies>not a list</currencies></rates>"));
    EXPECT_EQ(downloader.dataDict().value(QStringLiteral("timestamp")), QStringLiteral("2011-05-03 14:07"));
    EXPECT_EQ(downloader.dataDict().value(QStringLiteral("market")), QStringLiteral("DK"));
    EXPECT_EQ(downloader.dataDict().value(QStringLiteral("currencies")), QVariantList())
        << "the rows of the last document replace an element of that name";
    EXPECT_FALSE(downloader.dataDict().contains(QStringLiteral("rates")));
    EXPECT_EQ(parseEnds, 2);
}

TEST_F(RatesDocumentTest, BrokenDocumentLeavesThePreviousResultWhole)
{
    ASSERT_TRUE(downloader.parseXML(readData("rates-se.xml")));
    const QVariantMap before = downloader.dataDict();
    const QByteArray broken[] = {
        "<rates><timestamp>2011-05-04 09:00</timestamp><market>DK</market><row><swift_code>USD</swift_code></row>",
        "<rates><timestamp>2011-05-04 09:00</timestamp><row><swift_code>USD</swift_code></rates>",
        "<!DOCTYPE r [<!ENTITY a \"x\">]><rates><timestamp>&a;</timestamp></rates>",
        // Bytes that are not UTF-8 inside CDATA.
        "<rates><timestamp>2011-05-04 09:00</timestamp><row><swift_name><![CDATA[\xff\xfe]]></swift_name></row></rates>",
        "<html><body>Service unavailable<br></body></html>",
        "",
    };
    for (const QByteArray &body : broken) {
        xr::test::LogCapture log;
        XRError error;
        EXPECT_FALSE(downloader.parseXML(body, &error)) << body.constData();
        EXPECT_EQ(downloader.dataDict(), before) << body.constData();
        EXPECT_EQ(error.domain, XRXMLParser::errorDomain);
        ASSERT_EQ(log.messages().size(), 1) << log.messages().join(u'\n').toStdString();
        EXPECT_TRUE(log.messages().constFirst().startsWith(QStringLiteral("Currency XML Parse Error: ")));
    }
    EXPECT_EQ(parseEnds, 1);

    // The rows gathered before an error do not leak into the next document.
    ASSERT_TRUE(downloader.parseXML("<rates><row><swift_code>NOK</swift_code></row></rates>"));
    EXPECT_EQ(downloader.dataDict().value(QStringLiteral("currencies")).toList().size(), 1);
}

// libxml2 hands CDATA over as UTF-8 it has checked, so the downloader's own
// check is reached by giving its callback the bytes directly.
class CorruptingCDATA : public XRCurrencyDownloader
{
public:
    CorruptingCDATA() : XRCurrencyDownloader(nullptr) {}
    void parserFoundCDATA(XRXMLParser *parser, const QByteArray &) override
    {
        XRCurrencyDownloader::parserFoundCDATA(parser, QByteArray("8,5\xc3", 4));
    }
};

TEST_F(RatesDocumentTest, CDATAThatIsNotUTF8EndsTheParseAsAnError)
{
    CorruptingCDATA corrupting;
    ASSERT_TRUE(corrupting.parseXML("<rates><timestamp>2011-05-03 14:07</timestamp></rates>"));
    const QVariantMap before = corrupting.dataDict();
    xr::test::LogCapture log;
    XRError error;
    EXPECT_FALSE(corrupting.parseXML("<rates><timestamp>2011-05-04 09:00</timestamp>"
                                     "<row><sell_cash><![CDATA[8,50]]></sell_cash></row></rates>", &error));
    EXPECT_EQ(error.code, XRXMLParser::delegateAbortedParseError);
    EXPECT_EQ(corrupting.dataDict(), before);
    EXPECT_EQ(parseEnds, 1);
    EXPECT_EQ(log.messages().size(), 1);
}

} // namespace
