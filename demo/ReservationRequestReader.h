#pragma once

#include "ReservationRequest.h"

#include <QByteArray>

#include <optional>

namespace xr::demo {

// What reading the XML gave: a request, or why there is none.
struct RequestReading
{
    std::optional<ReservationRequest> request;
    QString problem;
};

// Reads a decoded request body with libxml2: no network, no DTD, no entity
// substitution; a document with a document type declaration is refused
// before libxml2 sees it, which keeps entity expansion out altogether.
class ReservationRequestReader
{
public:
    static RequestReading read(const QByteArray &xml);
};

} // namespace xr::demo
