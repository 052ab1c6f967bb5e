#include "XRPropertyList.h"

#include <QDateTime>
#include <QGeoCoordinate>
#include <QVariantHash>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

namespace {

QByteArray bigEndian(quint64 value, int size)
{
    QByteArray bytes(size, '\0');
    for (int i = size - 1; i >= 0; --i, value >>= 8)
        bytes[i] = char(value & 0xFF);
    return bytes;
}

// A binary property list put together object by object, with a trailer that can lie.
struct BinaryPlist
{
    QList<QByteArray> objects;
    int offsetSize = 1;
    int refSize = 1;
    std::optional<quint64> objectCount;
    std::optional<quint64> topObject;
    std::optional<quint64> tableOffset;
    std::optional<quint64> firstOffset; // replaces the offset of object 0

    QByteArray bytes() const
    {
        QByteArray data("bplist00");
        QList<quint64> offsets;
        for (const QByteArray &object : objects) {
            offsets.append(quint64(data.size()));
            data += object;
        }
        if (firstOffset)
            offsets[0] = *firstOffset;
        const quint64 table = quint64(data.size());
        for (quint64 offset : offsets)
            data += bigEndian(offset, offsetSize);
        data += QByteArray(6, '\0') + char(offsetSize) + char(refSize);
        data += bigEndian(objectCount.value_or(quint64(objects.size())), 8);
        data += bigEndian(topObject.value_or(0), 8);
        data += bigEndian(tableOffset.value_or(table), 8);
        return data;
    }
};

QByteArray object(std::initializer_list<int> bytes)
{
    QByteArray result;
    for (int b : bytes)
        result.append(char(b));
    return result;
}

std::optional<QVariant> read(const QByteArray &data, QString *error = nullptr)
{
    QString description;
    std::optional<QVariant> value = XRPropertyList::propertyListFromData(data, description);
    EXPECT_EQ(value.has_value(), description.isEmpty()) << "an error text exactly when nothing is read";
    if (error)
        *error = description;
    return value;
}

// The reading of a document that must be refused; empty when it was not.
QString refusal(const QByteArray &data)
{
    QString error;
    const std::optional<QVariant> value = read(data, &error);
    EXPECT_FALSE(value.has_value()) << "read as " << value.value_or(QVariant()).toString().toStdString();
    return error;
}

QString writeRefusal(const QVariant &value)
{
    QString error;
    const std::optional<QByteArray> data = XRPropertyList::dataFromPropertyList(value, error);
    EXPECT_FALSE(data.has_value());
    return error;
}

QByteArray write(const QVariant &value)
{
    QString error;
    const std::optional<QByteArray> data = XRPropertyList::dataFromPropertyList(value, error);
    EXPECT_TRUE(data.has_value()) << error.toStdString();
    return data.value_or(QByteArray());
}

QDateTime utc(const char *iso)
{
    return QDateTime::fromString(QString::fromLatin1(iso), Qt::ISODateWithMs).toUTC();
}

TEST(PropertyListTest, EveryKindOfValueSurvivesTheBinaryFormat)
{
    const QVariantMap original{
        {QStringLiteral("texts"), QVariantList{QString(), QStringLiteral("Göteborg"), QStringLiteral("emoji 😀 and ∑"),
                                               QString(300, u'x')}},
        {QStringLiteral("integers"), QVariantList{0, 255, 256, 65536, -1, std::numeric_limits<qint64>::min(),
                                                  std::numeric_limits<qint64>::max(), quint64(1) << 40}},
        {QStringLiteral("reals"), QVariantList{0.1, -2.5e300, 1.5f, std::numeric_limits<double>::infinity()}},
        {QStringLiteral("flags"), QVariantList{true, false}},
        {QStringLiteral("dates"), QVariantList{utc("2011-05-03T14:07:00.250Z"), utc("1999-12-31T23:59:59.500Z"),
                                               utc("2001-01-01T00:00:00.000Z")}},
        {QStringLiteral("data"), QVariantList{QByteArray(), QByteArray("\0\x01\xFF", 3)}},
        {QStringLiteral("empty"), QVariantMap{{QStringLiteral("list"), QVariantList()}, {QStringLiteral("map"), QVariantMap()}}},
        {QStringLiteral("names"), QStringList{QStringLiteral("a"), QStringLiteral("b")}},
        {QStringLiteral("å key with spaces"), QStringLiteral("same")},
        {QStringLiteral("another"), QStringLiteral("same")}, // the writer shares equal objects
    };
    const QByteArray data = write(original);
    ASSERT_TRUE(data.startsWith("bplist00"));

    const std::optional<QVariant> back = read(data);
    ASSERT_TRUE(back.has_value());
    const QVariantMap map = back->toMap();
    EXPECT_EQ(map.keys(), original.keys());
    for (const char *key : {"texts", "flags", "dates", "data", "empty", "å key with spaces", "another"})
        EXPECT_EQ(map.value(QString::fromUtf8(key)), original.value(QString::fromUtf8(key))) << key;
    EXPECT_EQ(map.value(QStringLiteral("names")), (QVariantList{QStringLiteral("a"), QStringLiteral("b")}));

    const QVariantList integers = map.value(QStringLiteral("integers")).toList();
    const QVariantList expectedIntegers = original.value(QStringLiteral("integers")).toList();
    ASSERT_EQ(integers.size(), expectedIntegers.size());
    for (qsizetype i = 0; i < integers.size(); ++i) {
        EXPECT_EQ(integers[i].typeId(), QMetaType::LongLong);
        EXPECT_EQ(integers[i].toLongLong(), expectedIntegers[i].toLongLong()) << "integer " << i;
    }
    const QVariantList reals = map.value(QStringLiteral("reals")).toList();
    ASSERT_EQ(reals.size(), 4);
    EXPECT_EQ(reals[0].typeId(), QMetaType::Double);
    EXPECT_DOUBLE_EQ(reals[0].toDouble(), 0.1);
    EXPECT_DOUBLE_EQ(reals[1].toDouble(), -2.5e300);
    EXPECT_DOUBLE_EQ(reals[2].toDouble(), 1.5);
    EXPECT_TRUE(std::isinf(reals[3].toDouble()));
}

TEST(PropertyListTest, ValuesNoPropertyListHoldsAreRefusedWithTheirPlace)
{
    const QVariantMap store{{QStringLiteral("id"), QStringLiteral("SE.FX.101")},
                            {QStringLiteral("location"), QVariant::fromValue(QGeoCoordinate(59.33, 18.06))}};
    const QVariantMap settings{{QStringLiteral("storesDict"),
                                QVariantMap{{QStringLiteral("stores"), QVariantList{store}}}}};
    const QString error = writeRefusal(settings);
    EXPECT_TRUE(error.contains(QLatin1String("QGeoCoordinate"))) << error.toStdString();
    EXPECT_TRUE(error.contains(QLatin1String("storesDict/stores/0/location"))) << error.toStdString();

    EXPECT_FALSE(writeRefusal(QVariant()).isEmpty());
    EXPECT_FALSE(writeRefusal(QVariantList{QVariant()}).isEmpty());
    EXPECT_FALSE(writeRefusal(QVariantHash{{QStringLiteral("a"), 1}}).isEmpty());
    EXPECT_FALSE(writeRefusal(QString(QStringLiteral("a")) + QChar(0) + QStringLiteral("b")).isEmpty());
    EXPECT_FALSE(writeRefusal(QVariantMap{{QString(QChar(0)), 1}}).isEmpty());
    EXPECT_FALSE(writeRefusal(quint64(std::numeric_limits<qint64>::max()) + 1).isEmpty());
    EXPECT_FALSE(writeRefusal(QDateTime()).isEmpty());
    EXPECT_TRUE(writeRefusal(utc("2100-01-01T00:00:00.000Z")).contains(QLatin1String("2100-01-01")));

    QVariant deep = QVariantList();
    for (int i = 0; i < XRPropertyList::MaxDepth; ++i)
        deep = QVariantList{deep};
    EXPECT_TRUE(writeRefusal(deep).contains(QLatin1String("nested deeper"))) << "more than a reader accepts";
}

TEST(PropertyListTest, XmlDocumentsAreRead)
{
    const QByteArray xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
	<key>name</key>
	<string>Växlo &amp; co <![CDATA[<x>]]></string>
	<key>count</key>
	<integer>-42</integer>
	<key>big</key>
	<integer>9223372036854775807</integer>
	<key>rate</key>
	<real>8.25</real>
	<key>open</key>
	<true/>
	<key>closed</key>
	<false/>
	<key>updated</key>
	<date>2011-05-03T14:07:00Z</date>
	<key>logo</key>
	<data>
	AAH/
	</data>
	<!-- a comment between entries -->
	<key>events</key>
	<array>
		<dict><key>e_name</key><string>Öppet</string></dict>
		<array/>
		<dict/>
	</array>
</dict>
</plist>
)";
    const std::optional<QVariant> value = read(xml);
    ASSERT_TRUE(value.has_value());
    const QVariantMap map = value->toMap();
    EXPECT_EQ(map.value(QStringLiteral("name")).toString(), QStringLiteral("Växlo & co <x>"));
    EXPECT_EQ(map.value(QStringLiteral("count")).typeId(), QMetaType::LongLong);
    EXPECT_EQ(map.value(QStringLiteral("count")).toLongLong(), -42);
    EXPECT_EQ(map.value(QStringLiteral("big")).toLongLong(), std::numeric_limits<qint64>::max());
    EXPECT_EQ(map.value(QStringLiteral("rate")).toDouble(), 8.25);
    EXPECT_EQ(map.value(QStringLiteral("open")), QVariant(true));
    EXPECT_EQ(map.value(QStringLiteral("closed")), QVariant(false));
    EXPECT_EQ(map.value(QStringLiteral("updated")).toDateTime(), utc("2011-05-03T14:07:00.000Z"));
    EXPECT_EQ(map.value(QStringLiteral("logo")).toByteArray(), QByteArray("\0\x01\xFF", 3));
    const QVariantList events = map.value(QStringLiteral("events")).toList();
    ASSERT_EQ(events.size(), 3);
    EXPECT_EQ(events[0].toMap().value(QStringLiteral("e_name")).toString(), QStringLiteral("Öppet"));
    EXPECT_EQ(events[1].typeId(), QMetaType::QVariantList);
    EXPECT_EQ(events[2].typeId(), QMetaType::QVariantMap);

