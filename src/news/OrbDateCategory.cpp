#include "OrbDateCategory.h"

#include "XRDateCategoryVaxlo.h"

#include <QLocale>
#include <QRegularExpression>

std::optional<QDateTime> OrbDateCategory::dateFromRSSDateString(const QString &string)
{
    // The day and minute read as the rates timestamp does; the hundredths follow.
    static const QRegularExpression hundredths(QStringLiteral(":([0-9]{2})\\z"));
    const QRegularExpressionMatch match = hundredths.match(string);
    if (!match.hasMatch())
        return std::nullopt;
    const std::optional<QDateTime> minute = XRDateCategoryVaxlo::dateFromTimeStamp(string.chopped(3));
    if (!minute)
        return std::nullopt;
    return minute->addMSecs(match.capturedView(1).toInt() * 10);
}

QString OrbDateCategory::RSSDateString(const QDateTime &date)
{
    return QLocale(QStringLiteral("sv_SE")).toString(date.toLocalTime(), QStringLiteral("dd MMM HH:mm"));
}
