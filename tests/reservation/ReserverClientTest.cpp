#include "EventLoop.h"
#include "LogCapture.h"
#include "LoopbackServer.h"
#include "XRAppDelegate.h"
#include "XRApplication.h"
#include "XRReservationRequest.h"
#include "XRReserverClient.h"
#include "XRReserverClientDelegate.h"

#include <QPointer>
#include <QTemporaryFile>
#include <gtest/gtest.h>

#include <memory>

namespace {

using xr::test::LoopbackServer;
using xr::test::Response;

const QString endpointPath = QStringLiteral("/XmlReservation.aspx");
const QByteArray acceptedReply = "<Reply><Code>0</Code><Message>OK</Message><Market>SE</Market></Reply>";

// The reservation form's part: it answers the values and records what it hears.
class RecordingForm : public XRReserverClientDelegate
{
public:
    void reserverClientDidFinishWithCodeMessageMarket(XRReserverClient *, int code, const QString &message,
                                                      const QString &market) override
    {
        finishes.append(QStringLiteral("%1 %2 %3").arg(code).arg(message, market));
    }
    void reserverClientDidFailWithError(XRReserverClient *, const XRError &) override { ++failures; }
    bool respondsToDidFinish() const override { return true; }
    bool respondsToDidFail() const override { return true; }

    QString langString() const override { return values.langString; }
    QString currency() const override { return values.currency; }
    QString ammount() const override { return values.ammount; }
    QString personalID() const override { return values.personalID; }
    QString firstName() const override { return values.firstName; }
    QString lastName() const override { return values.lastName; }
    QString phone() const override { return values.phone; }
    QString date() const override { return values.date; }
    QString branchID() const override { return values.branchID; }
    int paymentMethod() const override { return values.paymentMethod; }

    XRReservationRequest values{.langString = QStringLiteral("SE"), .currency = QStringLiteral("USD"),
                                .ammount = QStringLiteral("649.00"), .personalID = QStringLiteral("197001011234"),
                                .firstName = QStringLiteral("Anna"), .lastName = QStringLiteral("Lind"),
                                .phone = QStringLiteral("0701234567"), .date = QStringLiteral("2011-05-06"),
                                .branchID = QStringLiteral("12"), .paymentMethod = 1};
    QStringList finishes; // "code message market"
    int failures = 0;
};

// An application delegate whose reservation host is a loopback server,
// trusting the test authority through a CA file unless told otherwise.
class ReserverClientTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(caFile.open());
        caFile.write(LoopbackServer::certificateAuthorityPem());
        caFile.flush();
    }

    void TearDown() override { XRApplication::sharedApplication().setDelegate(nullptr); }

    void configure(const QString &host, const QString &caPath)
    {
        XRConfiguration configuration;
        configuration.reservationHost = host;
        configuration.reservationCAFile = caPath;
        appDelegate = std::make_unique<XRAppDelegate>(configuration);
        XRApplication::sharedApplication().setDelegate(appDelegate.get());
    }
    void configure(const LoopbackServer &server) { configure(hostOf(server), caFile.fileName()); }
    static QString hostOf(const LoopbackServer &server) { return QStringLiteral("127.0.0.1:%1").arg(server.port()); }

    // Sends one reservation and waits until the client has gone, which it does
    // only when its exchange has ended.
    static void reserve(RecordingForm &form)
    {
        const QPointer<XRReserverClient> client =
            XRReserverClient::reserveWithDelegate(&form, XRApplication::sharedApplication().delegate()->configuration());
        ASSERT_FALSE(client.isNull());
        EXPECT_TRUE(xr::test::waitUntil([&] { return client.isNull(); })) << "the client ends its own life";
    }

    QTemporaryFile caFile;
    std::unique_ptr<XRAppDelegate> appDelegate;
};

