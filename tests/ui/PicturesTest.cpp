#include "XRImage.h"

#include <QDirIterator>
#include <QImage>
#include <QTemporaryFile>

#include <gtest/gtest.h>

namespace {

// The picture's pixels, premultiplied, whatever its format and colour space.
QByteArray pixels(const QImage &image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return QByteArray(reinterpret_cast<const char *>(argb.constBits()), argb.sizeInBytes());
}

} // namespace

// Every picture of ours reads to the pixels Qt's own reader sees: colours in
// their places, transparency kept, rows not skewed.
TEST(Pictures, EveryPictureReadsAsQtReadsIt)
{
    int pictures = 0;
    for (const char *folder : {":/images", ":/icons"}) {
        QDirIterator it(QString::fromLatin1(folder), {QStringLiteral("*.png")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            SCOPED_TRACE(path.toStdString());
            const QImage qts(path);
            const QImage ours = xr::pngPixmap(path).toImage();
            ASSERT_FALSE(qts.isNull());
            ASSERT_EQ(ours.size(), qts.size());
            EXPECT_TRUE(pixels(ours) == pixels(qts));
            ++pictures;
        }
    }
    EXPECT_GE(pictures, 10);
}

TEST(Pictures, APictureThatIsNoPngIsNull)
{
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    file.write("\x89PNG\r\n\x1a\nnot really");
    file.close();
    EXPECT_TRUE(xr::pngPixmap(file.fileName()).isNull());
    EXPECT_TRUE(xr::pngPixmap(QStringLiteral(":/images/missing.png")).isNull());
}