    // A byte-order mark and a missing <plist> wrapper are tolerated.
    EXPECT_EQ(read("\xEF\xBB\xBF<plist><string>x</string></plist>").value_or(QVariant()), QStringLiteral("x"));
    EXPECT_EQ(read("<?xml version=\"1.0\"?><array><integer>0x1F</integer></array>").value_or(QVariant()),
              QVariantList{qint64(31)});
}

TEST(PropertyListTest, MalformedXmlIsRefusedWithTheLine)
{
    const QByteArray head = "<?xml version=\"1.0\"?>\n<plist>\n";
    EXPECT_TRUE(refusal(head + "<dict><key>a</key><string>abc").startsWith(QLatin1String("XML property list, line ")));
    EXPECT_TRUE(refusal(head + "<dict><key>a</key><foo>b</foo></dict></plist>").contains(QLatin1String("<foo>")));
    EXPECT_TRUE(refusal(head + "<dict><key>a</key></dict></plist>").contains(QLatin1String("no value")));
    const char *const malformed[] = {
        // Scalars whose text is not wholly their value (libplist reads 12 and 1970 for the first and fifth).
        "<integer>12abc</integer>", "<integer></integer>", "<integer>9223372036854775808</integer>",
        "<real>1,5</real>", "<date>garbage</date>", "<data>!!not base64</data>", "<true>yes</true>",
        // Structure out of place.
        "<dict><string>a</string></dict>", "<array>text<string>a</string></array>",
        "<string>a</string><string>b</string>", "<string>a<b/></string>", "", "<string>&undeclared;</string>",
    };
    for (const char *body : malformed)
        EXPECT_FALSE(refusal(head + body + "</plist>").isEmpty()) << body;
    EXPECT_FALSE(refusal(head + "<string>a</string></plist>\n<string>b</string>").isEmpty()) << "after the end";
}

