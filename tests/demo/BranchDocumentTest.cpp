#include "BranchDocument.h"
#include "DemoTestHelpers.h"
#include "Market.h"
#include "StoreDirectory.h"

#include <QRegularExpression>
#include <QSet>

#include <cmath>

#include <gtest/gtest.h>

using namespace xr::demo;
using namespace xr::demo::test;

namespace {

double kilometresBetween(double lat1, double lon1, double lat2, double lon2)
{
    const double radians = M_PI / 180.0;
    const double dLat = (lat2 - lat1) * radians;
    const double dLon = (lon2 - lon1) * radians;
    const double a = std::sin(dLat / 2) * std::sin(dLat / 2)
        + std::cos(lat1 * radians) * std::cos(lat2 * radians) * std::sin(dLon / 2) * std::sin(dLon / 2);
    return 6371.0 * 2 * std::atan2(std::sqrt(a), std::sqrt(1 - a));
}

struct CountryFormat
{
    const char *market;
    double south, north, west, east;  // a box around the country
    const char *phone;
    const char *mobile;
};

const CountryFormat formats[] = {
    {"SE", 55.3, 69.1, 11.0, 24.2, "^0\\d{1,3}-(\\d{3} \\d{2} \\d{2}|\\d{2} \\d{2} \\d{2})$", "^07\\d-\\d{3} \\d{2} \\d{2}$"},
    {"DK", 54.5, 57.8, 8.0, 12.7, "^\\d{2} \\d{2} \\d{2} \\d{2}$", "^[23]\\d \\d{2} \\d{2} \\d{2}$"},
    {"NO", 57.9, 71.2, 4.6, 31.1, "^\\d{2} \\d{2} \\d{2} \\d{2}$", "^[49]\\d{2} \\d{2} \\d{3}$"},
    {"FI", 59.7, 70.1, 19.5, 31.6, "^0\\d{1,2} (\\d{4} \\d{4}|\\d{3} \\d{4})$", "^0[45]0 \\d{3} \\d{4}$"},
};

QString storeNumber(const QString &id)
{
    return id.section(QLatin1Char('.'), -1);
}

} // namespace

TEST(StoreDirectory, EachMarketHas15To40StoresWithDistinctIdsAndNumbers)
{
    QSet<QString> ids;
    QSet<QString> numbers;
    for (const Market &market : Market::all()) {
        const QList<Store> stores = StoreDirectory::storesFor(market);
        EXPECT_GE(stores.size(), 15) << market.code.toStdString();
        EXPECT_LE(stores.size(), 40) << market.code.toStdString();
        for (const Store &store : stores) {
            EXPECT_TRUE(store.id.contains(QLatin1Char('.'))) << store.id.toStdString();
            EXPECT_EQ(storeNumber(store.id), QString::number(store.number)) << store.id.toStdString();
            ids.insert(store.id);
            numbers.insert(storeNumber(store.id));
            ASSERT_TRUE(StoreDirectory::findStore(market, store.number));
            EXPECT_EQ(StoreDirectory::findStore(market, store.number)->id, store.id);
        }
    }
    int total = 0;
    for (const Market &market : Market::all())
        total += int(StoreDirectory::storesFor(market).size());
    EXPECT_EQ(ids.size(), total);
    EXPECT_EQ(numbers.size(), total) << "a store number must not name stores in two markets";
}

TEST(StoreDirectory, StoresLieInRealCitiesOfTheirOwnCountry)
{
    QSet<QString> citiesSeen;
    for (const CountryFormat &format : formats) {
        const Market &market = *Market::byCode(QLatin1String(format.market));
        const QList<CityCentre> cities = StoreDirectory::citiesOf(market);
        QSet<QString> ownCities;
        for (const CityCentre &city : cities) {
            EXPECT_FALSE(citiesSeen.contains(city.name)) << city.name.toStdString() << " in two markets";
            ownCities.insert(city.name);
            EXPECT_TRUE(city.latitude > format.south && city.latitude < format.north) << city.name.toStdString();
            EXPECT_TRUE(city.longitude > format.west && city.longitude < format.east) << city.name.toStdString();
        }
        citiesSeen.unite(ownCities);
        for (const Store &store : StoreDirectory::storesFor(market)) {
            const auto centre = std::find_if(cities.begin(), cities.end(),
                                             [&](const CityCentre &c) { return c.name == store.city; });
            ASSERT_NE(centre, cities.end()) << store.city.toStdString();
            EXPECT_LT(kilometresBetween(store.latitude, store.longitude, centre->latitude, centre->longitude), 3.0)
                << store.id.toStdString();
        }
    }
}

