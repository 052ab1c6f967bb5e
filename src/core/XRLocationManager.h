#pragma once

#include "XRError.h"

#include <QGeoPositionInfo>
#include <QGeoPositionInfoSource>
#include <QObject>
#include <QString>

#include <memory>

class XRLocationManager;

// Receives a location manager's reports on the main thread.
class XRLocationManagerDelegate
{
public:
    virtual ~XRLocationManagerDelegate() = default;
    // oldLocation is the previous report; invalid before the first.
    virtual void locationManagerDidUpdateToLocationFromLocation(XRLocationManager *manager,
                                                                const QGeoPositionInfo &newLocation,
                                                                const QGeoPositionInfo &oldLocation) = 0;
    virtual void locationManagerDidFailWithError(XRLocationManager *manager, const XRError &error) = 0;
};

// Reports the device's position from a Qt position source. Without a source
// (none could be made) every start reports a failure.
class XRLocationManager : public QObject
{
public:
    static const QString errorDomain; // "XRLocationErrorDomain"
    // The accuracy class of the nearest ten metres, in metres.
    static constexpr double accuracyNearestTenMeters = 10.0;

    explicit XRLocationManager(std::unique_ptr<QGeoPositionInfoSource> source);
    ~XRLocationManager() override;

    // The source the configuration names: "system" for the platform's default
    // source, "nmea:" and a path for a replay of that NMEA file. Nothing, with
    // one log line, when it cannot be made.
    static std::unique_ptr<QGeoPositionInfoSource> positionSource(const QString &locationSource);

    void setDelegate(XRLocationManagerDelegate *delegate) { m_delegate = delegate; }
    // Metres the reports should be good to; below 100 m only satellite
    // positioning will do, so the source is asked to prefer it.
    void setDesiredAccuracy(double metres);

    void startUpdatingLocation();
    void stopUpdatingLocation();
    bool isUpdatingLocation() const { return m_updating; }

private:
    void positionUpdated(const QGeoPositionInfo &info);
    void sourceFailed(int code, const QString &description);

    std::unique_ptr<QGeoPositionInfoSource> m_source;
    XRLocationManagerDelegate *m_delegate = nullptr;
    bool m_updating = false;
    QGeoPositionInfo m_lastLocation;
};
