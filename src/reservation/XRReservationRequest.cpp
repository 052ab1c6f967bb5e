#include "XRReservationRequest.h"

#include "XRReserverClientDelegate.h"

namespace {

const QString masked = QStringLiteral("***");

QString element(const char *name, const QString &value)
{
    const QLatin1String tag(name);
    return QLatin1Char('<') + tag + QLatin1Char('>') + XRReservationRequest::xmlEscaped(value) + QLatin1String("</")
        + tag + QLatin1Char('>');
}

} // namespace

XRReservationRequest XRReservationRequest::fromDelegate(const XRReserverClientDelegate &delegate)
{
    // The number is read first, as the service's own client always has.
    XRReservationRequest request;
    request.personalID = delegate.personalID();
    request.langString = delegate.langString();
    request.currency = delegate.currency();
    request.ammount = delegate.ammount();
    request.firstName = delegate.firstName();
    request.lastName = delegate.lastName();
    request.phone = delegate.phone();
    request.date = delegate.date();
    request.branchID = delegate.branchID();
    request.paymentMethod = delegate.paymentMethod();
    return request;
}

QString XRReservationRequest::text() const
{
    return filledTemplate(QLatin1String(sharedSecret),
                          personalID.isEmpty() ? QLatin1String(noPersonalID) : personalID);
}

QString XRReservationRequest::textForLog() const
{
    return filledTemplate(masked, masked);
}

QByteArray XRReservationRequest::body() const
{
    return percentEncoded(text());
}

QByteArray XRReservationRequest::percentEncoded(const QString &text)
{
    // Letters, digits and "-._~" are never encoded; these are the rest of what a
    // URL allows, but "+", which a form-decoding service would read as a space.
    return text.toUtf8().toPercentEncoding("!*'();/?:@&=$,<>");
}

QString XRReservationRequest::xmlEscaped(const QString &value)
{
    QString escaped;
    escaped.reserve(value.size());
    for (const QChar c : value) {
        switch (c.unicode()) {
        case u'&':
            escaped += QLatin1String("&amp;");
            break;
        case u'<':
            escaped += QLatin1String("&lt;");
            break;
        case u'>':
            escaped += QLatin1String("&gt;");
            break;
        case u'"':
            escaped += QLatin1String("&quot;");
            break;
        case u'\'':
            escaped += QLatin1String("&apos;");
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

QString XRReservationRequest::filledTemplate(const QString &secret, const QString &number) const
{
    return QLatin1String("<Submit><Client>") + element("ClientID", QLatin1String(clientID))
        + element("SharedSecret", secret) + element("Market", langString)
        + QLatin1String("</Client><Version><Major>1</Major><Minor>0</Minor></Version><Items><Item>")
        + element("Currency", currency) + element("Amount", ammount) + QLatin1String("</Item></Items><Customer>")
        + element("Number", number) + element("First", firstName) + element("Last", lastName)
        + element("Tele", phone) + QLatin1String("</Customer><Other>") + element("FetchAt", date)
        + element("Branch", branchID) + element("PaymentMethod", QString::number(paymentMethod))
        + QLatin1String("</Other></Submit>");
}
