#pragma once

#include <QString>
#include <QStringList>

namespace xr::demo {

// The values of one reservation request document ("Submit"), trimmed; an
// element the document lacks leaves its value empty and is named in `missing`.
struct ReservationRequest
{
    QString clientId;
    QString sharedSecret;
    QString market;
    QString versionMajor;
    QString currency;
    QString amount;
    QString personalNumber;
    QString firstName;
    QString lastName;
    QString phone;
    QString fetchAt;
    QString branch;
    QString paymentMethod;
    QStringList missing;  // paths such as "Customer/Tele"
};

} // namespace xr::demo
