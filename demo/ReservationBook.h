#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <mutex>

namespace xr::demo {

struct AcceptedReservation
{
    QString reference;
    QString market;
    QString currency;
    QString amount;
    int branch;
    QString storeName;
    QString fetchAt;
    QString firstName;
    QString lastName;
    QString phone;
    QString personalNumber;
    int paymentMethod;
    QDateTime received;
};

// The accepted reservations, in memory and in order of arrival; safe to use
// from the server's worker threads.
class ReservationBook
{
public:
    // Gives the reservation its reference ("SE-100001"), keeps it and returns it.
    AcceptedReservation add(AcceptedReservation reservation);
    QList<AcceptedReservation> all() const;
    // The list as a JSON array; personal identity numbers show their last four digits only.
    QByteArray toJson() const;

private:
    mutable std::mutex m_mutex;
    QList<AcceptedReservation> m_reservations;
    int m_nextNumber = 100001;
};

} // namespace xr::demo
