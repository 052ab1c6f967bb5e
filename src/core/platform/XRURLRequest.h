#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QSslCertificate>
#include <QString>
#include <QUrl>

// A URL request: method, headers, body, time-outs, the largest body it accepts,
// whether it follows redirects and, for the reservation host, the extra
// certificate authorities its certificate may chain to.
class XRURLRequest
{
public:
    static constexpr double defaultTimeoutInterval = 60.0;
    static constexpr double defaultMaximumDuration = 120.0;
    static constexpr qint64 defaultMaximumBodySize = 8 * 1024 * 1024;

    XRURLRequest() = default;
    explicit XRURLRequest(const QUrl &url);
    static XRURLRequest requestWithURL(const QUrl &url) { return XRURLRequest(url); }

    QUrl URL() const { return m_url; }

    QString HTTPMethod() const { return m_method; }
    void setHTTPMethod(const QString &method) { m_method = method; }

    QByteArray HTTPBody() const { return m_body; }
    void setHTTPBody(const QByteArray &body) { m_body = body; }

    // Seconds of silence after which the request fails; 60 unless set.
    double timeoutInterval() const { return m_timeoutInterval; }
    void setTimeoutInterval(double seconds) { m_timeoutInterval = seconds; }

    // Seconds from the start after which the request fails, however steadily
    // the server keeps sending.
    double maximumDuration() const { return m_maximumDuration; }
    void setMaximumDuration(double seconds) { m_maximumDuration = seconds; }

    // The largest body accepted, counted both as received and as inflated;
    // a larger one is a failed load.
    qint64 maximumBodySize() const { return m_maximumBodySize; }
    void setMaximumBodySize(qint64 bytes) { m_maximumBodySize = bytes; }

    // A followed redirect stays on the same host over the same or a safer
    // scheme; a request that follows none fails on any redirect.
    bool followsRedirects() const { return m_followsRedirects; }
    void setFollowsRedirects(bool follows) { m_followsRedirects = follows; }

    // Replaces any earlier value of the header (names compare without regard to case).
    void setValueForHTTPHeaderField(const QString &value, const QString &field);
    // Adds to an earlier value, comma-separated, as HTTP folds repeated headers.
    void addValueForHTTPHeaderField(const QString &value, const QString &field);
    QString valueForHTTPHeaderField(const QString &field) const;
    // Header fields in the order they were first set.
    QList<QPair<QString, QString>> allHTTPHeaderFields() const { return m_headers; }

    // Certificate authorities trusted for this request besides the system's store.
    QList<QSslCertificate> trustedCertificates() const { return m_trustedCertificates; }
    void setTrustedCertificates(const QList<QSslCertificate> &certificates) { m_trustedCertificates = certificates; }

private:
    QUrl m_url;
    QString m_method = QStringLiteral("GET");
    QByteArray m_body;
    double m_timeoutInterval = defaultTimeoutInterval;
    double m_maximumDuration = defaultMaximumDuration;
    qint64 m_maximumBodySize = defaultMaximumBodySize;
    bool m_followsRedirects = true;
    QList<QPair<QString, QString>> m_headers;
    QList<QSslCertificate> m_trustedCertificates;
};
