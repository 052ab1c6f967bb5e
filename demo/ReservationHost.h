#pragma once

#include "Clock.h"
#include "ReservationBook.h"
#include "ReservationDesk.h"

namespace httplib {
class Server;
}

namespace xr::demo {

// The HTTPS host of the reservation service: "/XmlReservation.aspx" takes
// reservations, "/reservations" lists the accepted ones as JSON.
class ReservationHost
{
public:
    explicit ReservationHost(Clock clock);

    void install(httplib::Server &server);
    const ReservationBook &book() const { return m_book; }

private:
    Clock m_clock;
    ReservationBook m_book;
    ReservationDesk m_desk;
};

} // namespace xr::demo
