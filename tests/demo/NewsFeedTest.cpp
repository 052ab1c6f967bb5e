#include "DemoTestHelpers.h"
#include "Market.h"
#include "NewsFeed.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace xr::demo;
using namespace xr::demo::test;

namespace {
const QString host = QStringLiteral("127.0.0.1:8081");
}

TEST(NewsFeed, IsAnRss2FeedOf5To10DatedItemsPerMarket)
{
    const QRegularExpression dateForm(QStringLiteral("^\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2}$"));
    for (const Market &market : Market::all()) {
        const XmlDocument document(NewsFeed::renderFeed(market, host, fixedNow()));
        ASSERT_TRUE(document.wellFormed()) << market.code.toStdString();
        EXPECT_EQ(nameOf(document.root()), QStringLiteral("rss"));
        xmlChar *version = xmlGetProp(document.root(), BAD_CAST "version");
        EXPECT_STREQ(reinterpret_cast<const char *>(version), "2.0");
        xmlFree(version);
        const xmlNode *channel = childElement(document.root(), "channel");
        ASSERT_NE(channel, nullptr);
        EXPECT_FALSE(childText(channel, "title").isEmpty());
        EXPECT_EQ(childText(channel, "language"), market.language);

        const QList<xmlNode *> items = childElements(channel, "item");
        EXPECT_GE(items.size(), 5);
        EXPECT_LE(items.size(), 10);
        QDateTime previous = fixedNow();
        for (qsizetype i = 0; i < items.size(); ++i) {
            const QString pubDate = childText(items[i], "pubDate");
            ASSERT_TRUE(dateForm.match(pubDate).hasMatch()) << pubDate.toStdString();
            const QDateTime published = QDateTime::fromString(pubDate, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            ASSERT_TRUE(published.isValid());
            EXPECT_LE(published, previous) << "newest first, none in the future";
            previous = published;
            EXPECT_FALSE(childText(items[i], "title").isEmpty());
            EXPECT_FALSE(childText(items[i], "description").isEmpty());
            EXPECT_EQ(childText(items[i], "link"),
                      QStringLiteral("http://") + host + NewsFeed::storyPath(market, int(i) + 1));
        }
    }
}

TEST(NewsFeed, EveryLinkedStoryHasAPageAndNoOtherNumberDoes)
{
    for (const Market &market : Market::all()) {
        const XmlDocument document(NewsFeed::renderFeed(market, host, fixedNow()));
        const QList<xmlNode *> items = childElements(childElement(document.root(), "channel"), "item");
        for (qsizetype i = 0; i < items.size(); ++i) {
            const std::optional<QByteArray> page = NewsFeed::renderStory(market, int(i) + 1, fixedNow());
            ASSERT_TRUE(page) << market.code.toStdString() << " " << i + 1;
            EXPECT_TRUE(QString::fromUtf8(*page).contains(childText(items[i], "title").toHtmlEscaped()));
            EXPECT_TRUE(page->contains(QStringLiteral("lang=\"%1\"").arg(market.language).toUtf8()));
        }
        EXPECT_FALSE(NewsFeed::renderStory(market, 0, fixedNow()));
        EXPECT_FALSE(NewsFeed::renderStory(market, int(items.size()) + 1, fixedNow()));
    }
}