TEST(StoreDirectory, TelephoneNumbersFollowTheCountrysFormat)
{
    for (const CountryFormat &format : formats) {
        const QRegularExpression phone(QLatin1String(format.phone));
        const QRegularExpression mobile(QLatin1String(format.mobile));
        int withSecond = 0;
        int withoutSecond = 0;
        for (const Store &store : StoreDirectory::storesFor(*Market::byCode(QLatin1String(format.market)))) {
            EXPECT_TRUE(phone.match(store.phone).hasMatch()) << store.phone.toStdString();
            if (store.phoneAlt.isEmpty()) {
                ++withoutSecond;
                continue;
            }
            ++withSecond;
            EXPECT_TRUE(mobile.match(store.phoneAlt).hasMatch()) << store.phoneAlt.toStdString();
        }
        EXPECT_GT(withSecond, 0) << format.market;
        EXPECT_GT(withoutSecond, 0) << format.market;
    }
}

TEST(BranchDocument, HoldsEveryStoreWithItsFieldsAndOpeningHours)
{
    const QRegularExpression degrees(QStringLiteral("^\\d{1,2}\\.\\d+$"));
    for (const Market &market : Market::all()) {
        const BranchDocument branches(market);
        const XmlDocument document(branches.bytes());
        ASSERT_TRUE(document.wellFormed()) << market.code.toStdString();
        EXPECT_FALSE(childText(document.root(), "updated").isEmpty());

        const QList<xmlNode *> locations = childElements(childElement(document.root(), "locations"), "location");
        const QList<Store> stores = StoreDirectory::storesFor(market);
        ASSERT_EQ(locations.size(), stores.size());
        int listed = 0, emptyEvents = 0, noEvents = 0, openEnded = 0;
        for (qsizetype i = 0; i < locations.size(); ++i) {
            const xmlNode *location = locations[i];
            EXPECT_EQ(childText(location, "id"), stores[i].id);
            for (const char *field : {"name", "city", "address", "zip", "phone"})
                EXPECT_FALSE(childText(location, field).isEmpty()) << stores[i].id.toStdString() << " " << field;
            EXPECT_FALSE(childText(location, "phone_alt").isNull()) << "present even when empty";
            EXPECT_TRUE(degrees.match(childText(location, "latitude")).hasMatch());
            EXPECT_TRUE(degrees.match(childText(location, "longitude")).hasMatch());
            const xmlNode *events = childElement(location, "events");
            if (!events) {
                ++noEvents;
                continue;
            }
            const QList<xmlNode *> entries = childElements(events, "event");
            if (entries.isEmpty())
                ++emptyEvents;
            else
                ++listed;
            for (const xmlNode *event : entries) {
                EXPECT_FALSE(childText(event, "e_name").isEmpty());
                EXPECT_FALSE(childText(event, "e_start").isEmpty());
                openEnded += childElement(event, "e_stop") == nullptr;
            }
        }
        EXPECT_GT(listed, 0) << market.code.toStdString();
        EXPECT_GT(emptyEvents, 0) << market.code.toStdString();
        EXPECT_GT(noEvents, 0) << market.code.toStdString();
        EXPECT_GT(openEnded, 0) << market.code.toStdString();
    }
}

TEST(BranchDocument, OpeningHoursAreInTheMarketsLanguage)
{
    const QStringList weekdays = {QStringLiteral("Mån-Fre"), QStringLiteral("Man-Fre"), QStringLiteral("Man-Fre"),
                                  QStringLiteral("Ma-Pe")};
    for (qsizetype i = 0; i < Market::all().size(); ++i) {
        const QByteArray bytes = BranchDocument(Market::all()[i]).bytes();
        EXPECT_TRUE(bytes.contains(weekdays[i].toUtf8())) << Market::all()[i].code.toStdString();
    }
}

TEST(BranchDocument, EntityTagIsStableAndChangesWithTheList)
{
    const BranchDocument sweden(*Market::byCode(QStringLiteral("SE")));
    const BranchDocument swedenAgain(*Market::byCode(QStringLiteral("SE")));
    const BranchDocument denmark(*Market::byCode(QStringLiteral("DK")));
    EXPECT_EQ(sweden.bytes(), swedenAgain.bytes());
    EXPECT_EQ(sweden.entityTag(), swedenAgain.entityTag());
    EXPECT_NE(sweden.entityTag(), denmark.entityTag());
    EXPECT_TRUE(sweden.entityTag().startsWith('"') && sweden.entityTag().endsWith('"'));
    EXPECT_GT(sweden.entityTag().size(), 10);
}

TEST(BranchDocument, MatchesIfNoneMatchHeaders)
{
    const BranchDocument branches(*Market::byCode(QStringLiteral("NO")));
    const QByteArray tag = branches.entityTag();
    EXPECT_TRUE(branches.matches(tag));
    EXPECT_TRUE(branches.matches("W/" + tag));
    EXPECT_TRUE(branches.matches("\"elsewhere\", " + tag));
    EXPECT_TRUE(branches.matches("*"));
    EXPECT_FALSE(branches.matches(QByteArray()));
    EXPECT_FALSE(branches.matches("\"elsewhere\""));
    EXPECT_FALSE(branches.matches(tag.mid(1, tag.size() - 2))) << "an unquoted tag is another tag";
    EXPECT_FALSE(branches.matches(BranchDocument(*Market::byCode(QStringLiteral("FI"))).entityTag()));
}
