#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <optional>

// The application's data files: bare file names resolved in the documents
// directory, property lists written in the binary format, every write atomic.
class XRDataFiles
{
public:
    // Files live in the application's data location, created on the first write.
    XRDataFiles() = default;
    // Files live in the given directory; an empty path means there is none.
    explicit XRDataFiles(const QString &documentsDirectory);

    QString documentsDirectory() const;

    bool writeApplicationPlist(const QVariant &plist, const QString &fileName);
    bool writeApplicationData(const QByteArray &data, const QString &fileName);
    // Nothing when the file is missing, unreadable or larger than a property list may be.
    std::optional<QByteArray> applicationDataFromFile(const QString &fileName);
    std::optional<QVariant> applicationPlistFromFile(const QString &fileName);

private:
    std::optional<QString> m_documentsDirectory;
};
