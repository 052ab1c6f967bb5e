#include "XRStoreRowText.h"

#include "XRRecord.h"

#include <QVariantList>

namespace {

QString cut(const QString &text, qsizetype shownWhileShorterThan, qsizetype kept)
{
    if (text.size() < shownWhileShorterThan)
        return text;
    // Half of a character written as two code units would show as a box.
    if (text.at(kept - 1).isHighSurrogate())
        --kept;
    return text.left(kept) + QStringLiteral("...");
}

} // namespace

namespace xr {

QString storeNameText(const QString &name)
{
    return cut(name, 21, 18);
}

QString storeAddressText(const QString &address)
{
    return cut(address, 63, 60);
}

QString storeDistanceText(double metres)
{
    if (metres == 0.0)
        return QString();
    if (metres < 1000.0)
        return QString::asprintf("%0.0f m", metres);
    if (metres < 10000.0)
        return QString::asprintf("%0.1f km", metres / 1000.0);
    return QString::asprintf("%0.0f km", metres / 1000.0);
}

QString storeEventsText(const QVariant &events)
{
    QString text;
    for (const QVariant &item : events.toList()) {
        const QVariantMap &event = xr::record(item);
        const QString name = event.value(QStringLiteral("e_name")).toString();
        const QString start = event.value(QStringLiteral("e_start")).toString();
        const QString stop = event.value(QStringLiteral("e_stop")).toString();
        if (stop.isEmpty())
            text += QStringLiteral("%1: %2\n").arg(name, start);
        else
            text += QStringLiteral("%1: %2 - %3\n").arg(name, start, stop);
    }
    return text;
}

QUrl telephoneURL(const QString &number)
{
    QString digits = number;
    digits.remove(QLatin1Char(' '));
    digits.remove(QLatin1Char('\t'));
    return QUrl(QStringLiteral("tel:") + digits);
}

} // namespace xr
