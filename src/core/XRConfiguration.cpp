#include "XRConfiguration.h"

#include "XRMarkets.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

QString XRConfiguration::standardFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QStringLiteral("/vaxlo.conf");
}

std::optional<XRConfiguration> XRConfiguration::fromFile(const QString &path, QString *error)
{
    auto reject = [error](const QString &reason) -> std::optional<XRConfiguration> {
        if (error)
            *error = reason;
        return std::nullopt;
    };
    if (!QFileInfo(path).isReadable())
        return reject(QStringLiteral("cannot read %1").arg(path));
    QSettings file(path, QSettings::IniFormat);
    if (file.status() != QSettings::NoError)
        return reject(QStringLiteral("%1 is not a configuration file").arg(path));

    XRConfiguration configuration;
    for (int index = 0; index < 4; ++index) {
        const QString code = xr::marketCodeForLanguageIndex(index);
        const QString host = file.value(QStringLiteral("markets/") + code).toString().trimmed();
        if (host.isEmpty())
            return reject(QStringLiteral("%1 names no web host for the market %2").arg(path, code));
        configuration.marketHosts[size_t(index)] = host;
    }
    configuration.reservationHost = file.value(QStringLiteral("reservation/host")).toString().trimmed();
    configuration.reservationCAFile = file.value(QStringLiteral("reservation/ca")).toString().trimmed();
    configuration.tileURLTemplate = file.value(QStringLiteral("maps/tiles")).toString().trimmed();
    configuration.directionsHost = file.value(QStringLiteral("maps/directions")).toString().trimmed();
    const QString source = file.value(QStringLiteral("location/source")).toString().trimmed();
    if (!source.isEmpty())
        configuration.locationSource = source;
    return configuration;
}
