#include "BranchDocument.h"
#include "DemoService.h"
#include "DemoTestHelpers.h"
#include "Market.h"
#include "NewsFeed.h"
#include "RatesDocument.h"
#include "ReservationBook.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <httplib.h>

#include <thread>

#include <gtest/gtest.h>

using namespace xr::demo;
using namespace xr::demo::test;

namespace {

int portOf(const QString &address)
{
    return address.section(QLatin1Char(':'), -1).toInt();
}

class DemoServiceTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(startService(service)); }

    bool startService(DemoService &which)
    {
        QString error;
        const bool started = which.start(error);
        EXPECT_TRUE(started) << error.toStdString();
        return started;
    }

    static DemoOptions options(const QString &dataDir, bool oldRates = false)
    {
        DemoOptions options;
        options.dataDir = dataDir;
        options.portBase = 0;
        options.oldRates = oldRates;
        options.clock = fixedNow;
        return options;
    }

    httplib::Client market(const QString &code)
    {
        httplib::Client client("127.0.0.1", portOf(service.marketAddress(code)));
        client.set_decompress(false);
        return client;
    }

    // A client that trusts the service's CA and nothing else.
    std::unique_ptr<httplib::SSLClient> reservations(const std::string &host = "127.0.0.1")
    {
        auto client = std::make_unique<httplib::SSLClient>(host, portOf(service.reservationAddress()));
        client->set_ca_cert_path(service.caCertificate().toStdString());
        client->enable_server_certificate_verification(true);
        return client;
    }

    // Posts a body and reads the reply document's Code; -1 when there is no
    // reply or it is not a reply document.
    int post(const QByteArray &body, std::string *message = nullptr)
    {
        const httplib::Result result = reservations()->Post("/XmlReservation.aspx", body.toStdString(), "text/xml");
        if (!result)
            return -1;
        const XmlDocument reply(QByteArray::fromStdString(result->body));
        const QString code = childText(reply.root(), "Code");
        if (message)
            *message = childText(reply.root(), "Message").toStdString();
        bool numeric = false;
        const int value = code.toInt(&numeric);
        return numeric ? value : -1;
    }

    QTemporaryDir dataDir;
    DemoService service{options(dataDir.path())};
};

} // namespace

// What is served is what the generator makes (its output is checked against snapshots).
TEST_F(DemoServiceTest, EveryMarketServesItsThreeDocumentsAndTheStoriesTheFeedLinks)
{
    for (const Market &m : Market::all()) {
        SCOPED_TRACE(m.code.toStdString());
        httplib::Client client = market(m.code);
        const QByteArray feed = NewsFeed::renderFeed(m, service.marketAddress(m.code), fixedNow());
        const struct { const char *path; QByteArray body; const char *type; } documents[] = {
            {"/ratesxml.asp?id=520", RatesDocument::render(m, fixedNow()), "text/xml; charset=utf-8"},
            {"/branchesxml.aspx?datetest=1", BranchDocument(m).bytes(), "text/xml; charset=utf-8"},
            {"/aktuellt.rss", feed, "application/rss+xml; charset=utf-8"},
        };
        for (const auto &document : documents) {
            const httplib::Result result = client.Get(document.path);
            ASSERT_TRUE(result) << document.path;
            EXPECT_EQ(result->status, 200) << document.path;
            EXPECT_EQ(result->get_header_value("Content-Type"), document.type) << document.path;
            EXPECT_EQ(QByteArray::fromStdString(result->body), document.body) << document.path;
        }
        const XmlDocument feedDocument(feed);
        for (const xmlNode *item : childElements(childElement(feedDocument.root(), "channel"), "item")) {
            const QUrl link(childText(item, "link"));
            EXPECT_EQ(link.authority(), service.marketAddress(m.code));
            const httplib::Result page = client.Get(link.path().toStdString());
            ASSERT_TRUE(page) << link.toString().toStdString();
            EXPECT_EQ(page->status, 200) << link.toString().toStdString();
            EXPECT_EQ(page->get_header_value("Content-Type"), "text/html; charset=utf-8");
        }
    }
}

TEST_F(DemoServiceTest, OtherPathsAndQueriesAreNotFound)
{
    httplib::Client client = market(QStringLiteral("SE"));
    for (const char *path : {"/ratesxml.asp", "/ratesxml.asp?id=521", "/branchesxml.aspx", "/nyheter/0.html",
                             "/nyheter/99.html", "/nyheder/1.html", "/XmlReservation.aspx"}) {
        const httplib::Result result = client.Get(path);
        ASSERT_TRUE(result) << path;
        EXPECT_EQ(result->status, 404) << path;
    }
}