TEST(PropertyListTest, HostileXmlIsBounded)
{
    const int levels = 100000; // libplist's own reader overflows the stack freeing this
    const QByteArray deep = "<plist>" + QByteArray("<array>").repeated(levels) + QByteArray("</array>").repeated(levels) + "</plist>";
    EXPECT_TRUE(refusal(deep).contains(QLatin1String("nested deeper")));

    const QByteArray justDeepEnough = "<plist>" + QByteArray("<array>").repeated(XRPropertyList::MaxDepth)
        + QByteArray("</array>").repeated(XRPropertyList::MaxDepth) + "</plist>";
    EXPECT_TRUE(read(justDeepEnough).has_value());

    const QByteArray laughs = R"(<?xml version="1.0"?>
<!DOCTYPE plist [
<!ENTITY a "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa">
<!ENTITY b "&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;">
<!ENTITY c "&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;">
<!ENTITY d "&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;">
]>
<plist><string>&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;</string></plist>)";
    EXPECT_FALSE(refusal(laughs).isEmpty());

    const QByteArray external = R"(<!DOCTYPE plist [<!ENTITY e SYSTEM "file:///etc/hostname">]><plist><string>&e;</string></plist>)";
    EXPECT_TRUE(refusal(external).contains(QLatin1String("external entity"))) << "external entities are never loaded";
    const QByteArray undeclared = R"(<!DOCTYPE plist SYSTEM "PropertyList-1.0.dtd"><plist><string>a&nbsp;b</string></plist>)";
    EXPECT_TRUE(refusal(undeclared).contains(QLatin1String("&nbsp;"))) << "rather than dropped from the text";
}

