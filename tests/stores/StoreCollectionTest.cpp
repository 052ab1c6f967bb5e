#include "XRStoreCollection.h"

#include <QLocale>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <clocale>

namespace {

QVariantMap store(const QString &id, const QString &city, const QVariant &latitude = {}, const QVariant &longitude = {})
{
    QVariantMap record{{QStringLiteral("id"), id}, {QStringLiteral("name"), QStringLiteral("Store ") + id},
                       {QStringLiteral("city"), city}};
    if (latitude.isValid())
        record.insert(QStringLiteral("latitude"), latitude);
    if (longitude.isValid())
        record.insert(QStringLiteral("longitude"), longitude);
    return record;
}

QVariantMap settingsWith(const QVariantList &stores)
{
    return {{QStringLiteral("storesDict"), QVariantMap{{QStringLiteral("stores"), stores}}}};
}

QGeoCoordinate locationOf(const QVariant &record)
{
    return record.toMap().value(QStringLiteral("location")).value<QGeoCoordinate>();
}

QStringList field(const QVariantList &records, const char *key)
{
    QStringList values;
    for (const QVariant &record : records)
        values << record.toMap().value(QString::fromLatin1(key)).toString();
    return values;
}

// Settings without a branch list give no collection; an empty list gives an empty one.
TEST(StoreCollectionTest, NoStoresDictOrNoStoresGivesNoCollection)
{
    XRStoreCollection collection;
    collection.setupStoresArray(settingsWith({store(QStringLiteral("1"), QStringLiteral("Oslo"))}));
    ASSERT_TRUE(collection.storesArray().has_value());
    collection.setupStoresArray({{QStringLiteral("storesDict"), QVariantMap{{QStringLiteral("updated"), QStringLiteral("x")}}}});
    EXPECT_FALSE(collection.storesArray().has_value());
    EXPECT_FALSE(collection.sortedStoresArray().has_value());

    collection.setupStoresArray(settingsWith({}));
    EXPECT_EQ(collection.storesArray(), QVariantList());
    EXPECT_EQ(collection.sortedStoresArray(), QVariantList());
}

TEST(StoreCollectionTest, LocationsComeFromTheLeadingDecimalNumbers)
{
    const QVariantList stores = {
        store(QStringLiteral("plain"), {}, QStringLiteral("59.3326"), QStringLiteral("18.0649")),
        store(QStringLiteral("padded"), {}, QStringLiteral(" 59.6498 "), QStringLiteral("-17.9238")),
        store(QStringLiteral("suffixed"), {}, QStringLiteral("55.6761 N"), QStringLiteral("+12.5683E")),
        store(QStringLiteral("comma"), {}, QStringLiteral("59,33"), QStringLiteral("18,06")),
        store(QStringLiteral("latitude only"), {}, QStringLiteral("60.1699")),
        store(QStringLiteral("none"), {}),
    };
    const QList<QGeoCoordinate> expected = {
        {59.3326, 18.0649}, {59.6498, -17.9238}, {55.6761, 12.5683}, {59.0, 18.0}, {60.1699, 0.0}, {0.0, 0.0},
    };
    XRStoreCollection collection;
    collection.setupStoresArray(settingsWith(stores));

    ASSERT_EQ(collection.storesArray()->size(), stores.size());
    for (qsizetype i = 0; i < stores.size(); ++i)
        EXPECT_EQ(locationOf(collection.storesArray()->at(i)), expected[i]) << field(stores, "id")[i].toStdString();

}

// Makes the C library write decimals with a comma: the installed Swedish
// locale, or one compiled into a private folder when none is installed.
bool useCommaDecimalCLocale(QTemporaryDir &folder)
{
    if (std::setlocale(LC_NUMERIC, "sv_SE.UTF-8"))
        return true;
    QFile definition(folder.filePath(QStringLiteral("numeric")));
    if (!definition.open(QIODevice::WriteOnly) || definition.write("LC_NUMERIC\ncopy \"sv_SE\"\nEND LC_NUMERIC\n") < 0)
        return false;
    definition.close();
    // Only the numeric category is defined, which localedef warns about but writes.
    QProcess::execute(QStringLiteral("localedef"), {QStringLiteral("-c"), QStringLiteral("-i"), definition.fileName(),
                                                    QStringLiteral("-f"), QStringLiteral("UTF-8"),
                                                    folder.filePath(QStringLiteral("sv_SE.UTF-8"))});
    qputenv("LOCPATH", folder.path().toLocal8Bit());
    const bool switched = std::setlocale(LC_NUMERIC, "sv_SE.UTF-8") != nullptr;
    qunsetenv("LOCPATH");
    return switched;
}

TEST(StoreCollectionTest, CoordinatesReadTheSameInACommaDecimalLocale)
{
    const auto restore = qScopeGuard([] {
        std::setlocale(LC_NUMERIC, "C");
        QLocale::setDefault(QLocale::c());
    });
    QTemporaryDir folder;
    if (!useCommaDecimalCLocale(folder))
        GTEST_SKIP() << "no Swedish numeric locale can be made here (localedef and its sources are missing)";
    ASSERT_EQ(std::string(std::localeconv()->decimal_point), ",");
    QLocale::setDefault(QLocale(QStringLiteral("sv_SE")));
    ASSERT_EQ(QLocale().decimalPoint(), QStringLiteral(","));

    XRStoreCollection collection;
    collection.setupStoresArray(settingsWith({store(QStringLiteral("1"), {}, QStringLiteral("59.33"), QStringLiteral("18.06"))}));
    EXPECT_EQ(locationOf(collection.storesArray()->value(0)), QGeoCoordinate(59.33, 18.06));
}

TEST(StoreCollectionTest, CitiesAreOrderedByCodeUnitAndEqualCitiesKeepTheirOrder)
{
    const QVariantList stores = {
        store(QStringLiteral("1"), QStringLiteral("Zebra")),
        store(QStringLiteral("2"), QStringLiteral("apple")),
        store(QStringLiteral("3"), QStringLiteral("Apple")),
        store(QStringLiteral("4"), QStringLiteral("Örebro")),
        store(QStringLiteral("5"), QStringLiteral("Apple")),
        store(QStringLiteral("6"), QString()),
    };
    XRStoreCollection collection;
    collection.setupStoresArray(settingsWith(stores));
    const std::optional<QVariantList> sorted = collection.sortedStoresArray();
    ASSERT_TRUE(sorted.has_value());
    EXPECT_EQ(field(*sorted, "id"), (QStringList{QStringLiteral("6"), QStringLiteral("3"), QStringLiteral("5"),
                                                 QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("4")}));
    EXPECT_EQ(field(*collection.storesArray(), "id").first(), QStringLiteral("1")) << "the collection keeps its order";
}

} // namespace
