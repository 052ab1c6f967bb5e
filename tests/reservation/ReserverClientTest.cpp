#include "EventLoop.h"
#include "LogCapture.h"
#include "LoopbackServer.h"
#include "XRAppDelegate.h"
#include "XRApplication.h"
#include "XRReservationRequest.h"
#include "XRReserverClient.h"
#include "XRReserverClientDelegate.h"
#include "XRXMLDocument.h"

#include <QPointer>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QTimer>
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
    struct Finish
    {
        int code;
        QString message;
        QString market;
    };

    RecordingForm()
    {
        values.langString = QStringLiteral("SE");
        values.currency = QStringLiteral("USD");
        values.ammount = QStringLiteral("649.00");
        values.personalID = QStringLiteral("197001011234");
        values.firstName = QStringLiteral("Anna");
        values.lastName = QStringLiteral("Lind");
        values.phone = QStringLiteral("0701234567");
        values.date = QStringLiteral("2011-05-06");
        values.branchID = QStringLiteral("12");
        values.paymentMethod = 1;
    }

    void reserverClientDidFinishWithCodeMessageMarket(XRReserverClient *client, int code, const QString &message,
                                                      const QString &market) override
    {
        clients.append(client);
        finishes.append({code, message, market});
    }
    void reserverClientDidFailWithError(XRReserverClient *client, const XRError &error) override
    {
        clients.append(client);
        failures.append(error);
    }
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

    XRReservationRequest values;
    QList<XRReserverClient *> clients;
    QList<Finish> finishes;
    QList<XRError> failures;
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

    void configure(int port, const QString &caPath)
    {
        XRConfiguration configuration;
        configuration.reservationHost = QStringLiteral("127.0.0.1:%1").arg(port);
        configuration.reservationCAFile = caPath;
        appDelegate = std::make_unique<XRAppDelegate>(configuration);
        XRApplication::sharedApplication().setDelegate(appDelegate.get());
    }
    void configure(const LoopbackServer &server) { configure(server.port(), caFile.fileName()); }

    // Sends one reservation and waits until the client has gone, which it does
    // only when its exchange has ended.
    static void reserve(RecordingForm &form)
    {
        XRReserverClient *const sent = XRReserverClient::reserveWithDelegate(&form, XRApplication::sharedApplication().delegate()->configuration());
        ASSERT_NE(sent, nullptr);
        const QPointer<XRReserverClient> client(sent);
        EXPECT_TRUE(xr::test::waitUntil([&] { return client.isNull(); })) << "the client ends its own life";
        for (const XRReserverClient *told : form.clients)
            EXPECT_EQ(told, sent) << "callbacks name the client";
    }

    // A port on which nobody listens any more.
    static int closedPort()
    {
        LoopbackServer gone(LoopbackServer::Security::Tls);
        return gone.port();
    }

    QTemporaryFile caFile;
    std::unique_ptr<XRAppDelegate> appDelegate;
};

TEST_F(ReserverClientTest, PostsTheWholeRequestAndReportsTheReply)
{
    LoopbackServer server(LoopbackServer::Security::Tls);
    server.route(endpointPath, {.body = acceptedReply, .headers = {{"Content-Type", "text/xml"}}});
    configure(server);

    RecordingForm form;
    reserve(form);

    ASSERT_EQ(server.requests().size(), 1);
    const xr::test::ReceivedRequest received = server.requests().first();
    EXPECT_EQ(received.method, "POST");
    EXPECT_EQ(received.target, "/XmlReservation.aspx");
    EXPECT_EQ(received.header("Content-Type"), "text/xml");
    EXPECT_EQ(received.body,
              "<Submit><Client><ClientID>kelpstone</ClientID><SharedSecret>Xk4pQ9wRt2LmZb7</SharedSecret>"
              "<Market>SE</Market></Client><Version><Major>1</Major><Minor>0</Minor></Version>"
              "<Items><Item><Currency>USD</Currency><Amount>649.00</Amount></Item></Items>"
              "<Customer><Number>197001011234</Number><First>Anna</First><Last>Lind</Last>"
              "<Tele>0701234567</Tele></Customer><Other><FetchAt>2011-05-06</FetchAt>"
              "<Branch>12</Branch><PaymentMethod>1</PaymentMethod></Other></Submit>");

    ASSERT_EQ(form.finishes.size(), 1);
    EXPECT_TRUE(form.failures.isEmpty());
    EXPECT_EQ(form.finishes[0].code, 0);
    EXPECT_EQ(form.finishes[0].message, QStringLiteral("OK"));
    EXPECT_EQ(form.finishes[0].market, QStringLiteral("SE"));
}

