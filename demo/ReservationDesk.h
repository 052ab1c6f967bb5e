#pragma once

#include "ReservationBook.h"
#include "ReservationReply.h"
#include "ReservationRequest.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>

namespace xr::demo {

// Takes a reservation body as it arrives over the wire, checks it the way the
// retailer's service does, books what passes and says why the rest failed.
// Every input, however broken, gets a reply.
class ReservationDesk
{
public:
    static constexpr qsizetype maximumBodySize = 64 * 1024;

    explicit ReservationDesk(ReservationBook &book);

    ReservationReply handle(const QByteArray &body, const QDateTime &now);
    // The reply for a body the server stopped reading at the size limit.
    static ReservationReply tooLarge();
    // The reply for anything else that is not a POST the server could read.
    static ReservationReply notAReservation();
    // Three days ahead, moved to the Monday after when that is a weekend day.
    static QDate earliestCollectionDate(const QDate &today);

private:
    ReservationReply check(const ReservationRequest &request, const QDateTime &now);

    ReservationBook &m_book;
};

} // namespace xr::demo
