#include "XRURLConnection.h"

#include "XRLog.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSslConfiguration>

#include <zlib.h>

#include <cmath>

const QString XRURLConnection::errorDomain = QStringLiteral("XRURLErrorDomain");

namespace {

QPointer<QNetworkAccessManager> theSharedManager;

// The main thread's manager, shared so that connections to a host are reused.
QNetworkAccessManager *sharedManager()
{
    if (!theSharedManager) {
        theSharedManager = new QNetworkAccessManager;
        // Gone before the application object: closing a TLS connection needs it.
        qAddPostRoutine([] { delete theSharedManager; });
    }
    return theSharedManager;
}

// Qt reports 4xx and 5xx answers as errors; here they are answers like any other.
bool isHTTPStatusError(QNetworkReply *reply)
{
    if (!reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid())
        return false;
    switch (reply->error()) {
    case QNetworkReply::ContentAccessDenied:
    case QNetworkReply::ContentOperationNotPermittedError:
    case QNetworkReply::ContentNotFoundError:
    case QNetworkReply::AuthenticationRequiredError:
    case QNetworkReply::ContentConflictError:
    case QNetworkReply::ContentGoneError:
    case QNetworkReply::UnknownContentError:
    case QNetworkReply::ProtocolInvalidOperationError:
    case QNetworkReply::InternalServerError:
    case QNetworkReply::OperationNotImplementedError:
    case QNetworkReply::ServiceUnavailableError:
    case QNetworkReply::UnknownServerError:
        return true;
    default:
        return false;
    }
}

// Qt follows these itself, but reports their headers first; they are not the
// response the caller gets.
bool isFollowedRedirect(QNetworkReply *reply)
{
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const bool redirectStatus = status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
    return redirectStatus && reply->hasRawHeader("Location");
}

bool isCompressed(const XRHTTPURLResponse &response)
{
    const QString encoding = response.valueForHTTPHeaderField(QStringLiteral("Content-Encoding")).trimmed();
    return encoding.compare(QLatin1String("gzip"), Qt::CaseInsensitive) == 0
        || encoding.compare(QLatin1String("x-gzip"), Qt::CaseInsensitive) == 0
        || encoding.compare(QLatin1String("deflate"), Qt::CaseInsensitive) == 0;
}

// Whether the answer carries the body its Content-Length announces.
bool carriesBody(QNetworkReply *reply)
{
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    return reply->operation() != QNetworkAccessManager::HeadOperation && status != 204 && status != 304;
}

// A redirect may move to another port or from http to https on the same host,
// never to another host or to a weaker scheme.
bool isAllowedRedirect(const QUrl &from, const QUrl &to)
{
    if (from.host().compare(to.host(), Qt::CaseInsensitive) != 0)
        return false;
    const QString scheme = from.scheme().toLower();
    const QString target = to.scheme().toLower();
    return target == scheme || (scheme == QLatin1String("http") && target == QLatin1String("https"));
}

XRError makeError(QNetworkReply::NetworkError code, const QString &text)
{
    return XRError{XRURLConnection::errorDomain, static_cast<int>(code), text, {}};
}

QNetworkReply *send(QNetworkAccessManager *manager, const QNetworkRequest &request, const QByteArray &method,
                    const QByteArray &body)
{
    if (method == "GET" && body.isEmpty())
        return manager->get(request);
    // Qt expects no body only when it knows the request is HEAD.
    if (method == "HEAD")
        return manager->head(request);
    if (body.isEmpty())
        return manager->sendCustomRequest(request, method);
    return manager->sendCustomRequest(request, method, body);
}

// Collects the outcome of a synchronous request and ends its wait.
class SynchronousDelegate : public XRURLConnectionDelegate
{
public:
    explicit SynchronousDelegate(QEventLoop &loop)
        : m_loop(loop)
    {
    }

