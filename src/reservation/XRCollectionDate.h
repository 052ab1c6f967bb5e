#pragma once

#include <QDateTime>

// The collection-date rules: nothing can be collected sooner than three days
// ahead, and the stores hand out nothing on Saturdays and Sundays. Days are
// counted in seconds (86400 a day) and weekdays in the device's time zone.
namespace xr {

// Three days after now, or the Monday after when that day is a Saturday or a
// Sunday; the time of day is now's.
QDateTime earliestCollectionDate(const QDateTime &now);

// A Saturday or a Sunday moved to the Monday after, keeping the time of day;
// any other day as it is.
QDateTime collectionDateOffWeekend(const QDateTime &date);

} // namespace xr
