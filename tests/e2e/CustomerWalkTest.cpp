// The real `vaxlo` against the real `vaxlo-demo`: a customer's walk, driven from
// inside the application by the walker library, checked against the documents
// the demo serves and the reservations it has taken.

#include "EventLoop.h"
#include "XRLocalizedString.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QUrlQuery>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <httplib.h>

#include <algorithm>

namespace {

using Record = QMap<QString, QString>;

// Every `element` of a document, as the texts of its child elements.
QList<Record> records(const std::string &xml, const QString &element)
{
    QList<Record> found;
    QXmlStreamReader reader(QByteArray::fromStdString(xml));
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement || reader.name() != element)
            continue;
        Record record;
        while (reader.readNextStartElement())
            record.insert(reader.name().toString(), reader.readElementText(QXmlStreamReader::SkipChildElements));
        found << record;
    }
    return found;
}

// A market's documents as the demo serves them.
struct MarketDocuments
{
    explicit MarketDocuments(int port)
    {
        httplib::Client host("127.0.0.1", port);
        const auto get = [&host](const char *path) { auto reply = host.Get(path); return reply ? reply->body : std::string(); };
        for (const Record &row : records(get("/ratesxml.asp?id=520"), QStringLiteral("row")))
            dollar = row.value(QStringLiteral("swift_code")) == QLatin1String("USD") ? row : dollar;
        stores = records(get("/branchesxml.aspx?datetest=1"), QStringLiteral("location"));
        stories = records(get("/aktuellt.rss"), QStringLiteral("item"));
    }
    // What the converter shows for 100 dollars at one of the cash rates.
    double hundredDollarsAt(const char *rate) const
    {
        return 100 * QString(dollar.value(QString::fromLatin1(rate))).replace(u',', u'.').toDouble()
               / dollar.value(QStringLiteral("multiply")).toDouble();
    }
    Record dollar;
    QList<Record> stores;
    QList<Record> stories;
};

// A status line that dates the rates within the walk, which began at `start`.
bool datesRatesWithinTheWalk(const QString &status, const QDateTime &start)
{
    const QRegularExpressionMatch stamp = QRegularExpression(
        QRegularExpression::escape(XRLocalizedString("Last update")) + QStringLiteral(" (\\S+ \\S+) ")).match(status);
    const QDateTime at = QDateTime::fromString(stamp.captured(1), QStringLiteral("yyyy-MM-dd HH:mm"));
    return at.isValid() && at.secsTo(start) < 60 && at <= QDateTime::currentDateTime();
}

// A name as a row or title shows it: whole, or cut short with an ellipsis.
bool shows(const QString &shown, const QString &name)
{
    QString start = shown;
    start.remove(QRegularExpression(QStringLiteral("(\\.\\.\\.|\u2026)$")));
    return !name.isEmpty() && (shown == name || (start != shown && name.startsWith(start)));
}

// "1 050,00 SEK" and "1.050,00 DKK" as numbers.
double shownAmount(QString text)
{
    text.remove(QRegularExpression(QStringLiteral("[^0-9,]")));
    return text.replace(u',', u'.').toDouble();
}

// "350 m", "1.2 km" in metres.
double shownDistance(const QString &text)
{
    return text.section(u' ', 0, 0).toDouble() * (text.endsWith(QLatin1String(" km")) ? 1000 : 1);
}

