#include "AppConfig.h"

#include "DemoService.h"
#include "Market.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace xr::demo {

QByteArray AppConfig::render(const DemoService &service, const QString &nmeaReplayFile)
{
    QString text = QStringLiteral("[markets]\n");
    for (const Market &market : Market::all())
        text += QStringLiteral("%1=%2\n").arg(market.code, service.marketAddress(market.code));
    text += QStringLiteral("[reservation]\nhost=%1\nca=%2\n").arg(service.reservationAddress(), service.caCertificate());
    // No map tiles or directions service on this machine.
    text += QStringLiteral("[maps]\ntiles=\ndirections=\n[location]\n");
    text += nmeaReplayFile.isEmpty() ? QStringLiteral("source=system\n")
                                     : QStringLiteral("source=nmea:%1\n").arg(QFileInfo(nmeaReplayFile).absoluteFilePath());
    return text.toUtf8();
}

bool AppConfig::write(const QString &path, const QByteArray &text, QString &error)
{
    const QFileInfo info(path);
    QSaveFile file(info.absoluteFilePath());
    if (!QDir().mkpath(info.absolutePath()) || !file.open(QIODevice::WriteOnly) || file.write(text) != text.size()
        || !file.commit()) {
        error = QStringLiteral("cannot write %1").arg(info.absoluteFilePath());
        return false;
    }
    return true;
}

} // namespace xr::demo
