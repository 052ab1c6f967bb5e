#include "XRReserverClient.h"

#include "XRConfiguration.h"
#include "XRLog.h"
#include "XRReservationReply.h"
#include "XRReservationRequest.h"
#include "XRReserverClientDelegate.h"

#include <QSslCertificate>

#include <utility>

namespace {

// The authorities besides the system's store that the service's certificate may chain to.
QList<QSslCertificate> extraAuthorities(const QString &caFile)
{
    if (caFile.isEmpty())
        return {};
    const QList<QSslCertificate> authorities = QSslCertificate::fromPath(caFile, QSsl::Pem);
    if (authorities.isEmpty())
        qCWarning(lcReservation, "No certificate read from the reservation CA file %s: trusting the system's store only",
                  qUtf8Printable(caFile));
    return authorities;
}

} // namespace

XRReserverClient *XRReserverClient::reserveWithDelegate(XRReserverClientDelegate *delegate,
                                                        const XRConfiguration &configuration)
{
    if (!delegate) {
        qCWarning(lcReservation, "No delegate to read a reservation from");
        return nullptr;
    }
    return new XRReserverClient(delegate, configuration);
}

XRReserverClient::XRReserverClient(XRReserverClientDelegate *delegate, const XRConfiguration &configuration)
    : m_delegate(delegate)
{
    XRURLRequest request(QUrl(QStringLiteral("https://%1/XmlReservation.aspx").arg(configuration.reservationHost)));
    request.setHTTPMethod(QStringLiteral("POST"));
    request.addValueForHTTPHeaderField(QStringLiteral("text/xml"), QStringLiteral("Content-Type"));
    request.setTrustedCertificates(extraAuthorities(configuration.reservationCAFile));
    request.setMaximumBodySize(maximumReplySize);
    // A redirected POST would carry the personal identity number elsewhere.
    request.setFollowsRedirects(false);

    const XRReservationRequest reservation = XRReservationRequest::fromDelegate(*delegate);
    qCInfo(lcReservation, "Body: %s", qUtf8Printable(reservation.textForLog()));
    request.setHTTPBody(reservation.body());
    m_connection = XRURLConnection::connectionWithRequest(request, this);
}

XRReserverClient::~XRReserverClient() = default;

void XRReserverClient::invalidate()
{
    // Destroying the connection, even inside its own callback, stops every further one.
    m_connection.reset();
    deleteLater();
}

void XRReserverClient::connectionDidReceiveResponse(XRURLConnection *, const XRHTTPURLResponse &response)
{
    // Only the last response's body is the reply.
    m_data.clear();
    m_statusCode = response.statusCode();
}

void XRReserverClient::connectionDidReceiveData(XRURLConnection *, const QByteArray &data)
{
    m_data += data;
}

void XRReserverClient::connectionDidFinishLoading(XRURLConnection *)
{
    const XRReservationReply reply = XRReservationReply::fromBody(std::exchange(m_data, {}), m_statusCode);
    if (m_delegate && m_delegate->respondsToDidFinish())
        m_delegate->reserverClientDidFinishWithCodeMessageMarket(this, reply.code, reply.message, reply.market);
    invalidate();
}

void XRReserverClient::connectionDidFailWithError(XRURLConnection *, const XRError &error)
{
    if (m_delegate && m_delegate->respondsToDidFail())
        m_delegate->reserverClientDidFailWithError(this, error);
    invalidate();
}
