#pragma once

#include <QByteArray>
#include <QString>

namespace xr::demo {

class DemoService;

// The application's configuration file, pointing it at a running service:
// the market web hosts, the reservation host and the CA to trust.
class AppConfig
{
public:
    // The device position comes from the desktop ("system"), or from an NMEA
    // replay file when one is named.
    static QByteArray render(const DemoService &service, const QString &nmeaReplayFile = {});
    static bool write(const QString &path, const QByteArray &text, QString &error);
};

} // namespace xr::demo
