#pragma once

#include <QGeoCoordinate>
#include <QVariantList>
#include <QVariantMap>

#include <optional>

namespace xr {
// The leading decimal number of the text ("59.33 N" gives 59.33), always with
// "." as the decimal separator; 0 when the text does not start with one.
double leadingDecimalNumber(QStringView text);

// Sets "distance" of every record: the metres from the position to the
// record's "location" (a record without one counts as 0).
void addDistanceToStores(QVariantList &stores, const QGeoCoordinate &position);
} // namespace xr

// The store collection: the application's own copies of the current market's
// store records, each with its "location" (a QGeoCoordinate), rebuilt from
// the settings dictionary whenever a branch list has been announced. The
// settings dictionary keeps only what the branch document gave.
class XRStoreCollection
{
public:
    // Takes "storesDict" / "stores" of the settings dictionary (nothing when
    // either is missing) and gives every record its location.
    void setupStoresArray(const QVariantMap &settingsDict);
    // Sets "location" of every record from its "latitude" and "longitude".
    void addLocationsToStores();
    // Sets "distance" of every record from the position. The store list orders
    // these records themselves: a copy of 10,000 records costs more than the
    // ordering.
    void addDistanceToStores(const QGeoCoordinate &position);

    // Nothing before the first build, or when the settings held no stores.
    const std::optional<QVariantList> &storesArray() const { return m_storesArray; }
    // The records in ascending order of "city", compared by UTF-16 code unit
    // whatever the locale; records of one city keep their order.
    std::optional<QVariantList> sortedStoresArray() const;

private:
    std::optional<QVariantList> m_storesArray;
};