TEST_F(ReserverClientTest, PostsTheWholeRequestAndReportsTheReplyLoggingNeitherTheSecretNorTheNumber)
{
    LoopbackServer server(LoopbackServer::Security::Tls);
    server.route(endpointPath, {.body = acceptedReply, .headers = {{"Content-Type", "text/xml"}}});
    configure(server);

    xr::test::LogCapture log;
    RecordingForm form;
    reserve(form);

    ASSERT_EQ(server.requests().size(), 1);
    const xr::test::ReceivedRequest received = server.requests().first();
    EXPECT_EQ(received.method + ' ' + received.target + ' ' + received.header("Content-Type"),
              "POST /XmlReservation.aspx text/xml");
    EXPECT_EQ(received.body,
              "<Submit><Client><ClientID>kelpstone</ClientID><SharedSecret>Xk4pQ9wRt2LmZb7</SharedSecret>"
              "<Market>SE</Market></Client><Version><Major>1</Major><Minor>0</Minor></Version>"
              "<Items><Item><Currency>USD</Currency><Amount>649.00</Amount></Item></Items>"
              "<Customer><Number>197001011234</Number><First>Anna</First><Last>Lind</Last>"
              "<Tele>0701234567</Tele></Customer><Other><FetchAt>2011-05-06</FetchAt>"
              "<Branch>12</Branch><PaymentMethod>1</PaymentMethod></Other></Submit>");

    EXPECT_EQ(form.finishes, QStringList{QStringLiteral("0 OK SE")});
    EXPECT_EQ(form.failures, 0);

    const QStringList messages = log.messages();
    EXPECT_EQ(messages.filter(QStringLiteral("<Number>***</Number><First>Anna</First>")).size(), 1)
        << "the request is logged, masked";
    for (const QString &message : messages) {
        EXPECT_FALSE(message.contains(QLatin1String("Xk4pQ9wRt2LmZb7"))) << qPrintable(message);
        EXPECT_FALSE(message.contains(QLatin1String("197001011234"))) << qPrintable(message);
    }
}

TEST_F(ReserverClientTest, NamesArriveEncodedAndCannotChangeTheDocument)
{
    LoopbackServer server(LoopbackServer::Security::Tls);
    server.route(endpointPath, {.body = acceptedReply});
    configure(server);

    RecordingForm form;
    form.values.personalID.clear();
    form.values.firstName = QStringLiteral("A</First><Number>1");
    form.values.lastName = QStringLiteral("Så & Co's \"A/B\": <x> 100%😀");
    form.values.phone = QStringLiteral("+46 70");
    reserve(form);

    ASSERT_EQ(server.requests().size(), 1);
    // What the retailer reads once it has undone the transport encoding, also
    // with a form decoder, which reads "+" as a space.
    const QByteArray body = server.requests().first().body;
    const QString customer = QStringLiteral(
        "<Customer><Number>000000000000</Number><First>A&lt;/First&gt;&lt;Number&gt;1</First>"
        "<Last>Så &amp; Co&apos;s &quot;A/B&quot;: &lt;x&gt; 100%😀</Last><Tele>+46 70</Tele></Customer>");
    for (const QByteArray &received : {body, QByteArray(body).replace('+', ' ')})
        EXPECT_TRUE(QString::fromUtf8(QByteArray::fromPercentEncoding(received)).contains(customer)) << received.constData();
}

// The status of the exchange reaches the reading of the reply: an acceptance
// counts only under a good status, a refusal under any.
TEST_F(ReserverClientTest, TheStatusDecidesWhetherAReplyCanAccept)
{
    const QByteArray refused = "<Reply><Code>17</Code><Message>Sold out</Message><Market>SE</Market></Reply>";
    const struct { int status; QByteArray body; const char *finish; } cases[] = {
        {404, refused, "17 Sold out SE"}, {503, acceptedReply, "-1  "}};
    LoopbackServer server(LoopbackServer::Security::Tls);
    configure(server);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.status);
        server.route(endpointPath, {.status = c.status, .body = c.body});
        RecordingForm form;
        reserve(form);
        EXPECT_EQ(form.finishes, QStringList{QString::fromLatin1(c.finish)});
        EXPECT_EQ(form.failures, 0);
    }
}

// Nothing is sent without a reservation host or to a host that does not
// verify; a CA file that cannot be read leaves the system's store alone.
TEST_F(ReserverClientTest, NoHostOrACertificateThatDoesNotVerifyIsAFailure)
{
    const QString missing = caFile.fileName() + QStringLiteral(".missing");
    const struct { const char *what; LoopbackServer::Security security; QString caPath; bool hosted; } cases[] = {
        {"no reservation host", LoopbackServer::Security::Tls, caFile.fileName(), false},
        {"signed by an authority not given", LoopbackServer::Security::UntrustedTls, caFile.fileName(), true},
        {"no CA file", LoopbackServer::Security::Tls, QString(), true},
        {"a CA file that cannot be read", LoopbackServer::Security::Tls, missing, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        LoopbackServer server(c.security);
        server.route(endpointPath, {.body = acceptedReply});
        configure(c.hosted ? hostOf(server) : QString(), c.caPath);
        RecordingForm form;
        reserve(form);
        EXPECT_TRUE(form.finishes.isEmpty());
        EXPECT_EQ(form.failures, 1);
        EXPECT_TRUE(server.requests().isEmpty());
    }
}

} // namespace
