#include "XRTileLoader.h"

#include "XRLog.h"
#include "XRMapGeometry.h"
#include "XRMarkets.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSaveFile>

#include <algorithm>

struct XRTileLoader::Transfer
{
    XRTileKey key;
    std::unique_ptr<XRURLConnection> connection;
    QByteArray bytes;
    bool statusOK = false;
};

size_t qHash(const XRTileKey &key, size_t seed)
{
    return qHashMulti(seed, key.zoom, key.x, key.y);
}

XRTileLoader::XRTileLoader(const QString &urlTemplate, const QString &cacheFolder, int maximumCachedTiles)
    : m_urlTemplate(urlTemplate)
    , m_maximumCachedTiles(maximumCachedTiles)
{
    // Tiles of another server never mix with these.
    const QByteArray digest = QCryptographicHash::hash(urlTemplate.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    m_cacheFolder = cacheFolder + QLatin1Char('/') + QString::fromLatin1(digest);
}

XRTileLoader::~XRTileLoader() = default;

void XRTileLoader::setTileArrivedHandler(std::function<void(const XRTileKey &, const QByteArray &)> handler)
{
    m_tileArrived = std::move(handler);
}

QString XRTileLoader::cachePath(const XRTileKey &key) const
{
    return QStringLiteral("%1/%2/%3/%4.tile").arg(m_cacheFolder).arg(key.zoom).arg(key.x).arg(key.y);
}

std::optional<QByteArray> XRTileLoader::cachedTile(const XRTileKey &key) const
{
    QFile file(cachePath(key));
    if (!isConfigured() || !file.open(QIODevice::ReadOnly) || file.size() > maximumTileBytes)
        return std::nullopt;
    return file.readAll();
}

void XRTileLoader::storeTile(const XRTileKey &key, const QByteArray &bytes)
{
    const QString path = cachePath(key);
    QSaveFile file(path);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()
        || !file.commit()) {
        qCWarning(lcStores, "Cannot cache map tile %s", qUtf8Printable(path));
        return;
    }
    if (!m_cachedCount)
        m_cachedCount = cachedFiles().size();
    else
        ++*m_cachedCount;
    if (*m_cachedCount > m_maximumCachedTiles)
        pruneCache();
}

QStringList XRTileLoader::cachedFiles() const
{
    QStringList files;
    QDirIterator found(m_cacheFolder, {QStringLiteral("*.tile")}, QDir::Files, QDirIterator::Subdirectories);
    while (found.hasNext())
        files << found.next();
    return files;
}

void XRTileLoader::pruneCache()
{
    // The oldest go first, down to three quarters of the limit, so that
    // pruning is not repeated at every tile.
    QList<QFileInfo> files;
    for (const QString &path : cachedFiles())
        files << QFileInfo(path);
    std::sort(files.begin(), files.end(),
              [](const QFileInfo &a, const QFileInfo &b) { return a.lastModified() < b.lastModified(); });
    const qsizetype keep = m_maximumCachedTiles * 3 / 4;
    for (qsizetype i = 0; i < files.size() - keep; ++i)
        QFile::remove(files.at(i).absoluteFilePath());
    m_cachedCount = std::min(files.size(), keep);
}

void XRTileLoader::requestTile(const XRTileKey &key)
{
    if (!isConfigured() || m_failed.contains(key))
        return;
    for (const auto &[connection, transfer] : m_transfers) {
        if (transfer->key == key)
            return;
    }
    const std::optional<QUrl> url = xr::tileURL(m_urlTemplate, key.zoom, key.x, key.y);
    if (!url)
        return;
    XRURLRequest request(*url);
    request.setValueForHTTPHeaderField(xr::userAgent(), QStringLiteral("User-Agent"));
    request.setTimeoutInterval(15.0);
    auto transfer = std::make_unique<Transfer>();
    transfer->key = key;
    transfer->connection = XRURLConnection::connectionWithRequest(request, this);
    XRURLConnection *connection = transfer->connection.get();
    m_transfers.emplace(connection, std::move(transfer));
}

void XRTileLoader::connectionDidReceiveResponse(XRURLConnection *connection, const XRHTTPURLResponse &response)
{
    Transfer &transfer = *m_transfers.at(connection);
    transfer.bytes.clear();
    transfer.statusOK = response.statusCode() >= 200 && response.statusCode() < 300;
}

void XRTileLoader::connectionDidReceiveData(XRURLConnection *connection, const QByteArray &data)
{
    Transfer &transfer = *m_transfers.at(connection);
    transfer.bytes.append(data);
    if (transfer.bytes.size() > maximumTileBytes)
        fail(connection, "too large");
}

void XRTileLoader::connectionDidFinishLoading(XRURLConnection *connection)
{
    const std::unique_ptr<Transfer> transfer = take(connection);
    if (!transfer->statusOK || transfer->bytes.isEmpty()) {
        qCWarning(lcStores, "Map tile %d/%d/%d refused by the server", transfer->key.zoom, transfer->key.x, transfer->key.y);
        m_failed.insert(transfer->key);
        return;
    }
    if (m_tileArrived)
        m_tileArrived(transfer->key, transfer->bytes);
}

void XRTileLoader::connectionDidFailWithError(XRURLConnection *connection, const XRError &error)
{
    fail(connection, qUtf8Printable(error.description()));
}

std::unique_ptr<XRTileLoader::Transfer> XRTileLoader::take(XRURLConnection *connection)
{
    return std::move(m_transfers.extract(connection).mapped());
}

void XRTileLoader::fail(XRURLConnection *connection, const char *reason)
{
    const std::unique_ptr<Transfer> transfer = take(connection);
    qCWarning(lcStores, "Map tile %d/%d/%d failed: %s", transfer->key.zoom, transfer->key.x, transfer->key.y, reason);
    m_failed.insert(transfer->key);
}
