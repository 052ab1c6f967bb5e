#pragma once

#include "XRError.h"
#include "XRURLRequest.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QTimer>

#include <memory>
#include <optional>

class QNetworkReply;
class XRURLConnection;

// The response of an HTTP exchange; header names compare without regard to case.
class XRHTTPURLResponse
{
public:
    XRHTTPURLResponse() = default;
    XRHTTPURLResponse(const QUrl &url, int statusCode, const QList<QPair<QByteArray, QByteArray>> &headers);

    QUrl URL() const { return m_url; }
    int statusCode() const { return m_statusCode; }
    // The value of the named header field, or a null string when it is absent.
    QString valueForHTTPHeaderField(const QString &field) const;
    QList<QPair<QByteArray, QByteArray>> allHeaderFields() const { return m_headers; }

private:
    QUrl m_url;
    int m_statusCode = 0;
    QList<QPair<QByteArray, QByteArray>> m_headers;
};

// Receives a connection's callbacks, on the main thread, in this order:
// didReceiveResponse (zero or more times), didReceiveData (zero or more times),
// then exactly one of didFinishLoading or didFailWithError.
class XRURLConnectionDelegate
{
public:
    virtual ~XRURLConnectionDelegate() = default;
    virtual void connectionDidReceiveResponse(XRURLConnection *connection, const XRHTTPURLResponse &response) = 0;
    virtual void connectionDidReceiveData(XRURLConnection *connection, const QByteArray &data) = 0;
    virtual void connectionDidFinishLoading(XRURLConnection *connection) = 0;
    virtual void connectionDidFailWithError(XRURLConnection *connection, const XRError &error) = 0;
};

// An asynchronous HTTP(S) transfer. It starts when made; the body reaches the
// delegate decoded (gzip is inflated even when the caller asked for it itself).
// A body over the request's size limit, a transfer past its deadline and a
// redirect the request does not allow all end in didFailWithError.
// The owner may destroy the connection inside any of its callbacks; destroying
// it, or cancel(), stops every further callback.
class XRURLConnection : public QObject
{
    Q_OBJECT
public:
    static std::unique_ptr<XRURLConnection> connectionWithRequest(const XRURLRequest &request,
                                                                  XRURLConnectionDelegate *delegate);
    ~XRURLConnection() override;

    void cancel();
    XRURLRequest originalRequest() const { return m_request; }

    // Blocks the caller until the body has arrived or the request failed; the
    // event loop keeps running meanwhile, so windows still paint. Nothing on failure.
    static std::optional<QByteArray> sendSynchronousRequest(const XRURLRequest &request,
                                                            XRHTTPURLResponse *response = nullptr,
                                                            XRError *error = nullptr);

    static const QString errorDomain; // "XRURLErrorDomain"

private:
    XRURLConnection(const XRURLRequest &request, XRURLConnectionDelegate *delegate);
    void start();
    void replyMetaDataChanged();
    void replyRedirected(const QUrl &target);
    void replyReadyRead();
    void replyFinished();
    // Each delivery may cancel or destroy this connection: false when nothing may follow.
    bool deliverResponse();
    bool deliverData(const QByteArray &received);
    void fail(const XRError &error);
    XRError tooLargeError() const;
    void releaseReply();

    XRURLRequest m_request;
    XRURLConnectionDelegate *m_delegate;
    QPointer<QNetworkReply> m_reply;
    QUrl m_location; // where the last followed redirect led

    struct Inflater;
    std::unique_ptr<Inflater> m_inflater;
    qint64 m_receivedBytes = 0; // as they came over the wire, before inflating
    qint64 m_inflatedBytes = 0;
    QTimer m_deadline;
    bool m_responseDelivered = false;
    bool m_done = false;
};
