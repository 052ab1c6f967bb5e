#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrl>

#include <chrono>
#include <memory>

namespace xr::test {

using HeaderList = QList<QPair<QByteArray, QByteArray>>;

// The data as one gzip member; empty if zlib fails.
QByteArray gzip(const QByteArray &data);

// What the server answers for a path.
struct Response
{
    // The answer to an "If-None-Match" that names the response's ETag.
    enum class NotModified { Status304, EmptyBody200 };
    enum class Fault {
        None,
        DropMidBody,   // headers with the full length, half the body, then the connection closes
        TruncatedGzip, // a complete HTTP message whose gzip body stops halfway
        // Hostile servers; each keeps sending until the client goes away or the
        // server is destroyed, and never more than a few hundred megabytes.
        EndlessBody, // a chunked body repeating the (non-empty) body without end
        GzipBomb,    // about 1 MB of gzip that inflates to 1 GiB of zeros
        SlowDrip,    // the body with its full Content-Length, one byte a second
    };

    int status = 200;
    QByteArray body;
    HeaderList headers;
    QByteArray etag; // sent as "ETag" when set
    NotModified notModified = NotModified::Status304;
    bool gzip = false; // compress the body when the request accepts gzip
    std::chrono::milliseconds delay{0}; // the server waits this long before answering
    Fault fault = Fault::None;
};

// A request as the server received it.
struct ReceivedRequest
{
    QByteArray method;
    QByteArray target; // path and query
    HeaderList headers;
    QByteArray body;

    // The value of the named header (case-insensitive), null when absent.
    QByteArray header(const QByteArray &name) const;
};

// An HTTP or HTTPS server on 127.0.0.1 at a port the system picks, serving on
// threads of its own from the moment it is made until it is destroyed.
//
//     LoopbackServer server;
//     server.route(QStringLiteral("/rates"), {.body = "<rates/>", .gzip = true});
//     load(server.url(QStringLiteral("/rates?id=1")));
//     EXPECT_EQ(server.requests().value(0).method, "GET");
class LoopbackServer
{
public:
    enum class Security {
        Plain,
        Tls,          // a certificate signed by certificateAuthority()
        UntrustedTls, // a certificate signed by an authority nobody is given
    };
    explicit LoopbackServer(Security security = Security::Plain);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer &) = delete;
    LoopbackServer &operator=(const LoopbackServer &) = delete;

    // Answers every method for this path (the query is not part of the match).
    void route(const QString &path, const Response &response);
    // The answer for paths without a route; a 404 with an empty body until set.
    void setDefaultResponse(const Response &response);

    QUrl url(const QString &pathAndQuery) const;
    int port() const { return m_port; }
    // Every request received so far, oldest first; safe to call while serving.
    QList<ReceivedRequest> requests() const;

    // The authority behind Security::Tls servers, made once per process.
    static QByteArray certificateAuthorityPem();

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
    Security m_security;
    int m_port = 0;
};

} // namespace xr::test
