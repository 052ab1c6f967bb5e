#pragma once

#include "XRURLConnection.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>
#include <optional>

// One raster tile of the world map.
struct XRTileKey
{
    int zoom = 0;
    int x = 0;
    int y = 0;
    friend bool operator==(const XRTileKey &, const XRTileKey &) = default;
};
size_t qHash(const XRTileKey &key, size_t seed = 0);

// Fetches map tiles from a URL template with the application's "User-Agent"
// and keeps the good ones in a folder on disk, so that a tile is fetched once.
class XRTileLoader : public XRURLConnectionDelegate
{
public:
    // More than this is no tile.
    static constexpr qsizetype maximumTileBytes = 512 * 1024;

    static constexpr int defaultMaximumCachedTiles = 2000;

    // The cache lives in a folder of its own per template under cacheFolder
    // and keeps the most recently stored tiles, at most maximumCachedTiles.
    XRTileLoader(const QString &urlTemplate, const QString &cacheFolder,
                 int maximumCachedTiles = defaultMaximumCachedTiles);
    ~XRTileLoader() override;

    bool isConfigured() const { return !m_urlTemplate.isEmpty(); }

    // The tile's bytes from the disk cache.
    std::optional<QByteArray> cachedTile(const XRTileKey &key) const;
    // Keeps bytes that the caller found to be a good image.
    void storeTile(const XRTileKey &key, const QByteArray &bytes);

    // Starts fetching the tile unless it is on its way or failed before; the
    // bytes of a successful answer go to tileArrived.
    void requestTile(const XRTileKey &key);
    void setTileArrivedHandler(std::function<void(const XRTileKey &, const QByteArray &)> handler);
    bool isLoading() const { return !m_transfers.empty(); }

private:
    struct Transfer;

    void connectionDidReceiveResponse(XRURLConnection *connection, const XRHTTPURLResponse &response) override;
    void connectionDidReceiveData(XRURLConnection *connection, const QByteArray &data) override;
    void connectionDidFinishLoading(XRURLConnection *connection) override;
    void connectionDidFailWithError(XRURLConnection *connection, const XRError &error) override;
    void fail(XRURLConnection *connection, const char *reason);
    std::unique_ptr<Transfer> take(XRURLConnection *connection);
    QString cachePath(const XRTileKey &key) const;
    QStringList cachedFiles() const;
    void pruneCache();

    QString m_urlTemplate;
    QString m_cacheFolder;
    int m_maximumCachedTiles;
    // Files in the cache folder; counted when the first tile is stored.
    std::optional<qsizetype> m_cachedCount;
    std::map<XRURLConnection *, std::unique_ptr<Transfer>> m_transfers;
    QSet<XRTileKey> m_failed;
    std::function<void(const XRTileKey &, const QByteArray &)> m_tileArrived;
};