TEST(PropertyListTest, TheOldTextFormIsRead)
{
    const QByteArray text = R"(// written by hand
{
    storesDict = {
        updated = "2011-05-03 14:07";
        stores = (
            { id = SE.FX.101; name = "Växlo \"Centralen\""; phone = '08-123 45 67'; },
            { id = SE.FX.102; events = ( ); },   /* no events yet */
        );
    };
    escapes = "tab\there\nline \U00e5 \101 back\\slash";
    logo = <0001 ff>;
    "quoted key" = value;
})";
    const std::optional<QVariant> value = read(text);
    ASSERT_TRUE(value.has_value());
    const QVariantMap map = value->toMap();
    const QVariantMap storesDict = map.value(QStringLiteral("storesDict")).toMap();
    EXPECT_EQ(storesDict.value(QStringLiteral("updated")).toString(), QStringLiteral("2011-05-03 14:07"));
    const QVariantList stores = storesDict.value(QStringLiteral("stores")).toList();
    ASSERT_EQ(stores.size(), 2);
    EXPECT_EQ(stores[0].toMap().value(QStringLiteral("id")).toString(), QStringLiteral("SE.FX.101"));
    EXPECT_EQ(stores[0].toMap().value(QStringLiteral("name")).toString(), QStringLiteral("Växlo \"Centralen\""));
    EXPECT_EQ(stores[0].toMap().value(QStringLiteral("phone")).toString(), QStringLiteral("08-123 45 67"));
    EXPECT_EQ(stores[1].toMap().value(QStringLiteral("events")), QVariant(QVariantList()));
    EXPECT_EQ(map.value(QStringLiteral("escapes")).toString(), QStringLiteral("tab\there\nline å A back\\slash"));
    EXPECT_EQ(map.value(QStringLiteral("logo")).toByteArray(), QByteArray("\0\x01\xFF", 3));
    EXPECT_EQ(map.value(QStringLiteral("quoted key")).toString(), QStringLiteral("value"));

    EXPECT_EQ(read("\xEF\xBB\xBF( a, b )").value_or(QVariant()), (QVariantList{QStringLiteral("a"), QStringLiteral("b")}))
        << "after a byte-order mark";
}

TEST(PropertyListTest, MalformedTextIsRefused)
{
    EXPECT_TRUE(refusal("{ a = b }").startsWith(QLatin1String("text property list, line 1:"))) << "missing ';'";
    EXPECT_TRUE(refusal("{\n a = b;\n c = \"open").contains(QLatin1String("line 3")));
    EXPECT_TRUE(refusal(QByteArray()).contains(QLatin1String("no data")));
    const QByteArray malformed[] = {
        "( a b )", "( a, ", "{ a = b; } trailing", "<0g>", "<012>",
        "\"\\377\"", // octal escapes beyond ASCII are not guessed at
        "/* never closed ( a )", "   \n ", "not a plist at all",
        "\xFF\xD8\xFF\xE0 JFIF", // not UTF-8
        QByteArray("(").repeated(100000),
    };
    for (const QByteArray &text : malformed)
        EXPECT_FALSE(refusal(text).isEmpty()) << text.left(40).toStdString();
}

