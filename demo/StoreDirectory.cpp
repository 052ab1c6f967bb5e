#include "StoreDirectory.h"

#include "SeededRandom.h"

namespace xr::demo {

namespace {

struct City
{
    const char *name;
    double latitude;
    double longitude;
    int stores;
    const char *phoneArea;  // area code, or the leading digits of the city's numbers
    int zip;                // first postal code of the city centre
    int zipSpread;          // how many codes the centre spans
};

struct OpeningWords
{
    const char *weekdays;
    const char *saturday;
    const char *sunday;
    const char *closed;
    const char *everyDay;
};

struct Country
{
    const char *market;
    QList<City> cities;
    QList<const char *> streets;
    QList<const char *> labels;  // what a store is called after, besides its city
    OpeningWords words;
};

const QList<Country> &countries()
{
    static const QList<Country> list = {
        {"SE",
         {{"Stockholm", 59.3326, 18.0649, 6, "08", 11120, 60},
          {"Göteborg", 57.7072, 11.9668, 4, "031", 41101, 30},
          {"Malmö", 55.6050, 13.0038, 3, "040", 21120, 30},
          {"Uppsala", 59.8586, 17.6389, 2, "018", 75310, 20},
          {"Västerås", 59.6099, 16.5448, 1, "021", 72210, 10},
          {"Örebro", 59.2741, 15.2066, 1, "019", 70210, 10},
          {"Linköping", 58.4108, 15.6214, 1, "013", 58220, 10},
          {"Helsingborg", 56.0465, 12.6945, 1, "042", 25220, 10},
          {"Jönköping", 57.7826, 14.1618, 1, "036", 55310, 10},
          {"Norrköping", 58.5877, 16.1924, 1, "011", 60220, 10},
          {"Lund", 55.7047, 13.1910, 1, "046", 22220, 10},
          {"Umeå", 63.8258, 20.2630, 1, "090", 90320, 10},
          {"Gävle", 60.6749, 17.1413, 1, "026", 80310, 10},
          {"Sundsvall", 62.3908, 17.3069, 1, "060", 85230, 10},
          {"Luleå", 65.5848, 22.1547, 1, "0920", 97230, 10},
          {"Karlstad", 59.3793, 13.5036, 1, "054", 65220, 10},
          {"Växjö", 56.8777, 14.8091, 1, "0470", 35230, 10},
          {"Visby", 57.6348, 18.2948, 1, "0498", 62150, 5}},
         {"Drottninggatan", "Kungsgatan", "Storgatan", "Nygatan", "Järnvägsgatan", "Hamngatan",
          "Köpmangatan", "Torggatan", "Stationsgatan", "Västra Långgatan"},
         {"Centrum", "City", "Resecentrum", "Galleria", "Torget", "Hamnen"},
         {"Mån-Fre", "Lördag", "Söndag", "Stängt", "Alla dagar"}},
        {"DK",
         {{"København", 55.6761, 12.5683, 5, "33", 1050, 400},
          {"Aarhus", 56.1567, 10.2108, 3, "86", 8000, 1},
          {"Odense", 55.3959, 10.3883, 2, "66", 5000, 1},
          {"Aalborg", 57.0480, 9.9187, 2, "98", 9000, 1},
          {"Esbjerg", 55.4765, 8.4594, 1, "75", 6700, 1},
          {"Kolding", 55.4904, 9.4722, 1, "75", 6000, 1},
          {"Vejle", 55.7113, 9.5357, 1, "75", 7100, 1},
          {"Roskilde", 55.6415, 12.0803, 1, "46", 4000, 1},
          {"Herning", 56.1393, 8.9738, 1, "97", 7400, 1},
          {"Helsingør", 56.0361, 12.6136, 1, "49", 3000, 1},
          {"Randers", 56.4607, 10.0364, 1, "86", 8900, 1}},
         {"Vestergade", "Østergade", "Søndergade", "Nørregade", "Algade", "Jernbanegade", "Torvet",
          "Bredgade", "Storegade", "Kongensgade"},
         {"Centrum", "City", "Banegården", "Torvet", "Havnen", "Strøget"},
         {"Man-Fre", "Lørdag", "Søndag", "Lukket", "Alle dage"}},
        {"NO",
         {{"Oslo", 59.9133, 10.7389, 5, "22", 150, 40},
          {"Bergen", 60.3929, 5.3241, 3, "55", 5003, 12},
          {"Trondheim", 63.4305, 10.3951, 2, "73", 7010, 4},
          {"Stavanger", 58.9700, 5.7331, 2, "51", 4005, 6},
          {"Kristiansand", 58.1467, 7.9956, 1, "38", 4610, 5},
          {"Tromsø", 69.6492, 18.9553, 1, "77", 9008, 1},
          {"Drammen", 59.7440, 10.2045, 1, "32", 3015, 1},
          {"Fredrikstad", 59.2181, 10.9298, 1, "69", 1606, 1},
          {"Bodø", 67.2804, 14.4049, 1, "75", 8006, 1},
          {"Ålesund", 62.4722, 6.1495, 1, "70", 6002, 1},
          {"Hamar", 60.7945, 11.0680, 1, "62", 2317, 1},
          {"Lillehammer", 61.1153, 10.4662, 1, "61", 2609, 1}},
         {"Storgata", "Kongens gate", "Dronningens gate", "Torggata", "Kirkegata", "Strandgata",
          "Sjøgata", "Nygata", "Prinsens gate", "Jernbanegata"},
         {"Sentrum", "City", "Stasjonen", "Torget", "Brygga", "Storsenter"},
         {"Man-Fre", "Lørdag", "Søndag", "Stengt", "Alle dager"}},
        {"FI",
         {{"Helsinki", 60.1699, 24.9384, 5, "09", 100, 80},
          {"Espoo", 60.2055, 24.6559, 2, "09", 2100, 50},
          {"Tampere", 61.4978, 23.7610, 2, "03", 33100, 100},
          {"Vantaa", 60.2934, 25.0378, 1, "09", 1300, 1},
          {"Oulu", 65.0121, 25.4651, 1, "08", 90100, 1},
          {"Turku", 60.4518, 22.2666, 2, "02", 20100, 10},
          {"Jyväskylä", 62.2426, 25.7473, 1, "014", 40100, 1},
          {"Lahti", 60.9827, 25.6612, 1, "03", 15110, 1},
          {"Kuopio", 62.8924, 27.6770, 1, "017", 70100, 1},
          {"Rovaniemi", 66.5039, 25.7294, 1, "016", 96200, 1},
          {"Vaasa", 63.0951, 21.6165, 1, "06", 65100, 1}},
         {"Kauppakatu", "Kirkkokatu", "Rautatienkatu", "Puistokatu", "Asemakatu", "Keskuskatu",
          "Koulukatu", "Satamakatu", "Kauppatori", "Aleksanterinkatu"},
         {"Keskusta", "City", "Asema", "Kauppakeskus", "Tori", "Satama"},
         {"Ma-Pe", "Lauantai", "Sunnuntai", "Suljettu", "Joka päivä"}},
    };
    return list;
}

const Country &countryOf(const Market &market)
{
    for (const Country &country : countries()) {
        if (market.code == QLatin1String(country.market))
            return country;
    }
    return countries().first(); // every market has a country above
}

// `count` digits, the first one not zero.
QString digits(SeededRandom &random, int count)
{
    QString text = QString::number(1 + random.below(9));
    while (text.size() < count)
        text += QString::number(random.below(10));
    return text;
}

// Groups a digit string by the sizes given, with spaces.
QString grouped(const QString &number, std::initializer_list<int> sizes)
{
    QStringList parts;
    int at = 0;
    for (int size : sizes) {
        parts << number.mid(at, size);
        at += size;
    }
    return parts.join(QLatin1Char(' '));
}

// Telephone numbers as each country writes them.
QString landline(const Market &market, const City &city, SeededRandom &random)
{
    const QString area = QLatin1String(city.phoneArea);
    if (market.code == QLatin1String("SE")) {
        if (area.size() <= 3)
            return area + QLatin1Char('-') + grouped(digits(random, 7), {3, 2, 2});
        return area + QLatin1Char('-') + grouped(digits(random, 6), {2, 2, 2});
    }
    if (market.code == QLatin1String("FI")) {
        if (area.size() == 2)
            return area + QLatin1Char(' ') + grouped(digits(random, 8), {4, 4});
        return area + QLatin1Char(' ') + grouped(digits(random, 7), {3, 4});
    }
    // Denmark and Norway: eight digits in pairs, no area code.
    return grouped(area + digits(random, 6), {2, 2, 2, 2});
}

QString mobile(const Market &market, SeededRandom &random)
{
    if (market.code == QLatin1String("SE")) {
        static const char *const prefixes[] = {"070", "072", "073", "076"};
        return QLatin1String(prefixes[random.below(4)]) + QLatin1Char('-') + grouped(digits(random, 7), {3, 2, 2});
    }
    if (market.code == QLatin1String("DK")) {
        const QString prefix = QString::number(20 + random.below(12));
        return grouped(prefix + digits(random, 6), {2, 2, 2, 2});
    }
    if (market.code == QLatin1String("NO")) {
        const QString prefix = random.below(2) ? QStringLiteral("4") : QStringLiteral("9");
        return grouped(prefix + digits(random, 7), {3, 2, 3});
    }
    const QString prefix = random.below(2) ? QStringLiteral("040 ") : QStringLiteral("050 ");
    return prefix + grouped(digits(random, 7), {3, 4});
}

QString zipCode(const Market &market, const City &city, SeededRandom &random)
{
    const int zip = city.zip + random.below(city.zipSpread);
    if (market.code == QLatin1String("SE")) {
        const QString text = QString::number(zip);
        return text.left(3) + QLatin1Char(' ') + text.mid(3);
    }
    const int width = market.code == QLatin1String("FI") ? 5 : 4;
    return QStringLiteral("%1").arg(zip, width, 10, QLatin1Char('0'));
}

// Most stores list their hours; a few have an empty list or none at all, as
// happens while a store's hours are not yet published.
void addOpeningHours(Store &store, int index, const OpeningWords &words, SeededRandom &random)
{
    const auto line = [&store](const char *name, const char *start, const char *stop) {
        store.events.append({QString::fromUtf8(name), QString::fromUtf8(start),
                             stop ? std::optional<QString>(QString::fromUtf8(stop)) : std::nullopt});
    };
    if (index % 8 == 5 || index % 8 == 7) {
        store.eventsForm = index % 8 == 5 ? EventsForm::EmptyElement : EventsForm::Absent;
        return;
    }
    store.eventsForm = EventsForm::Listed;
    const int pattern = random.below(8);
    if (pattern < 5) {
        const char *opens = random.below(2) ? "10:00" : "09:30";
        const char *closes = random.below(2) ? "18:00" : "18:30";
        line(words.weekdays, opens, closes);
        line(words.saturday, "10:00", random.below(2) ? "15:00" : "16:00");
        line(words.sunday, words.closed, nullptr);
    } else if (pattern < 7) {
        line(words.weekdays, "09:30", "19:00");
        line(words.saturday, "10:00", "17:00");
        line(words.sunday, "11:00", "16:00");
    } else {
        line(words.everyDay, "06:00", "22:00");
    }
}

} // namespace

QList<Store> StoreDirectory::storesFor(const Market &market)
{
    const Country &country = countryOf(market);
    SeededRandom random(market.seed);
    QList<Store> stores;
    int number = market.firstStoreNumber;
    for (const City &city : country.cities) {
        const int firstLabel = random.below(int(country.labels.size()));
        for (int i = 0; i < city.stores; ++i, ++number) {
            Store store{};
            store.number = number;
            store.id = QStringLiteral("%1.FX.%2").arg(market.code).arg(number);
            store.city = QString::fromUtf8(city.name);
            store.name = QStringLiteral("Vaxlo %1 %2").arg(store.city,
                QString::fromUtf8(country.labels[(firstLabel + i) % country.labels.size()]));
            const QString street = QString::fromUtf8(country.streets[random.below(int(country.streets.size()))]);
            store.address = QStringLiteral("%1 %2").arg(street).arg(1 + random.below(60));
            store.zip = zipCode(market, city, random);
            store.phone = landline(market, city, random);
            if (random.below(5) < 2)
                store.phoneAlt = mobile(market, random);
            store.latitude = city.latitude + random.between(-0.012, 0.012);
            store.longitude = city.longitude + random.between(-0.02, 0.02);
            addOpeningHours(store, int(stores.size()), country.words, random);
            stores.append(store);
        }
    }
    return stores;
}

QList<CityCentre> StoreDirectory::citiesOf(const Market &market)
{
    QList<CityCentre> centres;
    for (const City &city : countryOf(market).cities)
        centres.append({QString::fromUtf8(city.name), city.latitude, city.longitude});
    return centres;
}

std::optional<Store> StoreDirectory::findStore(const Market &market, int number)
{
    for (const Store &store : storesFor(market)) {
        if (store.number == number)
            return store;
    }
    return std::nullopt;
}

} // namespace xr::demo
