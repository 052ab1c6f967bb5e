#include "LoopbackServer.h"

#include "TlsCertificates.h"

#include <QFile>
#include <QHash>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <httplib.h>
#include <zlib.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace xr::test {

namespace {

// The demo service's certificate code makes both authorities, once per process,
// in a folder that lasts as long as the process; nothing when that fails.
const std::optional<xr::demo::TlsFiles> &tlsFiles(bool trusted)
{
    static QTemporaryDir folder;
    const auto make = [](const char *name) {
        QString error;
        std::optional<xr::demo::TlsFiles> files = xr::demo::TlsCertificates::ensure(folder.filePath(QLatin1String(name)), error);
        if (!files)
            ADD_FAILURE() << "LoopbackServer: " << error.toStdString();
        return files;
    };
    static const std::optional<xr::demo::TlsFiles> trustedFiles = make("trusted");
    static const std::optional<xr::demo::TlsFiles> untrustedFiles = make("untrusted");
    return trusted ? trustedFiles : untrustedFiles;
}

// The elements of a comma-separated header value, without parameters.
QList<QByteArray> headerTokens(const std::string &value)
{
    QList<QByteArray> tokens;
    for (const QByteArray &element : QByteArray::fromStdString(value).split(','))
        tokens.append(element.split(';').first().trimmed());
    return tokens;
}

// Writes the first `length` bytes of the body with a Content-Length for all of it.
void provideBody(httplib::Response &res, const QByteArray &body, qsizetype length, const std::string &contentType)
{
    res.set_content_provider(static_cast<size_t>(body.size()), contentType,
                             [body, length](size_t offset, size_t, httplib::DataSink &sink) {
                                 const auto end = static_cast<size_t>(length);
                                 if (offset < end)
                                     sink.write(body.constData() + offset, end - offset);
                                 return end == static_cast<size_t>(body.size());
                             });
}

// Enough for any test, small enough that a client that never stops reading
// still ends.
constexpr size_t endlessLimit = 512u * 1024 * 1024;

// 1 GiB of zeros as 64 gzip members of 16 MiB each, which a client inflates
// one after another; made once per process.
const QByteArray &gzipBomb()
{
    static const QByteArray bomb = gzip(QByteArray(16 << 20, '\0')).repeated(64);
    return bomb;
}

} // namespace

QByteArray gzip(const QByteArray &data)
{
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return {};
    QByteArray out(static_cast<qsizetype>(deflateBound(&stream, static_cast<uLong>(data.size()))), '\0');
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = deflate(&stream, Z_FINISH);
    out.truncate(static_cast<qsizetype>(stream.total_out));
    deflateEnd(&stream);
    return result == Z_STREAM_END ? out : QByteArray();
}

QByteArray ReceivedRequest::header(const QByteArray &name) const
{
    for (const auto &field : headers) {
        if (field.first.compare(name, Qt::CaseInsensitive) == 0)
            return field.second;
    }
    return {};
}

struct LoopbackServer::Impl
{
    std::unique_ptr<httplib::Server> server;
    std::thread thread;
    std::atomic<bool> listenEnded{false};

    mutable std::mutex mutex;
    std::condition_variable stopping;
    bool isStopping = false;
    QHash<QString, Response> routes;
    Response defaultResponse{.status = 404};
    QList<ReceivedRequest> requests;

    void handle(const httplib::Request &req, httplib::Response &res);
    Response take(const httplib::Request &req);
    // False once the server is being destroyed.
    bool waitOrStop(std::chrono::milliseconds delay);
};

Response LoopbackServer::Impl::take(const httplib::Request &req)
{
    const auto bytes = QByteArray::fromStdString;
    ReceivedRequest received{bytes(req.method), bytes(req.target), {}, bytes(req.body)};
    for (const auto &[name, value] : req.headers)
        received.headers.append({bytes(name), bytes(value)});
    std::lock_guard lock(mutex);
    requests.append(received);
    return routes.value(QString::fromStdString(req.path), defaultResponse);
}

bool LoopbackServer::Impl::waitOrStop(std::chrono::milliseconds delay)
{
    std::unique_lock lock(mutex);
    return !stopping.wait_for(lock, delay, [this] { return isStopping; });
}

