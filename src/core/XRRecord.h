#pragma once

#include <QVariant>
#include <QVariantMap>

// Store records travel as QVariantMaps inside QVariantLists; these reach the
// record inside a list item without the copy that toMap() makes.
namespace xr {

// For reading; an item that holds no record reads as an empty one.
inline const QVariantMap &record(const QVariant &item)
{
    static const QVariantMap none;
    return item.typeId() == QMetaType::QVariantMap ? *static_cast<const QVariantMap *>(item.constData()) : none;
}

// For changing in place: the record is copied only while others share it.
// An item that holds no record becomes an empty one.
inline QVariantMap &mutableRecord(QVariant &item)
{
    if (item.typeId() != QMetaType::QVariantMap)
        item = QVariantMap();
    return *static_cast<QVariantMap *>(item.data());
}

} // namespace xr