TEST(PropertyListTest, BinaryIntegersOfEveryWidthAreRead)
{
    const auto integer = [](const QByteArray &object) {
        return read(BinaryPlist{{object}}.bytes()).value_or(QVariant()).toLongLong();
    };
    EXPECT_EQ(integer(object({0x10, 0xFF})), 255) << "one to four bytes are unsigned";
    EXPECT_EQ(integer(object({0x11, 0xFF, 0xFE})), 65534);
    EXPECT_EQ(integer(object({0x12, 0xFF, 0xFF, 0xFF, 0xFF})), 4294967295LL);
    EXPECT_EQ(integer(object({0x13, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE})), -2) << "eight bytes are signed";
    EXPECT_EQ(integer(object({0x14, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7})), 7);
    EXPECT_EQ(integer(object({0x14, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFD})), -3);
    EXPECT_FALSE(refusal(BinaryPlist{{object({0x14, 0, 0, 0, 0, 0, 0, 0, 0, 0x80, 0, 0, 0, 0, 0, 0, 0})}}.bytes()).isEmpty())
        << "2^63 does not fit";
    EXPECT_FALSE(refusal(BinaryPlist{{object({0x15, 1})}}.bytes()).isEmpty());
}

TEST(PropertyListTest, HostileBinaryDocumentsAreRefused)
{
    const QByteArray key = object({0x51, 'k'});
    const auto refusedFor = [](const BinaryPlist &plist) { return refusal(plist.bytes()); };

    EXPECT_TRUE(refusedFor({{object({0xA1, 0})}}).contains(QLatin1String("contains itself")));
    EXPECT_TRUE(refusedFor({{object({0xA1, 1}), object({0xA1, 0})}}).contains(QLatin1String("contains itself")));
    EXPECT_TRUE(refusedFor({{object({0xD1, 1, 0}), key}}).contains(QLatin1String("contains itself")));
    EXPECT_FALSE(refusedFor({{object({0xA1, 7})}}).isEmpty()) << "reference to a missing object";
    EXPECT_FALSE(refusedFor({.objects = {key}, .tableOffset = 1000000000}).isEmpty());
    EXPECT_FALSE(refusedFor({.objects = {key}, .tableOffset = 3}).isEmpty());
    EXPECT_FALSE(refusedFor({.objects = {object({0xA1, 1}), key}, .offsetSize = 2, .firstOffset = 60000}).isEmpty());
    EXPECT_FALSE(refusedFor({.objects = {key}, .objectCount = quint64(1) << 62}).isEmpty());
    EXPECT_FALSE(refusedFor({.objects = {key}, .objectCount = 0}).isEmpty());
    EXPECT_FALSE(refusedFor({.objects = {key}, .topObject = 5}).isEmpty());
    EXPECT_FALSE(refusedFor({.objects = {key}, .offsetSize = 9}).isEmpty());
    EXPECT_FALSE(refusedFor({.objects = {object({0xA1, 0, 0, 1}), key}, .refSize = 9}).isEmpty());
    EXPECT_FALSE(refusedFor({.objects = {object({0xA1, 0})}, .refSize = 0}).isEmpty());
    // Containers and texts claiming far more than the file holds.
    EXPECT_FALSE(refusedFor({{object({0xAF, 0x13, 0, 0, 1, 0, 0, 0, 0, 0, 0})}}).isEmpty());
    EXPECT_FALSE(refusedFor({{object({0xDF, 0x12, 0x80, 0, 0, 0, 0})}}).isEmpty());
    EXPECT_FALSE(refusedFor({{object({0x5F, 0x13, 0x40, 0, 0, 0, 0, 0, 0, 0, 'a', 'b'})}}).isEmpty());
    EXPECT_FALSE(refusedFor({{object({0x6F, 0x12, 0x7F, 0xFF, 0xFF, 0xFF, 'a', 'b'})}}).isEmpty());
    EXPECT_FALSE(refusedFor({{object({0x4F, 0x13, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})}}).isEmpty());
    EXPECT_FALSE(refusedFor({{object({0x4F, 0x50})}}).isEmpty()) << "a length that is not an integer";
    // Objects ending where the offset table begins are refused, not read from the table.
    const BinaryPlist runningIntoTheTable[] = {
        {{object({0x13, 1, 2})}}, {{object({0x23, 1, 2})}}, {{object({0x33, 1})}}, {{object({0x55, 'a', 'b'})}},
        {{object({0x61, 0})}}, {{object({0xA1})}}, {{object({0xD1, 0})}},
        // A length marker as the last byte, whose integer would come from the table.
        {.objects = {object({0x47, 1, 2, 3, 4, 5, 6, 7}), object({0x5F})}, .topObject = 1, .firstOffset = 16},
        // A length integer whose bytes would run into the table.
        {.objects = {object({0x08}), object({0x5F, 0x11})}, .topObject = 1, .firstOffset = 0},
    };
    for (const BinaryPlist &plist : runningIntoTheTable)
        EXPECT_TRUE(refusedFor(plist).contains(QLatin1String("runs past its data"))) << plist.bytes().toHex().constData();
    EXPECT_FALSE(refusedFor({.objects = {object({0x08})}, .firstOffset = 9}).isEmpty()) << "an offset into the table";
    EXPECT_TRUE(refusedFor({{object({0xD1, 1, 2}), object({0x10, 5}), key}}).contains(QLatin1String("not a text")));
    EXPECT_FALSE(refusedFor({{object({0x33, 0x7F, 0xF8, 0, 0, 0, 0, 0, 0})}}).isEmpty()) << "a date that is NaN";
    EXPECT_FALSE(refusedFor({{object({0x80, 5})}}).isEmpty()) << "keyed-archive UIDs are no property-list values";
    EXPECT_FALSE(refusedFor({{object({0xC1, 0})}}).isEmpty()) << "nor are sets";
    EXPECT_FALSE(refusal("bplist01" + BinaryPlist{{key}}.bytes().mid(8)).isEmpty());
    EXPECT_FALSE(refusal("bplist00").isEmpty());
}