TEST_F(DemoServiceTest, OldRatesAreTwoDaysOld)
{
    QTemporaryDir otherDir;
    DemoService old(options(otherDir.path(), true));
    ASSERT_TRUE(startService(old));
    httplib::Client client("127.0.0.1", portOf(old.marketAddress(QStringLiteral("FI"))));
    const httplib::Result rates = client.Get("/ratesxml.asp?id=520");
    ASSERT_TRUE(rates);
    EXPECT_EQ(QByteArray::fromStdString(rates->body),
              RatesDocument::render(*Market::byCode(QStringLiteral("FI")), fixedNow().addDays(-2)));
}

TEST_F(DemoServiceTest, BranchListAnswersAMatchingEntityTagWithNoBody)
{
    httplib::Client client = market(QStringLiteral("DK"));
    const httplib::Result first = client.Get("/branchesxml.aspx?datetest=1");
    ASSERT_TRUE(first);
    const std::string tag = first->get_header_value("ETag");
    ASSERT_FALSE(tag.empty());
    EXPECT_EQ(tag.front(), '"');
    EXPECT_EQ(tag.back(), '"');

    const httplib::Result again = client.Get("/branchesxml.aspx?datetest=1");
    ASSERT_TRUE(again);
    EXPECT_EQ(again->get_header_value("ETag"), tag);
    EXPECT_EQ(again->body, first->body);

    for (const std::string &header : {tag, "W/" + tag, "\"old\", " + tag}) {
        const httplib::Result unchanged = client.Get("/branchesxml.aspx?datetest=1", {{"If-None-Match", header}});
        ASSERT_TRUE(unchanged) << header;
        EXPECT_EQ(unchanged->status, 304) << header;
        EXPECT_TRUE(unchanged->body.empty()) << header;
        EXPECT_EQ(unchanged->get_header_value("ETag"), tag);
    }

    const httplib::Result changed = client.Get("/branchesxml.aspx?datetest=1", {{"If-None-Match", "\"old\""}});
    ASSERT_TRUE(changed);
    EXPECT_EQ(changed->status, 200);
    EXPECT_EQ(changed->body, first->body);

    const httplib::Result otherMarket = market(QStringLiteral("NO")).Get("/branchesxml.aspx?datetest=1");
    ASSERT_TRUE(otherMarket);
    EXPECT_NE(otherMarket->get_header_value("ETag"), tag);
}

TEST_F(DemoServiceTest, BranchListIsGzippedWhenTheClientAcceptsIt)
{
    httplib::Client client = market(QStringLiteral("SE"));
    const httplib::Result plain = client.Get("/branchesxml.aspx?datetest=1");
    const httplib::Result zipped = client.Get("/branchesxml.aspx?datetest=1", {{"Accept-Encoding", "gzip"}});
    client.set_decompress(true);
    const httplib::Result inflated = client.Get("/branchesxml.aspx?datetest=1", {{"Accept-Encoding", "gzip"}});
    ASSERT_TRUE(plain && zipped && inflated);
    EXPECT_FALSE(plain->has_header("Content-Encoding"));
    EXPECT_EQ(zipped->get_header_value("Content-Encoding"), "gzip");
    EXPECT_LT(zipped->body.size(), plain->body.size());
    EXPECT_EQ(inflated->body, plain->body);
    EXPECT_EQ(zipped->get_header_value("ETag"), plain->get_header_value("ETag"));
}

TEST_F(DemoServiceTest, TakesReservationsOverVerifiedHttpsAndListsThem)
{
    std::string message;
    EXPECT_EQ(post(Submission().body(), &message), 0) << message;

    const httplib::Result listed = reservations("localhost")->Get("/reservations");
    ASSERT_TRUE(listed) << "the certificate also names localhost: " << httplib::to_string(listed.error());
    EXPECT_EQ(listed->get_header_value("Content-Type"), "application/json");
    const QJsonArray list = QJsonDocument::fromJson(QByteArray::fromStdString(listed->body)).array();
    ASSERT_EQ(list.size(), 1);
    EXPECT_EQ(list[0].toObject()[QStringLiteral("reference")].toString(), QStringLiteral("SE-100001"));
    EXPECT_EQ(list[0].toObject()[QStringLiteral("firstName")].toString(), QStringLiteral("Åsa"));

    httplib::SSLClient untrusting("127.0.0.1", portOf(service.reservationAddress()));
    untrusting.enable_server_certificate_verification(true);
    untrusting.set_ca_cert_path("/nonexistent-ca.pem");
    EXPECT_FALSE(untrusting.Get("/reservations")) << "the certificate is trusted through our CA only";
}

