#include "XRDataFiles.h"

#include "XRLog.h"
#include "XRPropertyList.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

#include <fcntl.h>
#include <unistd.h>

namespace {

// A rename is durable only once the folder holding it is synced: without this
// a power cut can bring back the previous file, or none.
bool syncDirectory(const QString &directory)
{
    const int descriptor = ::open(QFile::encodeName(directory).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    const bool synced = ::fsync(descriptor) == 0;
    ::close(descriptor);
    return synced;
}

} // namespace

XRDataFiles::XRDataFiles(const QString &documentsDirectory) : m_documentsDirectory(documentsDirectory) {}

QString XRDataFiles::documentsDirectory() const
{
    // Looked up on each use: the location depends on the application's name,
    // which may be set after this object is made.
    return m_documentsDirectory.value_or(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

bool XRDataFiles::writeApplicationPlist(const QVariant &plist, const QString &fileName)
{
    QString error;
    const std::optional<QByteArray> data = XRPropertyList::dataFromPropertyList(plist, error);
    if (!data) {
        qCWarning(lcData, "Error: %s", qUtf8Printable(error));
        return false;
    }
    return writeApplicationData(*data, fileName);
}

bool XRDataFiles::writeApplicationData(const QByteArray &data, const QString &fileName)
{
    const QString directory = documentsDirectory();
    if (directory.isEmpty() || !QDir().mkpath(directory)) {
        qCWarning(lcData, "Documents directory not found!");
        return false;
    }
    // A temporary file beside the target, synced to disk, replaces it only once completely written.
    QSaveFile file(QDir(directory).filePath(fileName));
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit())
        return false;
    if (!syncDirectory(directory)) {
        qCWarning(lcData, "Documents directory not synced after saving %s", qUtf8Printable(fileName));
        return false;
    }
    return true;
}

std::optional<QByteArray> XRDataFiles::applicationDataFromFile(const QString &fileName)
{
    const QString directory = documentsDirectory();
    qCInfo(lcData, "documentsDirectory: %s", qUtf8Printable(directory));
    if (directory.isEmpty())
        return std::nullopt;
    QFile file(QDir(directory).filePath(fileName));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // Reading one byte past the limit tells an oversized file without holding all of it.
    QByteArray data = file.read(XRPropertyList::MaxDataSize + 1);
    if (file.error() != QFileDevice::NoError || data.size() > XRPropertyList::MaxDataSize)
        return std::nullopt;
    return data;
}

std::optional<QVariant> XRDataFiles::applicationPlistFromFile(const QString &fileName)
{
    const std::optional<QByteArray> data = applicationDataFromFile(fileName);
    if (!data) {
        qCInfo(lcData, "Data file not returned.");
        return std::nullopt;
    }
    QString error;
    std::optional<QVariant> plist = XRPropertyList::propertyListFromData(*data, error);
    if (!plist)
        qCWarning(lcData, "Plist not returned, error: %s", qUtf8Printable(error));
    return plist;
}
