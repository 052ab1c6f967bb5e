#include "BranchDocument.h"
#include "DemoService.h"
#include "DemoTestHelpers.h"
#include "Market.h"
#include "NewsFeed.h"
#include "RatesDocument.h"
#include "XRNewsFeedParser.h"
#include "XRReservationReply.h"
#include "ReservationBook.h"

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
        return {.dataDir = dataDir, .portBase = 0, .oldRates = oldRates, .clock = fixedNow};
    }

    httplib::Client market(const QString &code)
    {
        httplib::Client client("127.0.0.1", portOf(service.marketAddress(code)));
        client.set_decompress(false);
        return client;
    }

    // A client that trusts the service's CA and nothing else.
    std::unique_ptr<httplib::SSLClient> reservations()
    {
        auto client = std::make_unique<httplib::SSLClient>("127.0.0.1", portOf(service.reservationAddress()));
        client->set_ca_cert_path(service.caCertificate().toStdString());
        return client;
    }

    // Posts a body and reads the answer's code as the application does; -1 when there is none.
    int post(const QByteArray &body)
    {
        const httplib::Result result = reservations()->Post("/XmlReservation.aspx", body.toStdString(), "text/xml");
        return result ? replyOf(result).code : -1;
    }
    static XRReservationReply replyOf(const httplib::Result &result)
    {
        return XRReservationReply::fromBody(QByteArray::fromStdString(result->body), result->status);
    }

    QTemporaryDir dataDir;
    DemoService service{options(dataDir.path())};
};

} // namespace

// What is served is what the generator makes (its output is checked against snapshots).
TEST_F(DemoServiceTest, EveryMarketServesItsThreeDocumentsAndTheStoriesTheFeedLinksAndNothingElse)
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
        const QVariantList stories = XRNewsFeedParser::parse(feed).stories;
        EXPECT_FALSE(stories.isEmpty());
        for (const QVariant &story : stories) {
            const QUrl link(story.toMap().value(QStringLiteral("link")).toString().trimmed());
            EXPECT_EQ(link.authority(), service.marketAddress(m.code));
            const httplib::Result page = client.Get(link.path().toStdString());
            ASSERT_TRUE(page) << link.toString().toStdString();
            EXPECT_EQ(page->status, 200) << link.toString().toStdString();
            EXPECT_EQ(page->get_header_value("Content-Type"), "text/html; charset=utf-8");
        }
    }
    // Other paths and queries are not found; the Swedish stories live under "nyheter".
    httplib::Client sweden = market(QStringLiteral("SE"));
    for (const char *path : {"/ratesxml.asp", "/ratesxml.asp?id=521", "/branchesxml.aspx", "/nyheter/0.html",
                             "/nyheter/99.html", "/nyheder/1.html", "/XmlReservation.aspx"}) {
        const httplib::Result result = sweden.Get(path);
        EXPECT_TRUE(result && result->status == 404) << path;
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

// A tag the client names is answered with a 304 and no body; a client that
// accepts gzip gets the same list compressed, under the same tag.
TEST_F(DemoServiceTest, BranchListAnswersItsEntityTagWithNoBodyAndIsGzippedWhenAccepted)
{
    const char *path = "/branchesxml.aspx?datetest=1";
    httplib::Client client = market(QStringLiteral("DK"));
    const httplib::Result first = client.Get(path);
    ASSERT_TRUE(first);
    EXPECT_FALSE(first->has_header("Content-Encoding"));
    const std::string tag = first->get_header_value("ETag");
    ASSERT_EQ(tag, BranchDocument(*Market::byCode(QStringLiteral("DK"))).entityTag().toStdString());
    const struct { std::string header; bool matches; } cases[] = {
        {tag, true}, {"W/" + tag, true}, {"\"old\", " + tag, true}, {"\"old\"", false},
    };
    for (const auto &c : cases) {
        const httplib::Result answer = client.Get(path, {{"If-None-Match", c.header}});
        ASSERT_TRUE(answer) << c.header;
        EXPECT_EQ(answer->status, c.matches ? 304 : 200) << c.header;
        EXPECT_EQ(answer->body, c.matches ? std::string() : first->body) << c.header;
        EXPECT_EQ(answer->get_header_value("ETag"), tag) << c.header;
    }

    const httplib::Result zipped = client.Get(path, {{"Accept-Encoding", "gzip"}});
    client.set_decompress(true);
    const httplib::Result inflated = client.Get(path, {{"Accept-Encoding", "gzip"}});
    ASSERT_TRUE(zipped && inflated);
    EXPECT_EQ(zipped->get_header_value("Content-Encoding"), "gzip");
    EXPECT_EQ(zipped->get_header_value("ETag"), tag);
    EXPECT_EQ(inflated->body, first->body);
}

// Bodies the desk never sees get a reply of their own; what the desk makes of
// hostile bodies is its own suite's concern. Either way the service carries on.
TEST_F(DemoServiceTest, HostileBodiesGetAReplyAndTheServiceCarriesOn)
{
    const httplib::Result huge = reservations()->Post("/XmlReservation.aspx", std::string(1024 * 1024, '<'), "text/xml");
    const httplib::Result multipart = reservations()->Post("/XmlReservation.aspx", "--x\r\n", "multipart/form-data");
    ASSERT_TRUE(huge && multipart);
    EXPECT_EQ(huge->status, 413);
    EXPECT_EQ(replyOf(huge).code, 1);
    EXPECT_EQ(multipart->status, 400);
    EXPECT_EQ(replyOf(multipart).code, 1);
    EXPECT_EQ(post(goodRequest().body()), 0);
    EXPECT_EQ(service.reservations().all().size(), 1);
}

TEST_F(DemoServiceTest, BooksEveryReservationOfConcurrentClients)
{
    constexpr int clients = 6;
    constexpr int perClient = 5;
    std::atomic<int> accepted{0};
    std::vector<std::thread> threads;
    for (int c = 0; c < clients; ++c) {
        threads.emplace_back([&] {
            for (int i = 0; i < perClient; ++i)
                accepted += post(goodRequest().body()) == 0;
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

TEST_F(DemoServiceTest, ReportsAPortInUseAndFreesItsPortsWhenStopped)
{
    QTemporaryDir otherDir;
    DemoOptions clash = options(otherDir.path());
    clash.portBase = portOf(service.marketAddress(QStringLiteral("SE")));
    DemoService second(clash);
    QString error;
    EXPECT_FALSE(second.start(error));
    EXPECT_TRUE(error.contains(QString::number(clash.portBase))) << error.toStdString();
    EXPECT_TRUE(second.marketAddress(QStringLiteral("SE")).isEmpty());
    httplib::Client client = market(QStringLiteral("SE"));
    EXPECT_TRUE(client.Get("/aktuellt.rss")) << "the first carries on";

    service.stop();
    EXPECT_TRUE(service.marketAddress(QStringLiteral("SE")).isEmpty());
    EXPECT_FALSE(client.Get("/aktuellt.rss"));
}
