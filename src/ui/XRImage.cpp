#include "XRImage.h"

#include "XRLog.h"

#include <QImageReader>
#include <QPixmapCache>

namespace xr {

QPixmap pngPixmap(const QString &path)
{
    QPixmap pixmap;
    if (QPixmapCache::find(path, &pixmap))
        return pixmap;
    QImageReader reader(path, QByteArrayLiteral("png"));
    reader.setAutoDetectImageFormat(false);
    const QImage image = reader.read();
    if (image.isNull()) {
        qCWarning(lcUI, "Picture %s cannot be read: %s", qUtf8Printable(path), qUtf8Printable(reader.errorString()));
        return pixmap;
    }
    pixmap = QPixmap::fromImage(image);
    QPixmapCache::insert(path, pixmap);
    return pixmap;
}

QIcon pngIcon(const QString &path)
{
    return QIcon(pngPixmap(path));
}

} // namespace xr
