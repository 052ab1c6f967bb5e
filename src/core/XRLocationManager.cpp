#include "XRLocationManager.h"

#include "XRLog.h"

#include <QFile>
#include <QNmeaPositionInfoSource>

const QString XRLocationManager::errorDomain = QStringLiteral("XRLocationErrorDomain");

namespace {

QString describe(QGeoPositionInfoSource::Error error)
{
    switch (error) {
    case QGeoPositionInfoSource::AccessError:
        return QStringLiteral("access to the position source was denied");
    case QGeoPositionInfoSource::ClosedError:
        return QStringLiteral("the position source was closed");
    case QGeoPositionInfoSource::UpdateTimeoutError:
        return QStringLiteral("no position arrived in time");
    case QGeoPositionInfoSource::UnknownSourceError:
    case QGeoPositionInfoSource::NoError:
        break;
    }
    return QStringLiteral("the position source failed");
}

} // namespace

XRLocationManager::XRLocationManager(std::unique_ptr<QGeoPositionInfoSource> source)
    : m_source(std::move(source))
{
    if (!m_source)
        return;
    connect(m_source.get(), &QGeoPositionInfoSource::positionUpdated, this, &XRLocationManager::positionUpdated);
    connect(m_source.get(), &QGeoPositionInfoSource::errorOccurred, this,
            [this](QGeoPositionInfoSource::Error error) { sourceFailed(int(error), describe(error)); });
}

XRLocationManager::~XRLocationManager() = default;

std::unique_ptr<QGeoPositionInfoSource> XRLocationManager::positionSource(const QString &locationSource)
{
    static const QString nmeaScheme = QStringLiteral("nmea:");
    if (locationSource.startsWith(nmeaScheme)) {
        const QString path = locationSource.mid(nmeaScheme.size());
        auto file = std::make_unique<QFile>(path);
        if (!file->open(QIODevice::ReadOnly)) {
            qCWarning(lcLocation, "NMEA replay file cannot be read: %s", qUtf8Printable(path));
            return nullptr;
        }
        // Replayed at the pace of the file's own timestamps.
        auto source = std::make_unique<QNmeaPositionInfoSource>(QNmeaPositionInfoSource::SimulationMode);
        file->setParent(source.get());
        source->setDevice(file.release());
        return source;
    }
    std::unique_ptr<QGeoPositionInfoSource> source(QGeoPositionInfoSource::createDefaultSource(nullptr));
    if (!source)
        qCWarning(lcLocation, "No position source is available");
    return source;
}

void XRLocationManager::setDesiredAccuracy(double metres)
{
    if (m_source)
        m_source->setPreferredPositioningMethods(metres < 100.0 ? QGeoPositionInfoSource::SatellitePositioningMethods
                                                                : QGeoPositionInfoSource::AllPositioningMethods);
}

void XRLocationManager::startUpdatingLocation()
{
    m_updating = true;
    if (m_source) {
        m_source->startUpdates();
        return;
    }
    // Reported from the event loop, as a source would.
    QMetaObject::invokeMethod(
        this, [this] { sourceFailed(int(QGeoPositionInfoSource::UnknownSourceError), QStringLiteral("no position source")); },
        Qt::QueuedConnection);
}

void XRLocationManager::stopUpdatingLocation()
{
    m_updating = false;
    if (m_source)
        m_source->stopUpdates();
}

void XRLocationManager::positionUpdated(const QGeoPositionInfo &info)
{
    const QGeoPositionInfo previous = m_lastLocation;
    m_lastLocation = info;
    if (m_delegate)
        m_delegate->locationManagerDidUpdateToLocationFromLocation(this, info, previous);
}

void XRLocationManager::sourceFailed(int code, const QString &description)
{
    if (m_delegate)
        m_delegate->locationManagerDidFailWithError(this, XRError{errorDomain, code, description, {}});
}