void LoopbackServer::Impl::handle(const httplib::Request &req, httplib::Response &res)
{
    const Response response = take(req);
    if (response.delay.count() > 0)
        waitOrStop(response.delay);

    res.status = response.status;
    std::string contentType = "application/octet-stream";
    for (const auto &[name, value] : response.headers) {
        if (name.compare("Content-Type", Qt::CaseInsensitive) == 0)
            contentType = value.toStdString();
        else
            res.set_header(name.toStdString(), value.toStdString());
    }
    if (!response.etag.isEmpty()) {
        res.set_header("ETag", response.etag.toStdString());
        if (headerTokens(req.get_header_value("If-None-Match")).contains(response.etag)) {
            // Like many servers, a 304 gives the length the document would have.
            const bool status304 = response.notModified == Response::NotModified::Status304;
            res.status = status304 ? 304 : 200;
            res.set_header("Content-Length", status304 ? std::to_string(response.body.size()) : "0");
            return;
        }
    }

    QByteArray body = response.body;
    qsizetype sent = body.size();
    switch (response.fault) {
    case Response::Fault::None:
        if (response.gzip && headerTokens(req.get_header_value("Accept-Encoding")).contains("gzip")) {
            body = gzip(body);
            sent = body.size();
            res.set_header("Content-Encoding", "gzip");
            res.set_header("Vary", "Accept-Encoding");
        }
        break;
    case Response::Fault::DropMidBody:
        sent = body.size() / 2;
        break;
    case Response::Fault::TruncatedGzip:
        body = gzip(body);
        body.truncate(body.size() / 2);
        sent = body.size();
        res.set_header("Content-Encoding", "gzip");
        break;
    case Response::Fault::GzipBomb:
        body = gzipBomb();
        sent = body.size();
        res.set_header("Content-Encoding", "gzip");
        break;
    case Response::Fault::EndlessBody:
        res.set_chunked_content_provider(contentType, [this, piece = body.repeated(16)](size_t offset, httplib::DataSink &sink) {
            return offset < endlessLimit && waitOrStop(std::chrono::milliseconds(0))
                && sink.write(piece.constData(), static_cast<size_t>(piece.size()));
        });
        return;
    case Response::Fault::SlowDrip:
        res.set_content_provider(static_cast<size_t>(body.size()), contentType,
                                 [this, body](size_t offset, size_t, httplib::DataSink &sink) {
                                     return sink.write(body.constData() + offset, 1)
                                         && waitOrStop(std::chrono::seconds(1));
                                 });
        return;
    }
    if (body.isEmpty()) {
        res.set_header("Content-Type", contentType);
        res.set_header("Content-Length", "0");
        return;
    }
    // A provider with a known length keeps the library from compressing on its own.
    provideBody(res, body, sent, contentType);
}

LoopbackServer::LoopbackServer(Security security)
    : m_impl(std::make_unique<Impl>())
    , m_security(security)
{
    if (security == Security::Plain) {
        m_impl->server = std::make_unique<httplib::Server>();
    } else {
        const std::optional<xr::demo::TlsFiles> &files = tlsFiles(security == Security::Tls);
        if (!files)
            return;
        m_impl->server = std::make_unique<httplib::SSLServer>(files->serverCertificate.toLocal8Bit().constData(),
                                                              files->serverKey.toLocal8Bit().constData());
    }
    if (!m_impl->server->is_valid()) {
        ADD_FAILURE() << "LoopbackServer: the server could not be set up";
        return;
    }
    // A worker waits out the keep-alive time-out on an idle connection before
    // the server can stop, and Qt opens spare connections that it may never
    // use: so one request per connection, and the shortest wait there is.
    m_impl->server->set_keep_alive_max_count(1);
    m_impl->server->set_keep_alive_timeout(1);
    const auto handler = [impl = m_impl.get()](const httplib::Request &req, httplib::Response &res) {
        impl->handle(req, res);
    };
    m_impl->server->Get(".*", handler);
    m_impl->server->Post(".*", handler);

    const int port = m_impl->server->bind_to_any_port("127.0.0.1");
    if (port <= 0) {
        ADD_FAILURE() << "LoopbackServer: could not bind to 127.0.0.1";
        return;
    }
    m_impl->thread = std::thread([impl = m_impl.get()] {
        impl->server->listen_after_bind();
        impl->listenEnded = true;
    });
    // stop() hangs when called before the listening loop runs, so the server
    // counts as started only once it does.
    while (!m_impl->server->is_running() && !m_impl->listenEnded)
        std::this_thread::yield();
    if (m_impl->listenEnded)
        ADD_FAILURE() << "LoopbackServer: listening ended at once";
    else
        m_port = port;
}

LoopbackServer::~LoopbackServer()
{
    {
        std::lock_guard lock(m_impl->mutex);
        m_impl->isStopping = true;
    }
    m_impl->stopping.notify_all();
    if (m_impl->thread.joinable()) {
        if (!m_impl->listenEnded)
            m_impl->server->stop();
        m_impl->thread.join();
    }
}

void LoopbackServer::route(const QString &path, const Response &response)
{
    std::lock_guard lock(m_impl->mutex);
    m_impl->routes.insert(path, response);
}

void LoopbackServer::setDefaultResponse(const Response &response)
{
    std::lock_guard lock(m_impl->mutex);
    m_impl->defaultResponse = response;
}

QUrl LoopbackServer::url(const QString &pathAndQuery) const
{
    const QString scheme = m_security == Security::Plain ? QStringLiteral("http") : QStringLiteral("https");
    return QUrl(QStringLiteral("%1://127.0.0.1:%2%3").arg(scheme).arg(m_port).arg(pathAndQuery));
}

QList<ReceivedRequest> LoopbackServer::requests() const
{
    std::lock_guard lock(m_impl->mutex);
    return m_impl->requests;
}

QByteArray LoopbackServer::certificateAuthorityPem()
{
    QFile file(tlsFiles(true) ? tlsFiles(true)->caCertificate : QString());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace xr::test