    void connectionDidReceiveResponse(XRURLConnection *, const XRHTTPURLResponse &response) override
    {
        this->response = response;
        body.clear();
    }
    void connectionDidReceiveData(XRURLConnection *, const QByteArray &data) override { body += data; }
    void connectionDidFinishLoading(XRURLConnection *) override
    {
        succeeded = true;
        end();
    }
    void connectionDidFailWithError(XRURLConnection *, const XRError &error) override
    {
        this->error = error;
        end();
    }

    XRHTTPURLResponse response;
    QByteArray body;
    XRError error;
    bool succeeded = false;
    bool ended = false;

private:
    void end()
    {
        ended = true;
        m_loop.quit();
    }

    QEventLoop &m_loop;
};

} // namespace

// Inflates a gzip or zlib stream piece by piece as it arrives.
struct XRURLConnection::Inflater
{
    Inflater() { initialized = inflateInit2(&stream, 15 + 32) == Z_OK; } // 32: accept gzip and zlib headers
    ~Inflater()
    {
        if (initialized)
            inflateEnd(&stream);
    }
    Inflater(const Inflater &) = delete;
    Inflater &operator=(const Inflater &) = delete;

    // The bytes this piece decodes to; nothing when the stream is corrupt.
    // Decoding stops once the output exceeds room, so a bomb never inflates whole.
    std::optional<QByteArray> inflate(const QByteArray &input, qint64 room);
    // Whether the stream ended properly; an empty body is complete too.
    bool isComplete() const { return !sawInput || ended; }

    z_stream stream{};
    bool initialized = false;
    bool sawInput = false;
    bool ended = false;
};

std::optional<QByteArray> XRURLConnection::Inflater::inflate(const QByteArray &input, qint64 room)
{
    if (!initialized)
        return std::nullopt;
    if (input.isEmpty())
        return QByteArray();
    sawInput = true;
    QByteArray output;
    char buffer[16384];
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(input.constData()));
    stream.avail_in = static_cast<uInt>(input.size());
    do {
        if (ended) {
            // A gzip file may hold several members one after another.
            if (inflateReset(&stream) != Z_OK)
                return std::nullopt;
            ended = false;
        }
        stream.next_out = reinterpret_cast<Bytef *>(buffer);
        stream.avail_out = sizeof buffer;
        const int result = ::inflate(&stream, Z_NO_FLUSH);
        if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR)
            return std::nullopt;
        output.append(buffer, static_cast<qsizetype>(sizeof buffer - stream.avail_out));
        ended = result == Z_STREAM_END;
        // A full buffer may hide more output, unless the stream just ended.
    } while ((stream.avail_in > 0 || (stream.avail_out == 0 && !ended)) && output.size() <= room);
    return output;
}

XRHTTPURLResponse::XRHTTPURLResponse(const QUrl &url, int statusCode,
                                     const QList<QPair<QByteArray, QByteArray>> &headers)
    : m_url(url)
    , m_statusCode(statusCode)
    , m_headers(headers)
{
}

