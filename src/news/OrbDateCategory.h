#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// Reading and showing the publication dates of the news feed.
class OrbDateCategory
{
public:
    // "yyyy-MM-dd HH:mm:SS" in the device's time zone. The two digits after the
    // last colon are hundredths of a second, so the feed's seconds never reach
    // the minute. Nothing for any other text.
    static std::optional<QDateTime> dateFromRSSDateString(const QString &string);
    // "dd MMM HH:mm" with the Swedish month abbreviations, whatever the market.
    static QString RSSDateString(const QDateTime &date);
};
