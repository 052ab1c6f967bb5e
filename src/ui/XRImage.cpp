#include "XRImage.h"

#include "XRLog.h"

#include <QFile>
#include <QImage>
#include <QPixmapCache>

#include <png.h>

namespace xr {

namespace {

// libpng reads the picture straight from its bytes: Qt's image reader would
// first look through every image-format plugin for one that claims PNG, which
// the first picture before the first frame paid for.
QImage decodePng(const QByteArray &bytes, QString *error)
{
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, bytes.constData(), size_t(bytes.size()))) {
        *error = QString::fromLatin1(png.message);
        png_image_free(&png);
        return {};
    }
    png.format = PNG_FORMAT_RGBA;
    QImage image(int(png.width), int(png.height), QImage::Format_RGBA8888);
    if (image.isNull()) {
        *error = QStringLiteral("no memory for %1 x %2 pixels").arg(png.width).arg(png.height);
        png_image_free(&png);
        return {};
    }
    // Eight-bit components: the stride in components is the stride in bytes.
    if (!png_image_finish_read(&png, nullptr, image.bits(), png_int_32(image.bytesPerLine()), nullptr)) {
        *error = QString::fromLatin1(png.message);
        png_image_free(&png);
        return {};
    }
    return image;
}

} // namespace

QPixmap pngPixmap(const QString &path)
{
    QPixmap pixmap;
    if (QPixmapCache::find(path, &pixmap))
        return pixmap;
    QFile file(path);
    QString error = QStringLiteral("cannot be opened");
    const QImage image = file.open(QIODevice::ReadOnly) ? decodePng(file.readAll(), &error) : QImage();
    if (image.isNull()) {
        qCWarning(lcUI, "Picture %s cannot be read: %s", qUtf8Printable(path), qUtf8Printable(error));
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
