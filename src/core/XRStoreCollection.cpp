#include "XRStoreCollection.h"

#include "XRLog.h"
#include "XRRecord.h"

#include <QVarLengthArray>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <vector>

namespace {

const QString latitudeKey = QStringLiteral("latitude");
const QString longitudeKey = QStringLiteral("longitude");
const QString locationKey = QStringLiteral("location");
const QString cityKey = QStringLiteral("city");
const QString distanceKey = QStringLiteral("distance");

} // namespace

namespace xr {

double leadingDecimalNumber(QStringView text)
{
    text = text.trimmed();
    // A number is ASCII: the text up to its first other character is enough.
    QVarLengthArray<char, 32> ascii;
    for (QChar c : text) {
        if (c.unicode() >= 0x80)
            break;
        ascii.append(char(c.unicode()));
    }
    const char *begin = ascii.constData();
    const char *end = begin + ascii.size();
    const char *mantissa = begin != end && (*begin == '+' || *begin == '-') ? begin + 1 : begin;
    // Only digits and a point may follow the sign: no "inf", "nan" or hexadecimal.
    if (mantissa == end || !(std::isdigit(static_cast<unsigned char>(*mantissa)) || *mantissa == '.'))
        return 0.0;
    if (*begin == '+')
        ++begin;
    double value = 0.0;
    const auto result = std::from_chars(begin, end, value, std::chars_format::general);
    return result.ec == std::errc() ? value : 0.0;
}

void addDistanceToStores(QVariantList &stores, const QGeoCoordinate &position)
{
    for (QVariant &item : stores) {
        QVariantMap &store = xr::mutableRecord(item);
        const QGeoCoordinate location = store.value(locationKey).value<QGeoCoordinate>();
        store.insert(distanceKey, location.distanceTo(position));
    }
}

} // namespace xr

void XRStoreCollection::setupStoresArray(const QVariantMap &settingsDict)
{
    const QVariant stores = settingsDict.value(QStringLiteral("storesDict")).toMap().value(QStringLiteral("stores"));
    if (stores.typeId() == QMetaType::QVariantList)
        m_storesArray = stores.toList();
    else
        m_storesArray.reset();
    addLocationsToStores();
}

void XRStoreCollection::addLocationsToStores()
{
    if (!m_storesArray)
        return;
    for (QVariant &item : *m_storesArray) {
        QVariantMap &store = xr::mutableRecord(item);
        const auto latitude = store.constFind(latitudeKey);
        const auto longitude = store.constFind(longitudeKey);
        const auto degrees = [&store](QVariantMap::const_iterator text) {
            return text == store.constEnd() ? 0.0 : xr::leadingDecimalNumber(text->toString());
        };
        if (latitude == store.constEnd() || longitude == store.constEnd())
            qCInfo(lcStores, "Note: store %s had no latitude/longitude value",
                   qUtf8Printable(store.value(QStringLiteral("name")).toString()));
        const QGeoCoordinate location(degrees(latitude), degrees(longitude));
        store.insert(locationKey, QVariant::fromValue(location));
    }
}

void XRStoreCollection::addDistanceToStores(const QGeoCoordinate &position)
{
    if (m_storesArray)
        xr::addDistanceToStores(*m_storesArray, position);
}

std::optional<QVariantList> XRStoreCollection::sortedStoresArray() const
{
    if (!m_storesArray)
        return std::nullopt;
    // Each city read once, not once per comparison.
    std::vector<std::pair<QString, qsizetype>> order;
    order.reserve(size_t(m_storesArray->size()));
    for (qsizetype i = 0; i < m_storesArray->size(); ++i)
        order.emplace_back(xr::record(m_storesArray->at(i)).value(cityKey).toString(), i);
    std::stable_sort(order.begin(), order.end(),
                     [](const auto &a, const auto &b) { return QString::compare(a.first, b.first, Qt::CaseSensitive) < 0; });
    QVariantList sorted;
    sorted.reserve(m_storesArray->size());
    for (const auto &entry : order)
        sorted.append(m_storesArray->at(entry.second));
    return sorted;
}