TEST_F(ReserverClientTest, NamesArriveEncodedAndCannotChangeTheDocument)
{
    LoopbackServer server(LoopbackServer::Security::Tls);
    server.route(endpointPath, {.body = acceptedReply});
    configure(server);

    RecordingForm form;
    form.values.personalID.clear();
    form.values.firstName = QStringLiteral("A</First><Number>1");
    form.values.lastName = QStringLiteral("Så & Co's A/B: <x");
    form.values.phone = QStringLiteral("+46 70");
    reserve(form);

    ASSERT_EQ(server.requests().size(), 1);
    const QByteArray body = server.requests().first().body;
    EXPECT_TRUE(body.contains("<Number>000000000000</Number><First>A&lt;/First&gt;&lt;Number&gt;1</First>"
                              "<Last>S%C3%A5%20&amp;%20Co&apos;s%20A/B:%20&lt;x</Last><Tele>%2B46%2070</Tele>"))
        << body.constData();

    // What the retailer reads once it has undone the transport encoding; a
    // form decoder, which reads "+" as a space, reads the same.
    const QByteArray decoded = QByteArray::fromPercentEncoding(body);
    EXPECT_EQ(QByteArray::fromPercentEncoding(QByteArray(body).replace('+', ' ')), decoded);
    XRXMLError error;
    const auto document = XRXMLDocument::documentWithData(decoded, 0, &error);
    ASSERT_TRUE(document) << body.constData();
    const QList<XRXMLElementPtr> customers = document->rootElement()->elementsForName(QStringLiteral("Customer"));
    ASSERT_EQ(customers.size(), 1);
    const QList<XRXMLElementPtr> numbers = customers[0]->elementsForName(QStringLiteral("Number"));
    ASSERT_EQ(numbers.size(), 1);
    EXPECT_EQ(numbers[0]->stringValue(), QStringLiteral("000000000000"));
    EXPECT_EQ(customers[0]->elementsForName(QStringLiteral("First")).value(0)->stringValue(),
              QStringLiteral("A</First><Number>1"));
    EXPECT_EQ(customers[0]->elementsForName(QStringLiteral("Last")).value(0)->stringValue(),
              QStringLiteral("Så & Co's A/B: <x"));
    EXPECT_EQ(customers[0]->elementsForName(QStringLiteral("Tele")).value(0)->stringValue(), QStringLiteral("+46 70"));
}

// What the form hears for each status and body: an acceptance only under a
// good status, a refusal under any, and -1 for anything else.
TEST_F(ReserverClientTest, TheStatusDecidesWhetherAReplyCanAccept)
{
    const QByteArray refused = "<Reply><Code>17</Code><Message>Sold out</Message><Market>SE</Market></Reply>";
    const QByteArray errorPage = "<html><head><title>Runtime Error</title></head><body>Server Error<br></body></html>";
    const QByteArray maintenance = "<html><body><p>Closed for maintenance</p></body></html>";
    const QByteArray nested = "<Reply><Result><Code>0</Code></Result><Message>Deep</Message></Reply>";
    const QByteArray noDigits = "<Reply><Code>OK</Code><Message>Letters</Message></Reply>";
    const struct
    {
        int status;
        QByteArray body;
        int code;
    } cases[] = {
        {200, acceptedReply, 0}, {200, refused, 17},  {200, maintenance, -1}, {200, errorPage, -1},
        {200, nested, -1},       {200, noDigits, -1}, {404, acceptedReply, -1}, {404, refused, 17},
        {500, errorPage, -1},    {503, maintenance, -1}, {503, acceptedReply, -1},
    };
    LoopbackServer server(LoopbackServer::Security::Tls);
    configure(server);
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.status << " " << c.body.constData());
        server.route(endpointPath, {.status = c.status, .body = c.body});
        RecordingForm form;
        reserve(form);
        ASSERT_EQ(form.finishes.size(), 1);
        EXPECT_TRUE(form.failures.isEmpty());
        EXPECT_EQ(form.finishes[0].code, c.code);
        EXPECT_EQ(form.finishes[0].message.isNull(), c.code == -1);
    }
}

