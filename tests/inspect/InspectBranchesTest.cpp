#include "InspectRunner.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

xr::test::InspectOutcome inspect(const QStringList &arguments)
{
    return xr::test::runInspector(QStringList{QStringLiteral("branches")} + arguments);
}

// The branch documents and their dictionaries that the stores tests check too.
QString branchesData(const QString &name)
{
    return QDir::cleanPath(QStringLiteral(XR_TEST_DATA_DIR "/../../stores/data/branches/") + name);
}

QJsonDocument jsonFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()) : QJsonDocument();
}

TEST(InspectBranchesTest, PrintsTheBranchDictionary)
{
    for (const char *name : {"edge-cases", "three-cities"}) {
        SCOPED_TRACE(name);
        const xr::test::InspectOutcome run = inspect({branchesData(QString::fromLatin1(name) + QStringLiteral(".xml"))});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.err.isEmpty());
        const QJsonDocument expected = jsonFile(branchesData(QString::fromLatin1(name) + QStringLiteral(".json")));
        ASSERT_TRUE(expected.isObject());
        EXPECT_EQ(QJsonDocument::fromJson(run.out), expected) << run.out.toStdString();
    }
}

QStringList nearIds(const QJsonObject &result)
{
    QStringList ids;
    for (const QJsonValue &store : result.value(QStringLiteral("near")).toArray())
        ids << store.toObject().value(QStringLiteral("id")).toString();
    return ids;
}

TEST(InspectBranchesTest, NearOrdersTheStoresAsTheStoreListDoes)
{
    const QString document = branchesData(QStringLiteral("three-cities.xml"));
    // From Jönköping: Göteborg about 130 km, Malmö about 250 km, Stockholm about 285 km.
    const xr::test::InspectOutcome run = inspect({document, QStringLiteral("--near"), QStringLiteral("57.7826,14.1618")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject result = QJsonDocument::fromJson(run.out).object();
    EXPECT_EQ(QJsonDocument(result.value(QStringLiteral("branches")).toObject()),
              jsonFile(branchesData(QStringLiteral("three-cities.json"))));
    EXPECT_EQ(nearIds(result), (QStringList{QStringLiteral("SE.3002"), QStringLiteral("SE.3001"), QStringLiteral("SE.3003")}));
    const QJsonObject nearest = result.value(QStringLiteral("near")).toArray().at(0).toObject();
    EXPECT_EQ(nearest.value(QStringLiteral("name")).toString(), QStringLiteral("Växlo Göteborg Nordstan"));
    EXPECT_EQ(nearest.value(QStringLiteral("city")).toString(), QStringLiteral("Göteborg"));
    EXPECT_NEAR(nearest.value(QStringLiteral("distance")).toDouble(), 130'000.0, 2'000.0);

    const xr::test::InspectOutcome withDefault = inspect({document, QStringLiteral("--near"), QStringLiteral("57.7826,14.1618"),
                                     QStringLiteral("--default"), QStringLiteral("SE.3003")});
    ASSERT_EQ(withDefault.exitCode, 0) << withDefault.err.toStdString();
    EXPECT_EQ(nearIds(QJsonDocument::fromJson(withDefault.out).object()),
              (QStringList{QStringLiteral("SE.3003"), QStringLiteral("SE.3002"), QStringLiteral("SE.3001")}));
}

TEST(InspectBranchesTest, BadInputAndBadUsage)
{
    QTemporaryDir folder;
    const QString broken = folder.filePath(QStringLiteral("broken.xml"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<branches><locations></branches>");
    file.close();

    for (const QString &path : {broken, folder.filePath(QStringLiteral("missing.xml"))}) {
        const xr::test::InspectOutcome run = inspect({path});
        EXPECT_EQ(run.exitCode, 1) << path.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
    }

    const QString document = branchesData(QStringLiteral("three-cities.xml"));
    const QList<QStringList> usages = {
        {},
        {document, QStringLiteral("--near")},
        {document, QStringLiteral("--near"), QStringLiteral("57.7")},
        {document, QStringLiteral("--near"), QStringLiteral("95,14")},
        {document, QStringLiteral("--default"), QStringLiteral("SE.1")},
        {document, QStringLiteral("--far"), QStringLiteral("1,2")},
        {document, document},
    };
    for (const QStringList &arguments : usages) {
        const xr::test::InspectOutcome run = inspect(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(run.err.startsWith("usage: vaxlo-inspect branches")) << run.err.toStdString();
    }
}

} // namespace