TEST_F(DemoServiceTest, HostileBodiesGetAReplyAndTheServiceCarriesOn)
{
    const httplib::Result huge = reservations()->Post("/XmlReservation.aspx", std::string(1024 * 1024, '<'), "text/xml");
    ASSERT_TRUE(huge) << httplib::to_string(huge.error());
    EXPECT_EQ(huge->status, 413);
    const XmlDocument tooLarge(QByteArray::fromStdString(huge->body));
    EXPECT_EQ(childText(tooLarge.root(), "Code"), QStringLiteral("1"));
    EXPECT_TRUE(childText(tooLarge.root(), "Message").contains(QStringLiteral("64 KiB")));

    const httplib::Result get = reservations()->Get("/XmlReservation.aspx");
    ASSERT_TRUE(get);
    EXPECT_EQ(childText(XmlDocument(QByteArray::fromStdString(get->body)).root(), "Code"), QStringLiteral("1"));
    const httplib::Result multipart =
        reservations()->Post("/XmlReservation.aspx", "--x\r\n", "multipart/form-data");
    ASSERT_TRUE(multipart);
    EXPECT_EQ(multipart->status, 400);
    EXPECT_EQ(childText(XmlDocument(QByteArray::fromStdString(multipart->body)).root(), "Code"), QStringLiteral("1"));

    // What the desk makes of hostile bodies is its own suite's concern; here, the service carries on.
    EXPECT_EQ(post("%3CSubmit%3"), 1);
    std::string message;
    EXPECT_EQ(post(Submission().body(), &message), 0) << message;
    EXPECT_EQ(service.reservations().all().size(), 1);
}

TEST_F(DemoServiceTest, BooksEveryReservationOfConcurrentClients)
{
    constexpr int clients = 6;
    constexpr int perClient = 5;
    std::vector<std::thread> threads;
    std::atomic<int> accepted{0};
    const std::string body = Submission().body().toStdString();
    const int port = portOf(service.reservationAddress());
    const std::string ca = service.caCertificate().toStdString();
    for (int c = 0; c < clients; ++c) {
        threads.emplace_back([&] {
            for (int i = 0; i < perClient; ++i) {
                httplib::SSLClient client("127.0.0.1", port);
                client.set_ca_cert_path(ca);
                client.enable_server_certificate_verification(true);
                const httplib::Result result = client.Post("/XmlReservation.aspx", body, "text/xml");
                if (result && result->body.find("<Code>0</Code>") != std::string::npos)
                    ++accepted;
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    EXPECT_EQ(accepted, clients * perClient);
    QSet<QString> references;
    for (const AcceptedReservation &reservation : service.reservations().all())
        references.insert(reservation.reference);
    EXPECT_EQ(references.size(), clients * perClient);
}

TEST_F(DemoServiceTest, ReportsAPortInUse)
{
    QTemporaryDir otherDir;
    DemoOptions clash = options(otherDir.path());
    clash.portBase = portOf(service.marketAddress(QStringLiteral("SE")));
    DemoService second(clash);
    QString error;
    EXPECT_FALSE(second.start(error));
    EXPECT_TRUE(error.contains(QString::number(clash.portBase))) << error.toStdString();
    EXPECT_TRUE(second.marketAddress(QStringLiteral("SE")).isEmpty());

    const httplib::Result stillServing = market(QStringLiteral("SE")).Get("/aktuellt.rss");
    ASSERT_TRUE(stillServing);
    EXPECT_EQ(stillServing->status, 200);
}

TEST_F(DemoServiceTest, StopsAndFreesItsPorts)
{
    const int port = portOf(service.marketAddress(QStringLiteral("SE")));
    service.stop();
    EXPECT_TRUE(service.marketAddress(QStringLiteral("SE")).isEmpty());
    httplib::Client client("127.0.0.1", port);
    EXPECT_FALSE(client.Get("/aktuellt.rss"));
}
