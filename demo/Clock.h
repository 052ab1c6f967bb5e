#pragma once

#include <QDateTime>

#include <functional>

namespace xr::demo {

// Where the service takes the current local time from; tests fix it.
using Clock = std::function<QDateTime()>;

} // namespace xr::demo
