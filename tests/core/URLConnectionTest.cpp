#include "EventLoop.h"
#include "LoopbackServer.h"
#include "XRURLConnection.h"

#include <QNetworkReply>
#include <QSslCertificate>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>

using xr::test::LoopbackServer;
using xr::test::Response;

namespace {

// Records a connection's callbacks as a trace such as "response data data
// finish"; owns the connection, so that a callback can release it.
class Recorder : public XRURLConnectionDelegate
{
public:
    void start(const XRURLRequest &request) { connection = XRURLConnection::connectionWithRequest(request, this); }
    bool ended() const { return trace.ends_with("finish") || trace.ends_with("fail"); }
    bool waitForEnd() { return xr::test::waitUntil([this] { return ended(); }); }

    void connectionDidReceiveResponse(XRURLConnection *, const XRHTTPURLResponse &received) override
    {
        response = received;
        body.clear();
        record("response");
    }
    void connectionDidReceiveData(XRURLConnection *, const QByteArray &data) override
    {
        body += data;
        record("data");
    }
    void connectionDidFinishLoading(XRURLConnection *) override { record("finish"); }
    void connectionDidFailWithError(XRURLConnection *, const XRError &failure) override
    {
        error = failure;
        record("fail");
    }

    std::unique_ptr<XRURLConnection> connection;
    std::string releaseOn; // destroy the connection inside this callback
    bool cancelOnResponse = false;
    std::string trace;
    XRHTTPURLResponse response;
    QByteArray body;
    XRError error;

private:
    void record(const std::string &event)
    {
        trace += (trace.empty() ? "" : " ") + event;
        if (cancelOnResponse && event == "response")
            connection->cancel();
        if (releaseOn == event)
            connection.reset();
    }
};

// The response, its data in one or more pieces, and the end.
const char *const successPattern = "response( data)+ finish";
const auto success = testing::MatchesRegex(successPattern);

// Events are ordered: once a later request to the same server has come and
// gone, anything an earlier connection still had coming would have arrived.
void settle(LoopbackServer &server)
{
    server.route(QStringLiteral("/settle"), {.body = "done"});
    Recorder probe;
    probe.start(XRURLRequest(server.url(QStringLiteral("/settle"))));
    ASSERT_TRUE(probe.waitForEnd());
    xr::test::drainEvents();
}

// Some 300 kB: many reads, and many of the inflater's buffers.
QByteArray largeDocument()
{
    return "<locations>" + QByteArray("<location id=\"SE.FX.101\"><city>Göteborg</city></location>").repeated(6000) + "</locations>";
}

TEST(URLConnection, FollowsARedirectAndDeliversOnlyTheFinalResponseDataAndFinishInOrder)
{
    LoopbackServer server;
    const QByteArray document = largeDocument();
    server.route(QStringLiteral("/old"),
                 {.status = 302, .body = "moved", .headers = {{"Location", "/branches?datetest=1"}, {"X-Hop", "old"}}});
    server.route(QStringLiteral("/branches"),
                 {.body = document, .headers = {{"X-Rates-Timestamp", "2011-05-03 14:07"}}, .gzip = true});
    Recorder recorder;
    recorder.start(XRURLRequest(server.url(QStringLiteral("/old"))));

    ASSERT_TRUE(recorder.waitForEnd());
    EXPECT_THAT(recorder.trace, success);
    EXPECT_EQ(recorder.body, document);
    EXPECT_EQ(recorder.response.URL(), server.url(QStringLiteral("/branches?datetest=1")));
    // Header names are read without regard to case.
    EXPECT_EQ(recorder.response.valueForHTTPHeaderField(QStringLiteral("x-RATES-timestamp")), QStringLiteral("2011-05-03 14:07"));
    EXPECT_TRUE(recorder.response.valueForHTTPHeaderField(QStringLiteral("X-Hop")).isNull());
    ASSERT_EQ(server.requests().size(), 2);
    EXPECT_EQ(server.requests()[1].target, "/branches?datetest=1");
    // Asked for on its own, so the document came compressed.
    EXPECT_TRUE(server.requests()[1].header("Accept-Encoding").contains("gzip"));
}

// Error statuses are answers like any other; a 304, even with the length the
// document would have, and an empty body finish with no data.
TEST(URLConnection, EveryStatusIsAnAnswerWithItsBody)
{
    LoopbackServer server;
    server.route(QStringLiteral("/304"), {.body = "<locations/>", .etag = "\"v7\""});
    server.route(QStringLiteral("/empty200"),
                 {.body = "<locations/>", .etag = "\"v7\"", .notModified = Response::NotModified::EmptyBody200});
    for (const int status : {404, 500})
        server.route(QStringLiteral("/%1").arg(status), {.status = status, .body = "<error/>"});
    const std::tuple<const char *, int, QByteArray> cases[] = {
        {"/304", 304, {}}, {"/empty200", 200, {}}, {"/404", 404, "<error/>"}, {"/500", 500, "<error/>"}};
    for (const auto &[path, status, body] : cases) {
        SCOPED_TRACE(path);
        XRURLRequest request(server.url(QString::fromLatin1(path)));
        request.setValueForHTTPHeaderField(QStringLiteral("\"v7\""), QStringLiteral("If-None-Match"));
        Recorder recorder;
        recorder.start(request);
        ASSERT_TRUE(recorder.waitForEnd());
        EXPECT_THAT(recorder.trace, body.isEmpty() ? testing::MatchesRegex("response finish") : success);
        EXPECT_EQ(recorder.response.statusCode(), status);
        EXPECT_EQ(recorder.body, body);
    }
}

// Whether or not the caller asked for a compressed body, every encoding is
// inflated, whatever its size against the inflater's 16 KiB buffer, and a broken one fails.
TEST(URLConnection, InflatesEveryEncodingAndBodiesOfSizesAroundBufferBoundariesAndFailsOnBrokenOnes)
{
    LoopbackServer server;
    const QByteArray document = largeDocument();
    // qCompress writes a four-byte length before a zlib stream.
    QList<std::tuple<QByteArray, QByteArray, std::optional<QByteArray>>> cases{
        {"deflate", qCompress(QByteArray("<rates/>")).mid(4), "<rates/>"},
        {"gzip", xr::test::gzip("<rates>") + xr::test::gzip("</rates>"), "<rates></rates>"},
        {"gzip", xr::test::gzip(document).first(xr::test::gzip(document).size() / 2), std::nullopt},
        {"gzip", "this is not gzip", std::nullopt},
    };
    for (const qsizetype size : {1, 16384, 16385, 65537})
        cases.append({"gzip", xr::test::gzip(document.left(size)), document.left(size)});
    for (qsizetype i = 0; i < cases.size(); ++i) {
        const auto &[encoding, body, expected] = cases[i];
        const QString path = QStringLiteral("/%1").arg(i);
        server.route(path, {.body = body, .headers = {{"Content-Encoding", encoding}}});
        for (const bool askForGzip : {true, false}) {
            SCOPED_TRACE(testing::Message() << i << " " << encoding.constData() << (askForGzip ? " asked" : ""));
            XRURLRequest request(server.url(path));
            if (askForGzip)
                request.setValueForHTTPHeaderField(QStringLiteral("gzip"), QStringLiteral("Accept-Encoding"));
            Recorder recorder;
            recorder.start(request);
            ASSERT_TRUE(recorder.waitForEnd());
            EXPECT_THAT(recorder.trace, expected ? success : testing::MatchesRegex("(response( data)* )?fail"));
            if (expected) {
                EXPECT_EQ(recorder.body, *expected);
            }
        }
    }
}

// Qt takes a close in mid-body for the end of the body about half the time
// (when the socket sees the close before the last bytes are read), so the
// transfer is repeated: each one must fail.
TEST(URLConnection, ADroppedConnectionFailsEveryTime)
{
    LoopbackServer server;
    const QByteArray document(1024 * 1024, 'x');
    server.route(QStringLiteral("/drop"), {.body = document, .fault = Response::Fault::DropMidBody});
    for (int attempt = 0; attempt < 8; ++attempt) {
        SCOPED_TRACE(attempt);
        Recorder recorder;
        recorder.start(XRURLRequest(server.url(QStringLiteral("/drop"))));
        ASSERT_TRUE(recorder.waitForEnd());
        EXPECT_THAT(recorder.trace, testing::MatchesRegex("response( data)* fail"));
        EXPECT_LT(recorder.body.size(), document.size());
        EXPECT_EQ(recorder.error.code, int(QNetworkReply::RemoteHostClosedError));
    }
}

// A request waiting on a slow server times out unless it is cancelled first.
TEST(URLConnection, AnIdleTransferTimesOutAndCancelStopsEveryCallback)
{
    LoopbackServer server;
    server.route(QStringLiteral("/slow"), {.body = "late", .delay = std::chrono::seconds(30)});
    server.route(QStringLiteral("/doc"), {.body = largeDocument()});
    XRURLRequest slow(server.url(QStringLiteral("/slow")));
    slow.setTimeoutInterval(0.5);
    Recorder timedOut;
    timedOut.start(slow);
    ASSERT_TRUE(timedOut.waitForEnd());
    EXPECT_EQ(timedOut.trace, "fail");
    EXPECT_EQ(timedOut.error.code, int(QNetworkReply::TimeoutError));

    Recorder waiting;
    waiting.start(XRURLRequest(server.url(QStringLiteral("/slow"))));
    ASSERT_TRUE(xr::test::waitUntil([&] { return server.requests().size() == 2; }));
    waiting.connection->cancel();

    Recorder answered;
    answered.cancelOnResponse = true;
    answered.start(XRURLRequest(server.url(QStringLiteral("/doc"))));

    ASSERT_TRUE(xr::test::waitUntil([&] { return server.requests().size() == 3; }));
    settle(server);
    EXPECT_EQ(waiting.trace, "");
    EXPECT_EQ(answered.trace, "response");
}

TEST(URLConnection, TheOwnerMayDestroyTheConnectionInsideAnyCallback)
{
    LoopbackServer server;
    server.route(QStringLiteral("/doc"), {.body = largeDocument()});
    server.route(QStringLiteral("/drop"), {.body = largeDocument(), .fault = Response::Fault::DropMidBody});
    // Nothing more arrives once the connection is gone.
    const std::pair<const char *, const char *> cases[] = {
        {"response", "response"}, {"data", "response data"}, {"finish", successPattern}, {"fail", "response( data)* fail"}};
    for (const auto &[releaseOn, trace] : cases) {
        SCOPED_TRACE(releaseOn);
        Recorder recorder;
        recorder.releaseOn = releaseOn;
        recorder.start(XRURLRequest(server.url(releaseOn == std::string("fail") ? QStringLiteral("/drop") : QStringLiteral("/doc"))));
        ASSERT_TRUE(xr::test::waitUntil([&] { return recorder.connection == nullptr; }));
        settle(server);
        EXPECT_THAT(recorder.trace, testing::MatchesRegex(trace));
    }
}

XRURLRequest trustingOurAuthority(const QUrl &url)
{
    XRURLRequest request(url);
    request.setTrustedCertificates({QSslCertificate(LoopbackServer::certificateAuthorityPem())});
    return request;
}

TEST(URLConnection, OverTlsSucceedsOnlyWithTheTrustedAuthorityForItsOwnCertificate)
{
    LoopbackServer trusted(LoopbackServer::Security::Tls);
    LoopbackServer untrusted(LoopbackServer::Security::UntrustedTls);
    trusted.route(QStringLiteral("/XmlReservation.aspx"), {.body = "<Code>0</Code>"});
    untrusted.route(QStringLiteral("/XmlReservation.aspx"), {.body = "<Code>0</Code>"});
    Recorder trusting;
    trusting.start(trustingOurAuthority(trusted.url(QStringLiteral("/XmlReservation.aspx"))));
    ASSERT_TRUE(trusting.waitForEnd());
    EXPECT_THAT(trusting.trace, success) << qPrintable(trusting.error.description());
    EXPECT_EQ(trusting.body, "<Code>0</Code>");

    // Our authority is not in the system's store, the trust does not carry over
    // to other requests, and trusting it trusts no other.
    for (const XRURLRequest &refused : {XRURLRequest(trusted.url(QStringLiteral("/XmlReservation.aspx"))),
                                        trustingOurAuthority(untrusted.url(QStringLiteral("/XmlReservation.aspx")))}) {
        SCOPED_TRACE(qPrintable(refused.URL().toString()));
        Recorder recorder;
        recorder.start(refused);
        ASSERT_TRUE(recorder.waitForEnd());
        EXPECT_EQ(recorder.trace, "fail");
        EXPECT_EQ(recorder.error.code, int(QNetworkReply::SslHandshakeFailedError));
    }
    EXPECT_EQ(trusted.requests().size(), 1);
    EXPECT_TRUE(untrusted.requests().empty());
}

} // namespace
