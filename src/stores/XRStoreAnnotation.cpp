#include "XRStoreAnnotation.h"

#include "XRLog.h"
#include "XRPropertyList.h"

namespace {

const QString longitudeKey = QStringLiteral("CCCoordinateLongitude");
const QString latitudeKey = QStringLiteral("CCCoordinateLatitude");
const QString titleKey = QStringLiteral("CCAnnotationTitle");
const QString subtitleKey = QStringLiteral("CCAnnotationSubtitle");

bool isNumber(const QVariant &value)
{
    const int type = value.typeId();
    return type == QMetaType::Double || type == QMetaType::LongLong || type == QMetaType::Int;
}

} // namespace

XRStoreAnnotation XRStoreAnnotation::initWithStoreDictionary(const QVariantMap &store)
{
    XRStoreAnnotation annotation;
    const QVariant location = store.value(QStringLiteral("location"));
    if (location.canConvert<QGeoCoordinate>() && location.value<QGeoCoordinate>().isValid())
        annotation.m_coordinate = location.value<QGeoCoordinate>();
    annotation.m_title = store.value(QStringLiteral("name")).toString();
    annotation.m_subtitle = store.value(QStringLiteral("address")).toString();
    return annotation;
}

QVariantMap XRStoreAnnotation::encodeWithCoder() const
{
    return {{longitudeKey, m_coordinate.longitude()},
            {latitudeKey, m_coordinate.latitude()},
            {titleKey, m_title},
            {subtitleKey, m_subtitle}};
}

std::optional<XRStoreAnnotation> XRStoreAnnotation::initWithCoder(const QVariantMap &coder)
{
    const QVariant longitude = coder.value(longitudeKey);
    const QVariant latitude = coder.value(latitudeKey);
    const QVariant title = coder.value(titleKey);
    const QVariant subtitle = coder.value(subtitleKey);
    if (!isNumber(longitude) || !isNumber(latitude) || title.typeId() != QMetaType::QString
        || subtitle.typeId() != QMetaType::QString) {
        qCWarning(lcStores, "Annotation archive is incomplete");
        return std::nullopt;
    }
    XRStoreAnnotation annotation;
    annotation.m_coordinate = QGeoCoordinate(latitude.toDouble(), longitude.toDouble());
    annotation.m_title = title.toString();
    annotation.m_subtitle = subtitle.toString();
    return annotation;
}

std::optional<QByteArray> XRStoreAnnotation::archivedData() const
{
    QString error;
    std::optional<QByteArray> data = XRPropertyList::dataFromPropertyList(encodeWithCoder(), error);
    if (!data)
        qCWarning(lcStores, "Cannot archive annotation: %s", qUtf8Printable(error));
    return data;
}

std::optional<XRStoreAnnotation> XRStoreAnnotation::fromArchivedData(const QByteArray &data)
{
    QString error;
    const std::optional<QVariant> plist = XRPropertyList::propertyListFromData(data, error);
    if (!plist || plist->typeId() != QMetaType::QVariantMap) {
        qCWarning(lcStores, "Annotation archive is not a keyed property list: %s", qUtf8Printable(error));
        return std::nullopt;
    }
    return initWithCoder(plist->toMap());
}
