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
    // False when the reply could not be read (code -1 and no texts).
    bool readable = true;

    // Reads a reply from the Code, Message and Market children of its body's
    // root element. The code is 0 only under a 2xx status with a Code that
    // starts with a number; under another status only a non-zero code counts.
    // A body that is not UTF-8 or not well-formed XML, or a reply without a
    // code that counts, gives -1 and no texts.
    static XRReservationReply fromBody(const QByteArray &body, int statusCode);
};
