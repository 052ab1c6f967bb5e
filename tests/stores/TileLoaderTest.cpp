#include "EventLoop.h"
#include "LoopbackServer.h"
#include "XRMarkets.h"
#include "XRTileLoader.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using xr::test::LoopbackServer;

TEST(TileLoaderTest, GoodTilesArriveWithTheUserAgentAndRefusedOnesAreNotAskedForAgain)
{
    LoopbackServer server;
    server.route(QStringLiteral("/tiles/3/4/2.png"), {.body = "tile 3/4/2"});
    server.route(QStringLiteral("/tiles/3/4/3.png"), {.status = 404, .body = "<html>not found</html>"});
    server.route(QStringLiteral("/tiles/3/4/4.png"), {.body = QByteArray(XRTileLoader::maximumTileBytes + 1, 'x')});
    QTemporaryDir cache;
    XRTileLoader loader(QStringLiteral("http://127.0.0.1:%1/tiles/{z}/{x}/{y}.png").arg(server.port()), cache.path());
    QHash<XRTileKey, QByteArray> arrived;
    loader.setTileArrivedHandler([&arrived](const XRTileKey &key, const QByteArray &bytes) { arrived.insert(key, bytes); });

    const XRTileKey good{3, 4, 2}, refused{3, 4, 3}, oversized{3, 4, 4};
    for (const XRTileKey &key : {good, refused, oversized, good})
        loader.requestTile(key);
    ASSERT_TRUE(xr::test::waitUntil([&loader] { return !loader.isLoading(); }));
    EXPECT_EQ(arrived, (QHash<XRTileKey, QByteArray>{{good, "tile 3/4/2"}})) << "an error page or a flood is no tile";
    ASSERT_EQ(server.requests().size(), 3) << "a tile on its way is not asked for twice";
    EXPECT_EQ(server.requests().first().header("User-Agent"), xr::userAgent().toUtf8());

    loader.requestTile(refused);
    EXPECT_FALSE(loader.isLoading());
    EXPECT_EQ(server.requests().size(), 3);

    // Only what the map stores is on disk, and a loader for another server does not see it.
    EXPECT_FALSE(loader.cachedTile(good));
    loader.storeTile(good, "tile 3/4/2");
    EXPECT_EQ(loader.cachedTile(good), QByteArray("tile 3/4/2"));
    XRTileLoader other(QStringLiteral("http://127.0.0.1:1/{z}/{x}/{y}.png"), cache.path());
    EXPECT_FALSE(other.cachedTile(good));

    // A full cache drops its oldest tiles, down to three quarters of its size.
    XRTileLoader small(QStringLiteral("http://127.0.0.1:2/{z}/{x}/{y}.png"), cache.path(), 4);
    int kept = 0;
    for (int x = 0; x < 5; ++x)
        small.storeTile({5, x, 0}, "tile");
    for (int x = 0; x < 5; ++x)
        kept += small.cachedTile({5, x, 0}).has_value();
    EXPECT_EQ(kept, 3);
}

} // namespace
