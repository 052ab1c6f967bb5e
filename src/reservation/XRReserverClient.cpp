#include "XRReserverClient.h"

#include "XRAppDelegate.h"
#include "XRApplication.h"
#include "XRLog.h"
#include "XRReservationReply.h"
#include "XRReservationRequest.h"
#include "XRReserverClientDelegate.h"

#include <QSslCertificate>

#include <utility>

namespace {

XRConfiguration currentConfiguration()
{
    if (const XRAppDelegate *appDelegate = XRApplication::sharedApplication().delegate())
        return appDelegate->configuration();
    // Without a host the exchange fails, and the delegate hears of it as usual.
    qCWarning(lcReservation, "No application delegate: no reservation host to send to");
    return {};
}

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

XRReserverClient *XRReserverClient::reserveWithDelegate(XRReserverClientDelegate *delegate)
{
    if (!delegate) {
        qCWarning(lcReservation, "No delegate to read a reservation from");
        return nullptr;
    }
    return new XRReserverClient(delegate);
}

XRReserverClient::XRReserverClient(XRReserverClientDelegate *delegate)
    : m_delegate(delegate)
{
    const XRConfiguration configuration = currentConfiguration();
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

void XRReserverClient::connectionDidReceiveResponse(XRURLConnection *, const XRHTTPURLResponse &)
{
    // Only the last response's body is the reply; its status is not looked at.
    m_data.clear();
}

void XRReserverClient::connectionDidReceiveData(XRURLConnection *, const QByteArray &data)
{
    m_data += data;
}

void XRReserverClient::connectionDidFinishLoading(XRURLConnection *)
{
    const XRReservationReply reply = XRReservationReply::fromBody(std::exchange(m_data, {}));
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
