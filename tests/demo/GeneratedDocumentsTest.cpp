// The generator is deterministic: each market's documents are compared with a
// snapshot taken when their stores, rates and stories were checked by hand.
// After a deliberate change, run once with XR_WRITE_GOLDEN=1 and review the diff.

#include "BranchDocument.h"
#include "DemoTestHelpers.h"
#include "Market.h"
#include "NewsFeed.h"
#include "RatesDocument.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace xr::demo;
using namespace xr::demo::test;

namespace {

// The feed, then every story number from 0 to one past the last, so that a
// page appearing or vanishing at either end shows.
QByteArray newsSnapshot(const Market &market)
{
    const QByteArray feed = NewsFeed::renderFeed(market, QStringLiteral("127.0.0.1:8081"), fixedNow());
    QByteArray snapshot = feed;
    const qsizetype stories = feed.count("<item>");
    for (int number = 0; number <= stories + 1; ++number) {
        snapshot += "\n--- story " + QByteArray::number(number) + " ---\n";
        snapshot += NewsFeed::renderStory(market, number, fixedNow()).value_or("(none)");
    }
    return snapshot;
}

} // namespace

TEST(GeneratedDocuments, MatchTheirSnapshots)
{
    const bool rewrite = qEnvironmentVariableIsSet("XR_WRITE_GOLDEN");
    for (const Market &market : Market::all()) {
        const BranchDocument branches(market);
        const struct { const char *name; QByteArray bytes; } documents[] = {
            {"rates.xml", RatesDocument::render(market, fixedNow())},
            {"branches.xml", branches.entityTag() + "\n" + branches.bytes()},
            {"news.txt", newsSnapshot(market)},
        };
        for (const auto &document : documents) {
            QFile golden(QStringLiteral(XR_TEST_DATA_DIR "/golden/%1-%2").arg(market.code, QLatin1String(document.name)));
            SCOPED_TRACE(golden.fileName().toStdString());
            if (rewrite) {
                ASSERT_TRUE(golden.open(QIODevice::WriteOnly));
                golden.write(document.bytes);
                ADD_FAILURE() << "rewritten";
                continue;
            }
            ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
            EXPECT_EQ(document.bytes, golden.readAll());
        }
    }
}