QString XRHTTPURLResponse::valueForHTTPHeaderField(const QString &field) const
{
    const QByteArray name = field.toLatin1();
    QByteArray value;
    bool found = false;
    for (const auto &header : m_headers) {
        if (header.first.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        // Repeated fields read as one, comma-separated, as HTTP defines them.
        if (found)
            value += ", ";
        value += header.second;
        found = true;
    }
    return found ? QString::fromLatin1(value) : QString();
}

XRURLConnection::XRURLConnection(const XRURLRequest &request, XRURLConnectionDelegate *delegate)
    : m_request(request)
    , m_delegate(delegate)
    , m_location(request.URL())
{
}

XRURLConnection::~XRURLConnection()
{
    releaseReply();
}

std::unique_ptr<XRURLConnection> XRURLConnection::connectionWithRequest(const XRURLRequest &request,
                                                                        XRURLConnectionDelegate *delegate)
{
    std::unique_ptr<XRURLConnection> connection(new XRURLConnection(request, delegate));
    connection->start();
    return connection;
}

void XRURLConnection::start()
{
    QNetworkRequest request(m_request.URL());
    for (const auto &[field, value] : m_request.allHTTPHeaderFields())
        request.setRawHeader(field.toLatin1(), value.toLatin1());
    // Qt inflates only when it chose the encodings itself, and then takes a
    // truncated gzip body for a complete one; so we always choose, and inflate.
    if (m_request.valueForHTTPHeaderField(QStringLiteral("Accept-Encoding")).isNull())
        request.setRawHeader("Accept-Encoding", "gzip, deflate");
    if (!m_request.HTTPBody().isEmpty() && m_request.valueForHTTPHeaderField(QStringLiteral("Content-Type")).isNull())
        request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/x-www-form-urlencoded"));
    // Qt's transfer time-out, like the request's, counts from the last sign of progress.
    request.setTransferTimeout(static_cast<int>(std::lround(m_request.timeoutInterval() * 1000)));
    // Each redirect is checked in replyRedirected before Qt follows it.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::UserVerifiedRedirectPolicy);

    QNetworkAccessManager *manager = sharedManager();
    const QList<QSslCertificate> trusted = m_request.trustedCertificates();
    if (!trusted.isEmpty()) {
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setCaCertificates(QSslConfiguration::systemCaCertificates() + trusted);
        request.setSslConfiguration(tls);
        // Extra authorities stick to a pooled connection to the host, where
        // later requests without them would be trusted too: keep them apart.
        manager = new QNetworkAccessManager;
    }
    m_reply = send(manager, request, m_request.HTTPMethod().toLatin1(), m_request.HTTPBody());
    if (manager != sharedManager())
        connect(m_reply, &QObject::destroyed, manager, &QObject::deleteLater);
    // Qt reads no further ahead of the caller than this, whatever the server sends.
    m_reply->setReadBufferSize(256 * 1024);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &XRURLConnection::replyMetaDataChanged);
    connect(m_reply, &QNetworkReply::readyRead, this, &XRURLConnection::replyReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &XRURLConnection::replyFinished);
    connect(m_reply, &QNetworkReply::redirected, this, &XRURLConnection::replyRedirected);

    // The idle time-out never fires while a server keeps dripping bytes.
    m_deadline.setSingleShot(true);
    m_deadline.callOnTimeout(this, [this] {
        fail(makeError(QNetworkReply::TimeoutError, QStringLiteral("The request took longer than %1 seconds")
                                                         .arg(m_request.maximumDuration())));
    });
    m_deadline.start(static_cast<int>(std::lround(m_request.maximumDuration() * 1000)));
}

void XRURLConnection::cancel()
{
    m_done = true;
    releaseReply();
}

void XRURLConnection::replyMetaDataChanged()
{
    if (isFollowedRedirect(m_reply))
        return;
    const QVariant announced = m_reply->header(QNetworkRequest::ContentLengthHeader);
    if (announced.isValid() && announced.toLongLong() > m_request.maximumBodySize()) {
        fail(tooLargeError());
        return;
    }
    deliverResponse();
}

void XRURLConnection::replyRedirected(const QUrl &target)
{
    if (m_request.followsRedirects() && isAllowedRedirect(m_location, target)) {
        m_location = target;
        Q_EMIT m_reply->redirectAllowed();
        return;
    }
    fail(makeError(QNetworkReply::InsecureRedirectError,
                   QStringLiteral("The redirect to %1 was refused").arg(target.toDisplayString())));
}

void XRURLConnection::replyReadyRead()
{
    if (deliverResponse())
        deliverData(m_reply->readAll());
}

