#include "XRDateCategoryVaxlo.h"

#include <QRegularExpression>

std::optional<QDateTime> XRDateCategoryVaxlo::dateFromTimeStamp(const QString &timeStamp)
{
    static const QRegularExpression pattern(
        QStringLiteral("\\A([0-9]{4})-([0-9]{2})-([0-9]{2}) ([0-9]{2}):([0-9]{2})\\z"));
    const QRegularExpressionMatch match = pattern.match(timeStamp);
    if (!match.hasMatch())
        return std::nullopt;
    const auto field = [&match](int index) { return match.capturedView(index).toInt(); };
    const QDate date(field(1), field(2), field(3));
    const QTime time(field(4), field(5));
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    const QDateTime dateTime(date, time, Qt::LocalTime);
    if (!dateTime.isValid())
        return std::nullopt;
    return dateTime;
}
