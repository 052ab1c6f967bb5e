#pragma once

#include <QByteArray>
#include <QString>

class XRReserverClientDelegate;

// One reservation as the service receives it: the customer's values, the XML
// request document made from them and the body that carries the document.
struct XRReservationRequest
{
    static constexpr const char *clientID = "kelpstone";
    static constexpr const char *sharedSecret = "Xk4pQ9wRt2LmZb7";
    // The personal identity number sent when the customer gave none.
    static constexpr const char *noPersonalID = "000000000000";

    QString langString;
    QString currency;
    QString ammount;
    QString personalID;
    QString firstName;
    QString lastName;
    QString phone;
    QString date;
    QString branchID;
    int paymentMethod = 0;

    static XRReservationRequest fromDelegate(const XRReserverClientDelegate &delegate);

    // The request document, every value XML-escaped, so that no value can
    // close an element or add one.
    QString text() const;
    // The document with the shared secret and the personal identity number masked.
    QString textForLog() const;
    // The document percent-encoded, as UTF-8: the POST body.
    QByteArray body() const;

    // Characters a URL allows but "+", and "<" and ">", stay as they are; every
    // other character becomes its UTF-8 bytes, each written "%XX".
    static QByteArray percentEncoded(const QString &text);
    // The five standard XML escapes.
    static QString xmlEscaped(const QString &value);

private:
    QString filledTemplate(const QString &secret, const QString &number) const;
};
