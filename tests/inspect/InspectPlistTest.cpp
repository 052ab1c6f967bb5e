#include "XRDataFiles.h"

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include "InspectRunner.h"

#include <gtest/gtest.h>

namespace {

xr::test::InspectOutcome inspectPlist(const QStringList &arguments)
{
    return xr::test::runInspector(QStringList{QStringLiteral("plist")} + arguments);
}

class InspectPlistTest : public testing::Test
{
protected:
    QString put(const char *name, const QByteArray &bytes)
    {
        QFile file(m_dir.filePath(QString::fromLatin1(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }

    QTemporaryDir m_dir;
};

TEST_F(InspectPlistTest, PrintsWhatTheApplicationReadsAsJson)
{
    const QVariantMap event{{QStringLiteral("e_name"), QStringLiteral("Öppet")}, {QStringLiteral("e_start"), QStringLiteral("08:00")}};
    const QVariantMap settings{
        {QStringLiteral("storesDict"),
         QVariantMap{{QStringLiteral("updated"), QStringLiteral("2011-05-03 14:07")},
                     {QStringLiteral("stores"), QVariantList{QVariantMap{{QStringLiteral("id"), QStringLiteral("SE.FX.101")},
                                                                         {QStringLiteral("events"), QVariantList{event}}}}}}},
        {QStringLiteral("saved"), QDateTime::fromString(QStringLiteral("2011-05-03T14:07:00.250+02:00"), Qt::ISODateWithMs)},
        {QStringLiteral("logo"), QByteArray("\0\x01\xFF", 3)},
        {QStringLiteral("distance"), -12},
        {QStringLiteral("rate"), 8.25},
        {QStringLiteral("open"), true},
    };
    ASSERT_TRUE(XRDataFiles(m_dir.path()).writeApplicationPlist(settings, QStringLiteral("settings.vaxlodata")));

    const xr::test::InspectOutcome run = inspectPlist({m_dir.filePath(QStringLiteral("settings.vaxlodata"))});
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_TRUE(run.err.isEmpty()) << "no diagnostics among the results";
    const QJsonObject expected{
        {QStringLiteral("storesDict"),
         QJsonObject{{QStringLiteral("updated"), QStringLiteral("2011-05-03 14:07")},
                     {QStringLiteral("stores"), QJsonArray{QJsonObject{{QStringLiteral("id"), QStringLiteral("SE.FX.101")},
                                                                       {QStringLiteral("events"), QJsonArray{QJsonObject::fromVariantMap(event)}}}}}}},
        {QStringLiteral("saved"), QStringLiteral("2011-05-03T12:07:00.250Z")},
        {QStringLiteral("logo"), QStringLiteral("AAH/")},
        {QStringLiteral("distance"), -12},
        {QStringLiteral("rate"), 8.25},
        {QStringLiteral("open"), true},
    };
    EXPECT_EQ(QJsonDocument::fromJson(run.out).object(), expected) << run.out.constData();
}

TEST_F(InspectPlistTest, MissingOrBrokenFilesAreBadInputWithOneLine)
{
    const QByteArray cyclic = QByteArray("bplist00\xA1\x00\x08", 11) + QByteArray(6, '\0') + "\x01\x01"
        + QByteArray("\0\0\0\0\0\0\0\x01" "\0\0\0\0\0\0\0\0" "\0\0\0\0\0\0\0\x0A", 24);
    const QList<std::pair<QString, const char *>> cases{
        {m_dir.filePath(QStringLiteral("missing.vaxlodata")), "cannot read"},
        {put("empty", QByteArray()), "not a property list"},
        {put("words", "Dear customer"), "not a property list"},
        {put("cyclic", cyclic), "contains itself"},
    };
    for (const auto &[path, reason] : cases) {
        const xr::test::InspectOutcome run = inspectPlist({path});
        EXPECT_EQ(run.exitCode, 1) << path.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << path.toStdString();
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.constData();
        EXPECT_TRUE(run.err.contains(reason)) << run.err.constData();
    }
}

TEST_F(InspectPlistTest, WrongArgumentsAreBadUsage)
{
    for (const QStringList &arguments : {QStringList(), QStringList{QStringLiteral("a"), QStringLiteral("b")}}) {
        const xr::test::InspectOutcome run = inspectPlist(arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.contains("plist FILE")) << run.err.constData();
    }
}

} // namespace