TEST(CustomerWalk, RatesStoresMapNewsAReservationAndOnToDenmark)
{
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("vaxlo.conf"));
    QProcess demo;
    demo.start(QStringLiteral(XR_DEMO_PATH), {QStringLiteral("--data-dir"), dir.filePath(QStringLiteral("demo")),
                                              QStringLiteral("--port-base"), QStringLiteral("0"), QStringLiteral("--quiet"),
                                              QStringLiteral("--write-config"), config, QStringLiteral("--location"),
                                              QStringLiteral(XR_WALK_NMEA)});
    QByteArray output;
    ASSERT_TRUE(xr::test::waitUntil([&] {
        output += demo.readAllStandardOutput();
        return output.contains("configuration written") || demo.state() == QProcess::NotRunning;
    }, 60000) && output.contains("configuration written")) << output.constData() << demo.readAllStandardError().constData();
    const QRegularExpressionMatch ports = QRegularExpression(QStringLiteral(
        "SE http://127.0.0.1:(\\d+) DK http://127.0.0.1:(\\d+) .* reservations https://127.0.0.1:(\\d+)")).match(QString::fromUtf8(output));
    ASSERT_TRUE(ports.hasMatch()) << output.constData();
    const auto stopDemo = qScopeGuard([&demo] {
        demo.terminate();
        demo.waitForFinished(30000);
    });

    // A Swedish desktop, offscreen, with the walker inside.
    QProcess vaxlo;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("LANG"), QStringLiteral("sv_SE.UTF-8"));
    environment.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(XR_WALKER_PATH));
    environment.insert(QStringLiteral("XR_WALK_LOG"), dir.filePath(QStringLiteral("walk.log")));
    vaxlo.setProcessEnvironment(environment);
    const QDateTime started = QDateTime::currentDateTime();
    vaxlo.start(QStringLiteral(XR_VAXLO_PATH), {QStringLiteral("--config"), config});
    ASSERT_TRUE(vaxlo.waitForFinished(240000)) << "the walk did not end";
    QFile log(dir.filePath(QStringLiteral("walk.log")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly)) << vaxlo.readAllStandardError().constData();
    const QByteArray walked = log.readAll();
    ASSERT_TRUE(walked.endsWith("done\n")) << walked.constData() << vaxlo.readAllStandardError().constData();
    EXPECT_EQ(vaxlo.exitCode(), 0);
    // The fields of the n-th line that starts with `key`.
    const auto seen = [lines = QString::fromUtf8(walked).split(u'\n')](const char *key, int n = 0) {
        for (const QString &line : lines) {
            const QStringList fields = line.split(u'\t');
            if (fields.first() == QLatin1String(key) && n-- == 0)
                return fields.mid(1);
        }
        return QStringList();
    };
    xr::installTranslations(QStringLiteral("sv"));

    const MarketDocuments sweden(ports.captured(1).toInt());
    EXPECT_EQ(seen("rates").value(0), XRLocalizedString("Choose currency") + QStringLiteral(", SEK"));
    EXPECT_TRUE(datesRatesWithinTheWalk(seen("rates").value(1), started)) << seen("rates").value(1).toStdString();
    EXPECT_TRUE(seen("picked").value(0).endsWith(QLatin1String(", USD")));
    EXPECT_EQ(seen("buy").value(0), QStringLiteral("100 USD"));
    EXPECT_NEAR(shownAmount(seen("buy").value(2)), sweden.hundredDollarsAt("sell_cash"), 0.011) << "the retailer sells";
    EXPECT_NEAR(shownAmount(seen("sell").value(2)), sweden.hundredDollarsAt("buy_cash"), 0.011) << "the retailer buys";

    // Nearest first from the replayed walk; the nearest made the default store.
    const QStringList rows = seen("stores");
    ASSERT_EQ(rows.size(), 3);
    for (int i = 1; i < 3; ++i)
        EXPECT_LE(shownDistance(rows[i - 1].section(u'|', 1)), shownDistance(rows[i].section(u'|', 1))) << rows.join(u',').toStdString();
    // The form names the default store in full.
    const QStringList form = seen("form");
    const auto atStore = std::find_if(sweden.stores.begin(), sweden.stores.end(), [&form](const Record &r) {
        return r.value(QStringLiteral("name")) + u' ' + r.value(QStringLiteral("city")) == form.value(1);
    });
    ASSERT_NE(atStore, sweden.stores.end()) << form.value(1).toStdString();
    const Record store = *atStore;
    const QString name = store.value(QStringLiteral("name"));
    for (const QString &shown : {rows[0].section(u'|', 0, 0), seen("default").value(0), seen("callout").value(0)})
        EXPECT_TRUE(shows(shown, name)) << shown.toStdString() << " for " << name.toStdString();
    const QUrlQuery directions(QUrl(seen("opened", 0).value(0)));
    const QStringList from = directions.queryItemValue(QStringLiteral("saddr")).split(u',');
    EXPECT_NEAR(from.value(0).toDouble(), 59.33, 0.02) << "where the replayed walk is";
    EXPECT_NEAR(from.value(1).toDouble(), 18.06, 0.02);
    EXPECT_EQ(directions.queryItemValue(QStringLiteral("daddr")),
              QString::asprintf("%lf,%lf", store.value(QStringLiteral("latitude")).toDouble(),
                                store.value(QStringLiteral("longitude")).toDouble()));

    ASSERT_FALSE(sweden.stories.isEmpty());
    EXPECT_EQ(seen("story").value(0), sweden.stories[0].value(QStringLiteral("title")));
    EXPECT_EQ(seen("opened", 1).value(0), sweden.stories[0].value(QStringLiteral("link")));

    // The reservation at the default store, as the demo booked it.
    EXPECT_EQ(seen("verdict"), (QStringList{XRLocalizedString("Reservation Completed"),
                                            XRLocalizedString("The reservation is now completed")}));
    httplib::SSLClient desk("127.0.0.1", ports.captured(3).toInt());
    desk.set_ca_cert_path(dir.filePath(QStringLiteral("demo/ca.pem")).toStdString());
    const auto listed = desk.Get("/reservations");
    ASSERT_TRUE(listed && listed->status == 200);
    const QJsonArray booked = QJsonDocument::fromJson(QByteArray::fromStdString(listed->body)).array();
    ASSERT_EQ(booked.size(), 1) << listed->body;
    const QJsonObject reservation = booked[0].toObject();
    EXPECT_EQ(QStringList({reservation[u"market"].toString(), reservation[u"currency"].toString(),
                           QString::number(reservation[u"branch"].toInt()), reservation[u"firstName"].toString(),
                           reservation[u"lastName"].toString(), reservation[u"fetchAt"].toString()}),
              QStringList({QStringLiteral("SE"), QStringLiteral("USD"), store.value(QStringLiteral("id")).section(u'.', -1),
                           QStringLiteral("Åsa"), QStringLiteral("Öberg"), form.value(2)}));
    EXPECT_EQ(form.value(0), QStringLiteral("100 USD (%1 SEK)").arg(reservation[u"amount"].toString()));
    EXPECT_NEAR(reservation[u"amount"].toString().toDouble(), sweden.hundredDollarsAt("sell_cash"), 0.011);

    // Denmark: the default store goes, and rates, stores and news come from the Danish host.
    const MarketDocuments denmark(ports.captured(2).toInt());
    EXPECT_EQ(seen("settings").value(0), XRLocalizedString("Choose default store"));
    const QStringList danishRates = seen("dk-rates");
    EXPECT_TRUE(datesRatesWithinTheWalk(danishRates.value(1), started)) << danishRates.value(1).toStdString();
    EXPECT_NEAR(shownAmount(danishRates.value(4)), denmark.hundredDollarsAt("buy_cash"), 0.011) << "still selling";
    const QString danishStore = seen("dk-stores").value(0);
    EXPECT_TRUE(std::any_of(denmark.stores.begin(), denmark.stores.end(),
                            [&](const Record &r) { return shows(danishStore, r.value(QStringLiteral("name"))); }))
        << danishStore.toStdString();
    ASSERT_FALSE(denmark.stories.isEmpty());
    EXPECT_EQ(seen("dk-story").value(0), denmark.stories[0].value(QStringLiteral("title")));
    EXPECT_EQ(seen("opened", 2).value(0), denmark.stories[0].value(QStringLiteral("link")));
}

} // namespace
