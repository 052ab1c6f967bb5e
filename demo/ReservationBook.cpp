#include "ReservationBook.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace xr::demo {

namespace {

// A client that keeps posting must not make the service grow without end.
constexpr qsizetype keptReservations = 1000;

QString masked(const QString &personalNumber)
{
    const qsizetype hidden = qMax<qsizetype>(0, personalNumber.size() - 4);
    return QString(hidden, QLatin1Char('*')) + personalNumber.mid(hidden);
}

} // namespace

AcceptedReservation ReservationBook::add(AcceptedReservation reservation)
{
    const std::lock_guard lock(m_mutex);
    reservation.reference = QStringLiteral("%1-%2").arg(reservation.market).arg(m_nextNumber++);
    m_reservations.append(reservation);
    if (m_reservations.size() > keptReservations)
        m_reservations.removeFirst();
    return reservation;
}

QList<AcceptedReservation> ReservationBook::all() const
{
    const std::lock_guard lock(m_mutex);
    return m_reservations;
}

QByteArray ReservationBook::toJson() const
{
    QJsonArray list;
    for (const AcceptedReservation &reservation : all()) {
        list.append(QJsonObject{
            {QStringLiteral("reference"), reservation.reference},
            {QStringLiteral("market"), reservation.market},
            {QStringLiteral("currency"), reservation.currency},
            {QStringLiteral("amount"), reservation.amount},
            {QStringLiteral("branch"), reservation.branch},
            {QStringLiteral("store"), reservation.storeName},
            {QStringLiteral("fetchAt"), reservation.fetchAt},
            {QStringLiteral("firstName"), reservation.firstName},
            {QStringLiteral("lastName"), reservation.lastName},
            {QStringLiteral("phone"), reservation.phone},
            {QStringLiteral("personalNumber"), masked(reservation.personalNumber)},
            {QStringLiteral("paymentMethod"), reservation.paymentMethod},
            {QStringLiteral("received"), reservation.received.toString(Qt::ISODate)},
        });
    }
    return QJsonDocument(list).toJson(QJsonDocument::Indented);
}

} // namespace xr::demo
