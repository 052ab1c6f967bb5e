#include "XRCollectionDate.h"

namespace {
constexpr qint64 day = 86400;
}

namespace xr {

QDateTime earliestCollectionDate(const QDateTime &now)
{
    const int weekday = now.addSecs(3 * day).date().dayOfWeek();
    const qint64 offset = weekday == Qt::Sunday ? 4 * day : weekday == Qt::Saturday ? 5 * day : 3 * day;
    return now.addSecs(offset);
}

QDateTime collectionDateOffWeekend(const QDateTime &date)
{
    const int weekday = date.date().dayOfWeek();
    return date.addSecs(weekday == Qt::Sunday ? day : weekday == Qt::Saturday ? 2 * day : 0);
}

} // namespace xr
