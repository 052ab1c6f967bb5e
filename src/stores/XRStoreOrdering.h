#pragma once

#include <QGeoCoordinate>
#include <QString>
#include <QVariantList>

// How the store list orders the store collection from the device's position.
namespace xr {

// Sets "distance" of every record: the metres from the position to the
// record's "location" (a record without one counts as 0).
void addDistanceToStores(QVariantList &stores, const QGeoCoordinate &position);

// The records by "distance", nearest first, with equal distances in their
// collection order; then the first record whose "id" is the default store's
// moved to the front.
QVariantList sortStoresByDistance(const QVariantList &stores, const QString &defaultStoreId);

} // namespace xr
