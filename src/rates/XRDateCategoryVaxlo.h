#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// Reading the dates the retailer's documents carry.
class XRDateCategoryVaxlo
{
public:
    // "yyyy-MM-dd HH:mm" (24-hour clock) in the device's time zone; nothing when
    // the text is anything else, trailing text and single-digit fields included.
    static std::optional<QDateTime> dateFromTimeStamp(const QString &timeStamp);
};
