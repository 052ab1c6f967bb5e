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
    return {.langString = QStringLiteral("SE"), .currency = QStringLiteral("USD"), .ammount = QStringLiteral("1105.00"),
            .personalID = QStringLiteral("198001011234"), .firstName = QStringLiteral("Åsa"),
            .lastName = QStringLiteral("Berg"), .phone = QStringLiteral("0701234567"),
            .date = QStringLiteral("2026-12-03"), .branchID = QStringLiteral("104"), .paymentMethod = 1};
}

} // namespace xr::demo::test
