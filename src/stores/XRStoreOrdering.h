#pragma once

#include "XRStoreCollection.h"

#include <QString>
#include <QVariantList>

// How the store list orders the store collection from the device's position.
namespace xr {

// The records by "distance", nearest first, with equal distances in their
// collection order; then the first record whose "id" is the default store's
// moved to the front.
QVariantList sortStoresByDistance(const QVariantList &stores, const QString &defaultStoreId);

} // namespace xr
