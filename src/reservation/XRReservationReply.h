#pragma once

#include <QByteArray>
#include <QString>

// What the reservation service answered: the result code (0 accepted, any
// other value refused), a message for the customer and a market code.
struct XRReservationReply
{
    int code = 0;
    // Null when the reply has none.
    QString message;
    QString market;
    // False when the body was no well-formed UTF-8 document (code -1).
    bool readable = true;

    // Reads a reply body from the Code, Message and Market children of its root
    // element. A body that is not UTF-8 or not well-formed XML gives -1 and no
    // texts; a missing Code, or one that does not start with a number, gives 0.
    static XRReservationReply fromBody(const QByteArray &body);
};
