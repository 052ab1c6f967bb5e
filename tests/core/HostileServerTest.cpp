#include "LogCapture.h"
#include "LoopbackServer.h"
#include "XRURLConnection.h"

#include <gtest/gtest.h>

using xr::test::LoopbackServer;
using xr::test::Response;

namespace {

struct HostileCase
{
    const char *name;
    Response::Fault fault;
    int status;            // with a Location on another host when redirects are followed
    bool followsRedirects; // and on the same host when not
    const char *failure;   // part of the error the caller sees
};

const HostileCase hostileCases[] = {
    {"endless", Response::Fault::EndlessBody, 200, true, "larger than 65536 bytes"},
    {"gzipBomb", Response::Fault::GzipBomb, 200, true, "larger than 65536 bytes"},
    {"slowDrip", Response::Fault::SlowDrip, 200, true, "took longer than 1 seconds"},
    {"otherHost", Response::Fault::None, 302, true, "redirect to http://localhost"},
    {"noRedirects", Response::Fault::None, 307, false, "redirect to http://127.0.0.1"},
};

class HostileServer : public testing::TestWithParam<HostileCase>
{
};

// Each hostile answer is an ordinary failure with one log line, within the
// deadline, and the other host is never asked.
TEST_P(HostileServer, FailsWithinTheLimits)
{
    const HostileCase &c = GetParam();
    LoopbackServer server;
    QUrl location = server.url(QStringLiteral("/doc"));
    if (c.followsRedirects)
        location.setHost(QStringLiteral("localhost")); // to a client, another host
    server.route(QStringLiteral("/doc"), {.status = c.status,
                                          .body = QByteArray(40000, 'r'),
                                          .headers = {{"Location", location.toEncoded()}},
                                          .fault = c.fault});
    XRURLRequest request(server.url(QStringLiteral("/doc")));
    request.setMaximumBodySize(64 * 1024);
    request.setMaximumDuration(1);
    request.setFollowsRedirects(c.followsRedirects);

    xr::test::LogCapture log;
    XRError error;
    EXPECT_FALSE(XRURLConnection::sendSynchronousRequest(request, nullptr, &error));
    EXPECT_TRUE(error.description().contains(QLatin1String(c.failure))) << error.description().toStdString();
    EXPECT_EQ(log.messages().filter(QStringLiteral("failed:")).size(), 1) << log.messages().join(u'\n').toStdString();
    EXPECT_EQ(server.requests().size(), 1);
}

INSTANTIATE_TEST_SUITE_P(Faults, HostileServer, testing::ValuesIn(hostileCases),
                         [](const auto &info) { return std::string(info.param.name); });

// A body right at the limit still arrives whole, also inflated, and a
// redirect to the same host is followed.
TEST(HostileServer, LimitsLeaveHonestAnswersAlone)
{
    LoopbackServer server;
    const QByteArray body(64 * 1024, 'k');
    server.route(QStringLiteral("/old"), {.status = 301, .headers = {{"Location", "/doc"}}});
    server.route(QStringLiteral("/doc"), {.body = body, .gzip = true});
    for (const char *path : {"/doc", "/old"}) {
        XRURLRequest request(server.url(QString::fromLatin1(path)));
        request.setMaximumBodySize(body.size());
        EXPECT_EQ(XRURLConnection::sendSynchronousRequest(request), body) << path;
    }
}

} // namespace