TEST_F(ReserverClientTest, OnlyTheLastResponsesBodyIsRead)
{
    LoopbackServer server(LoopbackServer::Security::Tls);
    configure(server);

    RecordingForm form;
    const QPointer<XRReserverClient> client = XRReserverClient::reserveWithDelegate(&form, XRApplication::sharedApplication().delegate()->configuration());
    ASSERT_FALSE(client.isNull());
    // In one turn of the event loop, as the connection delivers them, so that
    // nothing from the network comes between.
    QTimer::singleShot(0, client, [&] {
        client->connectionDidReceiveResponse(nullptr, XRHTTPURLResponse(server.url(endpointPath), 302, {}));
        client->connectionDidReceiveData(nullptr, "<Reply><Code>1</Code><Message>Moved</Message></Reply>");
        client->connectionDidReceiveResponse(nullptr, XRHTTPURLResponse(server.url(endpointPath), 200, {}));
        client->connectionDidReceiveData(nullptr, "<Reply><Code>2</Code>");
        client->connectionDidReceiveData(nullptr, "<Message>Second</Message></Reply>");
        client->connectionDidFinishLoading(nullptr);
    });

    EXPECT_TRUE(xr::test::waitUntil([&] { return client.isNull(); }));
    ASSERT_EQ(form.finishes.size(), 1) << "the cancelled transfer reports nothing more";
    EXPECT_TRUE(form.failures.isEmpty());
    EXPECT_EQ(form.finishes[0].code, 2);
    EXPECT_EQ(form.finishes[0].message, QStringLiteral("Second"));
}

TEST_F(ReserverClientTest, TransportFailuresReachTheDelegate)
{
    configure(closedPort(), caFile.fileName());
    RecordingForm form;
    reserve(form);
    EXPECT_TRUE(form.finishes.isEmpty());
    ASSERT_EQ(form.failures.size(), 1);
    EXPECT_EQ(form.failures[0].domain, QStringLiteral("XRURLErrorDomain"));

    // No reservation host configured.
    appDelegate = std::make_unique<XRAppDelegate>(XRConfiguration());
    XRApplication::sharedApplication().setDelegate(appDelegate.get());
    RecordingForm unconfigured;
    reserve(unconfigured);
    EXPECT_TRUE(unconfigured.finishes.isEmpty());
    EXPECT_EQ(unconfigured.failures.size(), 1);
}

// Nothing is sent to a host that does not verify; a CA file that cannot be
// read leaves the system's store alone, with one line in the log.
TEST_F(ReserverClientTest, ACertificateThatDoesNotVerifyIsAFailure)
{
    const QString missing = caFile.fileName() + QStringLiteral(".missing");
    const struct
    {
        const char *what;
        LoopbackServer::Security security;
        QString caPath;
    } cases[] = {
        {"signed by an authority not given", LoopbackServer::Security::UntrustedTls, caFile.fileName()},
        {"no CA file", LoopbackServer::Security::Tls, QString()},
        {"a CA file that cannot be read", LoopbackServer::Security::Tls, missing},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        LoopbackServer server(c.security);
        server.route(endpointPath, {.body = acceptedReply});
        configure(server.port(), c.caPath);
        xr::test::LogCapture log;
        RecordingForm form;
        reserve(form);
        EXPECT_TRUE(form.finishes.isEmpty());
        EXPECT_EQ(form.failures.size(), 1);
        EXPECT_TRUE(server.requests().isEmpty());
        EXPECT_EQ(log.messages().filter(missing).size(), c.caPath == missing ? 1 : 0);
    }
}

TEST_F(ReserverClientTest, TheLogShowsNeitherTheSecretNorTheNumber)
{
    LoopbackServer server(LoopbackServer::Security::Tls);
    server.route(endpointPath, {.body = acceptedReply});
    configure(server);

    xr::test::LogCapture log;
    RecordingForm form;
    reserve(form);
    ASSERT_EQ(form.finishes.size(), 1);

    const QStringList messages = log.messages();
    const QString body = messages.value(messages.indexOf(QRegularExpression(QStringLiteral("^Body: .*"))));
    EXPECT_TRUE(body.startsWith(QLatin1String(
        "Body: <Submit><Client><ClientID>kelpstone</ClientID><SharedSecret>***</SharedSecret><Market>SE</Market>")))
        << qPrintable(messages.join(u'\n'));
    EXPECT_TRUE(body.contains(QLatin1String("<Customer><Number>***</Number><First>Anna</First>"))) << qPrintable(body);
    EXPECT_TRUE(log.contains(QStringLiteral("parsing error: 0")));
    for (const QString &message : messages) {
        EXPECT_FALSE(message.contains(QLatin1String("Xk4pQ9wRt2LmZb7"))) << qPrintable(message);
        EXPECT_FALSE(message.contains(QLatin1String("197001011234"))) << qPrintable(message);
    }
}

} // namespace
