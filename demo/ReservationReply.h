#pragma once

#include "ReservationCode.h"

#include <QByteArray>
#include <QString>

namespace xr::demo {

// The service's answer: a document whose root holds Code, Message and Market
// (and Reference for an accepted reservation).
struct ReservationReply
{
    ReservationCode code;
    QString message;
    QString market;     // empty when the request named no known market
    QString reference;  // only for an accepted reservation

    QByteArray toXml() const;
};

} // namespace xr::demo