TEST(PropertyListTest, DeepAndExplodingBinaryDocumentsAreBounded)
{
    // 100,000 arrays each holding the next: libplist's reader overflows the stack here.
    BinaryPlist deep{.offsetSize = 4, .refSize = 4};
    for (quint32 i = 1; i < 100000; ++i)
        deep.objects.append(char(0xA1) + bigEndian(i, 4));
    deep.objects.append(object({0x51, 'k'}));
    EXPECT_TRUE(refusal(deep.bytes()).contains(QLatin1String("nested deeper")));

    // 60 arrays each holding the next one twice: a few hundred bytes that expand to 2^60 values.
    BinaryPlist exploding;
    for (int i = 1; i < 60; ++i)
        exploding.objects.append(object({0xA2, i, i}));
    exploding.objects.append(object({0x51, 'k'}));
    EXPECT_TRUE(refusal(exploding.bytes()).contains(QLatin1String("more than")));

    // Sharing within the limits is fine: 2^10 leaves from 11 objects.
    BinaryPlist shared;
    for (int i = 1; i < 11; ++i)
        shared.objects.append(object({0xA2, i, i}));
    shared.objects.append(object({0x51, 'k'}));
    std::optional<QVariant> value = read(shared.bytes());
    ASSERT_TRUE(value.has_value());
    for (int level = 0; level < 10; ++level)
        value = value->toList().value(1);
    EXPECT_EQ(*value, QStringLiteral("k"));
}

TEST(PropertyListTest, DamagedCopiesOfAGoodFileNeverCrash)
{
    const QVariantMap store{{QStringLiteral("id"), QStringLiteral("SE.FX.101")},
                            {QStringLiteral("name"), QStringLiteral("Växlo Centralen")},
                            {QStringLiteral("distance"), 12.5},
                            {QStringLiteral("events"), QVariantList{QVariantMap{{QStringLiteral("e_name"), QStringLiteral("Öppet")},
                                                                                 {QStringLiteral("e_start"), 9}}}}};
    const QByteArray good = write(QVariantMap{{QStringLiteral("stores"), QVariantList{store, store}},
                                              {QStringLiteral("when"), utc("2011-05-03T14:07:00.250Z")},
                                              {QStringLiteral("raw"), QByteArray(20, 'z')}});
    ASSERT_TRUE(read(good).has_value());

    // Shorter pieces than "bplist" are words of the text form.
    for (qsizetype length = 6; length < good.size(); ++length)
        EXPECT_FALSE(read(good.left(length)).has_value()) << "cut at " << length;

    // Every byte set to a few telling values: each copy is read or refused, never more.
    int refused = 0;
    for (qsizetype at = 0; at < good.size(); ++at) {
        for (const char byte : {'\x00', '\x01', '\x0F', '\x7F', '\x80', '\xFF'}) {
            QByteArray damaged = good;
            damaged[at] = byte;
            if (!read(damaged).has_value())
                ++refused;
        }
    }
    EXPECT_GT(refused, 0);
}

} // namespace
