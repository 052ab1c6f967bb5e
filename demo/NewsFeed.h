#pragma once

#include "Market.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

namespace xr::demo {

// The market's news: the RSS feed ("/aktuellt.rss") in the market's language,
// and a small HTML page for each story it links to. Stories are dated
// relative to `now`, so the feed always looks recent.
class NewsFeed
{
public:
    // `host` is "address:port" of the market's web host, for the story links.
    static QByteArray renderFeed(const Market &market, const QString &host, const QDateTime &now);
    // Story `number` counts from 1; nothing for a number the feed does not have.
    static std::optional<QByteArray> renderStory(const Market &market, int number, const QDateTime &now);
    static QString storyPath(const Market &market, int number);
};

} // namespace xr::demo
