#include "XRDataFiles.h"
#include "XRPropertyList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGeoCoordinate>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

// The settings dictionary as the branch download leaves it.
QVariantMap settings()
{
    const QVariantMap opening{{QStringLiteral("e_name"), QStringLiteral("Öppet")},
                              {QStringLiteral("e_start"), QStringLiteral("08:00")}};
    const QVariantMap store{{QStringLiteral("id"), QStringLiteral("SE.FX.101")},
                            {QStringLiteral("name"), QStringLiteral("Växlo Centralen")},
                            {QStringLiteral("latitude"), QStringLiteral("59.3300")},
                            {QStringLiteral("events"), QVariantList{opening, opening}}};
    const QVariantMap storesDict{{QStringLiteral("updated"), QStringLiteral("2011-05-03 14:07")},
                                 {QStringLiteral("stores"), QVariantList{store, store, QVariantMap()}}};
    return {{QStringLiteral("storesDict"), storesDict}};
}

class DataFilesTest : public testing::Test
{
protected:
    // Not there before the first write.
    QString documents() const { return m_root.filePath(QStringLiteral("Documents")); }
    QString path(const char *fileName) const { return documents() + u'/' + QString::fromLatin1(fileName); }

    QByteArray contents(const char *fileName) const
    {
        QFile file(path(fileName));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }
    void put(const char *fileName, const QByteArray &bytes)
    {
        QDir().mkpath(documents());
        QFile file(path(fileName));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QStringList documentsEntries() const { return QDir(documents()).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir m_root;
    XRDataFiles m_files{documents()};
};

TEST_F(DataFilesTest, FilesThatAreMissingOrNoPropertyListsGiveNothingAndStayAsTheyWere)
{
    EXPECT_FALSE(m_files.applicationDataFromFile(QStringLiteral("missing")).has_value());
    EXPECT_FALSE(m_files.applicationPlistFromFile(QStringLiteral("missing")).has_value());
    EXPECT_FALSE(QFileInfo::exists(documents())) << "reading creates nothing";

    ASSERT_TRUE(m_files.writeApplicationPlist(settings(), QStringLiteral("whole")));
    const QList<std::pair<const char *, QByteArray>> files{
        {"empty", QByteArray()}, {"truncated", contents("whole").chopped(20)}, {"words", "Dear customer, thank you"}};
    for (const auto &[name, bytes] : files) {
        put(name, bytes);
        EXPECT_FALSE(m_files.applicationPlistFromFile(QString::fromLatin1(name)).has_value()) << name;
        EXPECT_EQ(contents(name), bytes) << name << " untouched";
    }

    put("huge", QByteArray());
    ASSERT_TRUE(QFile::resize(path("huge"), XRPropertyList::MaxDataSize + 1));
    EXPECT_FALSE(m_files.applicationDataFromFile(QStringLiteral("huge")).has_value());
    ASSERT_TRUE(QFile::resize(path("huge"), XRPropertyList::MaxDataSize));
    EXPECT_EQ(m_files.applicationDataFromFile(QStringLiteral("huge")).value_or(QByteArray()).size(), XRPropertyList::MaxDataSize);
}

// The new content replaces the file only once whole: a failed write, like a
// process killed mid-save, leaves the previous file byte for byte. (Every kind
// of value is read back by the property-list tests; the inspector's test reads
// a stored file against what an independent reader made of it.)
TEST_F(DataFilesTest, AFailedWriteLeavesThePreviousFileByteForByte)
{
    ASSERT_TRUE(m_files.writeApplicationPlist(settings(), QStringLiteral("settings.vaxlodata")));
    const QByteArray before = contents("settings.vaxlodata");
    // Equal in type too: a QVariantMap stays one, so the holder changes it in place.
    EXPECT_EQ(m_files.applicationPlistFromFile(QStringLiteral("settings.vaxlodata")), QVariant(settings()));

    // The store collection's records carry a location once it is built; no property list holds one.
    QVariantMap withLocation = settings();
    withLocation[QStringLiteral("location")] = QVariant::fromValue(QGeoCoordinate(59.33, 18.06));
    EXPECT_FALSE(m_files.writeApplicationPlist(withLocation, QStringLiteral("settings.vaxlodata")));
    EXPECT_EQ(contents("settings.vaxlodata"), before);

    // Root may write anywhere, so make the disk refuse instead: a file-size limit
    // below the new content fails the temporary file's write.
    rlimit original{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &original), 0);
    const auto previousSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = original;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = m_files.writeApplicationData(QByteArray(64 * 1024, 'x'), QStringLiteral("settings.vaxlodata"));
    setrlimit(RLIMIT_FSIZE, &original);
    std::signal(SIGXFSZ, previousSignal);

    EXPECT_FALSE(written);
    EXPECT_EQ(contents("settings.vaxlodata"), before);
    EXPECT_EQ(documentsEntries(), QStringList{QStringLiteral("settings.vaxlodata")}) << "the temporary file is gone";
}

TEST_F(DataFilesTest, WithoutADocumentsDirectoryNothingIsWritten)
{
    XRDataFiles none{QString()};
    EXPECT_FALSE(none.writeApplicationPlist(settings(), QStringLiteral("settings.vaxlodata")));
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("settings.vaxlodata"))) << "nor beside the test";
}

} // namespace
