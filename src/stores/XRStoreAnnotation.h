#pragma once

#include <QByteArray>
#include <QGeoCoordinate>
#include <QString>
#include <QVariantMap>

#include <optional>

// A store's pin on the map: where it stands, and the callout's two lines.
class XRStoreAnnotation
{
public:
    XRStoreAnnotation() = default;
    // At the record's "location" (latitude 0, longitude 0 without one), titled
    // with its "name" and subtitled with its "address".
    static XRStoreAnnotation initWithStoreDictionary(const QVariantMap &store);

    QGeoCoordinate coordinate() const { return m_coordinate; }
    QString title() const { return m_title; }
    void setTitle(const QString &title) { m_title = title; }
    QString subtitle() const { return m_subtitle; }
    void setSubtitle(const QString &subtitle) { m_subtitle = subtitle; }

    // The keyed form: "CCCoordinateLongitude", "CCCoordinateLatitude",
    // "CCAnnotationTitle", "CCAnnotationSubtitle".
    QVariantMap encodeWithCoder() const;
    // Nothing, with one log line, when a key is missing or of the wrong kind.
    static std::optional<XRStoreAnnotation> initWithCoder(const QVariantMap &coder);

    // The keyed form as a binary property list, and back.
    std::optional<QByteArray> archivedData() const;
    static std::optional<XRStoreAnnotation> fromArchivedData(const QByteArray &data);

    friend bool operator==(const XRStoreAnnotation &, const XRStoreAnnotation &) = default;

private:
    QGeoCoordinate m_coordinate{0.0, 0.0};
    QString m_title;
    QString m_subtitle;
};
