#pragma once

#include "ReservationCode.h"

#include <QString>

namespace xr::demo {

// The texts of the reservation replies, in the market's language; English
// where the market is not known. Each text has %1-style places for details.
class ReservationMessages
{
public:
    static QString text(ReservationCode code, const QString &language);
};

} // namespace xr::demo
