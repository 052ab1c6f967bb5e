#pragma once

namespace xr::demo {

// The reservation service's result codes: 0 accepts, every other refuses and
// says which check failed.
enum class ReservationCode : int {
    Accepted = 0,
    MalformedRequest = 1,
    MissingElement = 2,
    NotAuthorised = 3,
    UnsupportedVersion = 4,
    UnknownMarket = 5,
    UnknownCurrency = 6,
    InvalidAmount = 7,
    UnknownBranch = 8,
    InvalidDate = 9,
    InvalidPersonalNumber = 10,
    InvalidCustomer = 11,
    InvalidPaymentMethod = 12,
};

} // namespace xr::demo
