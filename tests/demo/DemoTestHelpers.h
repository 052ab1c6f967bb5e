#pragma once

#include "XRReservationRequest.h"

#include <QDateTime>

namespace xr::demo::test {

// Monday 30 November 2026, 10:00 local time: the earliest collection date is
// then Thursday 3 December.
inline QDateTime fixedNow()
{
    return QDateTime(QDate(2026, 11, 30), QTime(10, 0));
}

// The application's own reservation request with good values for the Swedish
// market; tests change the field they are about.
inline XRReservationRequest goodRequest()
{
    XRReservationRequest request;
    request.langString = QStringLiteral("SE");
    request.currency = QStringLiteral("USD");
    request.ammount = QStringLiteral("1105.00");
    request.personalID = QStringLiteral("198001011234");
    request.firstName = QStringLiteral("Åsa");
    request.lastName = QStringLiteral("Berg");
    request.phone = QStringLiteral("0701234567");
    request.date = QStringLiteral("2026-12-03");
    request.branchID = QStringLiteral("104");
    request.paymentMethod = 1;
    return request;
}

} // namespace xr::demo::test
