#include "XRStoreOrdering.h"

#include "XRRecord.h"

#include <QVariantMap>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

const QString distanceKey = QStringLiteral("distance");

} // namespace

namespace xr {

QVariantList sortStoresByDistance(const QVariantList &stores, const QString &defaultStoreId)
{
    // Each distance read once, not once per comparison.
    std::vector<std::pair<double, qsizetype>> order;
    order.reserve(size_t(stores.size()));
    for (qsizetype i = 0; i < stores.size(); ++i)
        order.emplace_back(xr::record(stores.at(i)).value(distanceKey).toDouble(), i);
    std::stable_sort(order.begin(), order.end(), [](const auto &a, const auto &b) { return a.first < b.first; });

    QVariantList sorted;
    sorted.reserve(stores.size());
    for (const auto &entry : order)
        sorted.append(stores.at(entry.second));
    if (defaultStoreId.isEmpty())
        return sorted;
    const auto isDefault = [&defaultStoreId](const QVariant &store) {
        return xr::record(store).value(QStringLiteral("id")).toString() == defaultStoreId;
    };
    const auto found = std::find_if(sorted.begin(), sorted.end(), isDefault);
    if (found != sorted.end())
        std::rotate(sorted.begin(), found, found + 1);
    return sorted;
}

} // namespace xr