void XRURLConnection::replyFinished()
{
    if (m_reply->error() != QNetworkReply::NoError && !isHTTPStatusError(m_reply)) {
        // Only the transfer time-out aborts a reply that is still connected here.
        if (m_reply->error() == QNetworkReply::OperationCanceledError)
            fail(makeError(QNetworkReply::TimeoutError, QStringLiteral("The request timed out")));
        else
            fail(makeError(m_reply->error(), m_reply->errorString()));
        return;
    }
    if (!deliverResponse() || !deliverData(m_reply->readAll()))
        return;
    // Qt sometimes takes a server's close in mid-body for the end of the body.
    const QVariant announced = m_reply->header(QNetworkRequest::ContentLengthHeader);
    if (announced.isValid() && carriesBody(m_reply) && m_receivedBytes < announced.toLongLong()) {
        fail(makeError(QNetworkReply::RemoteHostClosedError,
                       QStringLiteral("The connection closed before the whole body arrived")));
        return;
    }
    if (m_inflater && !m_inflater->isComplete()) {
        fail(makeError(QNetworkReply::ProtocolFailure, QStringLiteral("The compressed body ended early")));
        return;
    }
    m_done = true;
    releaseReply();
    m_delegate->connectionDidFinishLoading(this);
}

bool XRURLConnection::deliverResponse()
{
    if (m_responseDelivered)
        return true;
    m_responseDelivered = true;
    const XRHTTPURLResponse response(m_reply->url(),
                                     m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                                     m_reply->rawHeaderPairs());
    if (isCompressed(response))
        m_inflater = std::make_unique<Inflater>();
    const QPointer<XRURLConnection> alive(this);
    m_delegate->connectionDidReceiveResponse(this, response);
    return alive && !m_done;
}

XRError XRURLConnection::tooLargeError() const
{
    return makeError(QNetworkReply::UnknownContentError,
                     QStringLiteral("The body is larger than %1 bytes").arg(m_request.maximumBodySize()));
}

bool XRURLConnection::deliverData(const QByteArray &received)
{
    const qint64 limit = m_request.maximumBodySize();
    m_receivedBytes += received.size();
    if (m_receivedBytes > limit) {
        fail(tooLargeError());
        return false;
    }
    QByteArray data = received;
    if (m_inflater) {
        std::optional<QByteArray> inflated = m_inflater->inflate(received, limit - m_inflatedBytes);
        if (!inflated) {
            fail(makeError(QNetworkReply::ProtocolFailure, QStringLiteral("The compressed body is corrupt")));
            return false;
        }
        data = *inflated;
        m_inflatedBytes += data.size();
        if (m_inflatedBytes > limit) {
            fail(tooLargeError());
            return false;
        }
    }
    if (data.isEmpty())
        return true;
    const QPointer<XRURLConnection> alive(this);
    m_delegate->connectionDidReceiveData(this, data);
    return alive && !m_done;
}

void XRURLConnection::fail(const XRError &error)
{
    m_done = true;
    releaseReply();
    qCWarning(lcNet).noquote() << "Connection to" << m_request.URL().toDisplayString() << "failed:"
                               << error.description();
    m_delegate->connectionDidFailWithError(this, error);
}

void XRURLConnection::releaseReply()
{
    m_deadline.stop();
    if (!m_reply)
        return;
    m_reply->disconnect(this);
    if (m_reply->isRunning())
        m_reply->abort();
    // Deferred: this may run inside one of the reply's own signals.
    m_reply->deleteLater();
    m_reply = nullptr;
}

std::optional<QByteArray> XRURLConnection::sendSynchronousRequest(const XRURLRequest &request,
                                                                  XRHTTPURLResponse *response, XRError *error)
{
    QEventLoop loop;
    SynchronousDelegate delegate(loop);
    const std::unique_ptr<XRURLConnection> connection = connectionWithRequest(request, &delegate);
    // Painting and timers go on; input waits, so that no second action starts meanwhile.
    if (!delegate.ended)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (response)
        *response = delegate.response;
    if (!delegate.succeeded) {
        if (error)
            *error = delegate.error;
        return std::nullopt;
    }
    return delegate.body;
}
