#pragma once

#include <QByteArray>

#include <optional>

namespace xr::demo {

// Undoes the application's encoding of a reservation body: RFC 2396 rules with
// "<" and ">" left as they are. "+" stays a plus sign (it is never a space
// here). Nothing when a "%" is not followed by two hexadecimal digits, or when
// a character appears raw that the encoding would have escaped.
class PercentDecoding
{
public:
    static std::optional<QByteArray> decode(const QByteArray &encoded);
};

} // namespace xr::demo
