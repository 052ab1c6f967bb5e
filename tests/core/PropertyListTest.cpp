#include "XRPropertyList.h"

#include <QDateTime>
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

QDateTime utc(const char *iso)
{
    return QDateTime::fromString(QString::fromLatin1(iso), Qt::ISODateWithMs).toUTC();
}

// What the binary and XML forms hold alike: texts, data, lists and dictionaries.
QVariantMap storesInEveryFormat()
{
    const QVariantMap event{{QStringLiteral("e_name"), QStringLiteral("Öppet")}};
    return {{QStringLiteral("id"), QStringLiteral("SE.FX.101")},
            {QStringLiteral("name"), QStringLiteral("Växlo \"Centralen\" & <x>")},
            {QStringLiteral("escapes"), QStringLiteral("tab\there\nline å")},
            {QStringLiteral("logo"), QByteArray("\0\x01\xFF", 3)},
            {QStringLiteral("events"), QVariantList{event, QVariantList(), QVariantMap()}}};
}

// The binary form is what we write; the XML and old text forms are read only.
TEST(PropertyListTest, EveryFormatIsReadToTheSameValues)
{
    // Integers of every width the writer uses, each with its highest bit set.
    const QVariantMap typed{
        {QStringLiteral("texts"), QVariantList{QString(), QStringLiteral("emoji 😀 and ∑"), QString(300, u'x')}},
        {QStringLiteral("integers"), QVariantList{0, 255, 65535, 4294967295LL, -1, std::numeric_limits<qint64>::min(),
                                                  std::numeric_limits<qint64>::max()}},
        {QStringLiteral("reals"), QVariantList{0.1, -2.5e300, 1.5f, std::numeric_limits<double>::infinity()}},
        {QStringLiteral("flags"), QVariantList{true, false}},
        {QStringLiteral("dates"), QVariantList{utc("2011-05-03T14:07:00.250Z"), utc("2001-01-01T00:00:00.000Z")}},
        {QStringLiteral("another"), QStringLiteral("value")}, // the writer shares equal objects
    };
    QVariantMap binary = storesInEveryFormat();
    binary.insert(typed);
    QString writeError;
    const QByteArray written = XRPropertyList::dataFromPropertyList(binary, writeError).value_or(QByteArray());
    EXPECT_TRUE(written.startsWith("bplist00")) << writeError.toStdString();

    const QByteArray xml = "\xEF\xBB\xBF" R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
	<key>id</key><string>SE.FX.101</string>
	<key>name</key><string>Växlo "Centralen" &amp; <![CDATA[<x>]]></string>
	<key>escapes</key><string>tab	here
line å</string>
	<key>logo</key><data>
	AAH/
	</data>
	<!-- a comment between entries -->
	<key>events</key><array><dict><key>e_name</key><string>Öppet</string></dict><array/><dict/></array>
	<key>count</key><integer>-42</integer><key>hex</key><integer>0x1F</integer><key>rate</key><real>8.25</real>
	<key>open</key><true/><key>updated</key><date>2011-05-03T14:07:00Z</date>
</dict>
</plist>
)";
    QVariantMap xmlRead = storesInEveryFormat();
    xmlRead.insert({{QStringLiteral("count"), -42}, {QStringLiteral("hex"), 31}, {QStringLiteral("rate"), 8.25},
                    {QStringLiteral("open"), true}, {QStringLiteral("updated"), utc("2011-05-03T14:07:00.000Z")}});

    const QByteArray text = R"({ id = SE.FX.101; "quoted key" = "tab\t\U00e5"; logo = <0001 ff>; events = ( { }, ); })";
    const QVariantMap textRead{{QStringLiteral("id"), QStringLiteral("SE.FX.101")},
                               {QStringLiteral("quoted key"), QStringLiteral("tab\tå")},
                               {QStringLiteral("logo"), QByteArray("\0\x01\xFF", 3)},
                               {QStringLiteral("events"), QVariantList{QVariantMap()}}};

    const struct { const char *format; QByteArray bytes; QVariant expected; } cases[] = {
        {"binary", written, binary}, {"XML", xml, xmlRead}, {"text", text, textRead}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.format);
        QString error;
        const std::optional<QVariant> value = read(c.bytes, &error);
        ASSERT_TRUE(value.has_value()) << error.toStdString();
        EXPECT_EQ(*value, c.expected);
    }
}

// Nothing is written that would not read back as it was.
TEST(PropertyListTest, ValuesNoPropertyListHoldsAreRefused)
{
    const QString withNul = QStringLiteral("a") + QChar(0) + QStringLiteral("b");
    QVariant deep = QVariantList();
    for (int i = 0; i < XRPropertyList::MaxDepth; ++i)
        deep = QVariantList{deep};
    for (const QVariant &value : {QVariant(), QVariant(QVariantList{QVariant()}), QVariant(QVariantHash{{withNul, 1}}),
                                  QVariant(withNul), QVariant(QVariantMap{{withNul, 1}}), QVariant(QDateTime()),
                                  QVariant(quint64(std::numeric_limits<qint64>::max()) + 1),
                                  QVariant(utc("2100-01-01T00:00:00.000Z")), deep})
        EXPECT_FALSE(writeRefusal(value).isEmpty()) << value.typeName();
}

QByteArray inPlist(const QByteArray &body)
{
    return "<?xml version=\"1.0\"?>\n<plist>\n" + body + "</plist>";
}

TEST(PropertyListTest, MalformedAndHostileTextsAreRefused)
{
    const int levels = 100000; // libplist's own readers overflow the stack on these
    const QByteArray laughs = R"(<?xml version="1.0"?>
<!DOCTYPE plist [
<!ENTITY a "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa">
<!ENTITY b "&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;">
<!ENTITY c "&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;">
<!ENTITY d "&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;">
]>
<plist><string>&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;</string></plist>)";
    const QByteArray refused[] = {
        // XML scalars whose text is not wholly their value (libplist reads 12 and 1970 for the first and fifth).
        inPlist("<integer>12abc</integer>"), inPlist("<integer></integer>"), inPlist("<integer>9223372036854775808</integer>"),
        inPlist("<real>1,5</real>"), inPlist("<date>garbage</date>"), inPlist("<data>!!not base64</data>"),
        // XML structure out of place.
        inPlist("<dict><key>a</key><foo>b</foo></dict>"), inPlist("<dict><key>a</key></dict>"),
        inPlist("<array>text<string>a</string></array>"), inPlist("<string>a</string><string>b</string>"), inPlist(""),
        "<?xml version=\"1.0\"?>\n<plist>\n<dict><key>a</key><string>abc",
        "<plist>" + QByteArray("<array>").repeated(levels) + QByteArray("</array>").repeated(levels) + "</plist>",
        // Entities: expanding without end, external (never loaded), or declared nowhere (rather than dropped).
        laughs, inPlist("<string>&undeclared;</string>"),
        R"(<!DOCTYPE plist [<!ENTITY e SYSTEM "file:///etc/hostname">]><plist><string>&e;</string></plist>)",
        R"(<!DOCTYPE plist SYSTEM "PropertyList-1.0.dtd"><plist><string>a&nbsp;b</string></plist>)",
        // The old text form, and what is none of the three.
        "{ a = b }", "( a, ", "<0g>", "/* never closed ( a )", QByteArray("(").repeated(levels),
        "not a plist at all", QByteArray(), "\xFF\xD8\xFF\xE0 JFIF",
    };
    for (const QByteArray &document : refused)
        EXPECT_FALSE(refusal(document).isEmpty()) << document.left(60).toStdString();

    const QByteArray justDeepEnough = "<plist>" + QByteArray("<array>").repeated(XRPropertyList::MaxDepth)
        + QByteArray("</array>").repeated(XRPropertyList::MaxDepth) + "</plist>";
    EXPECT_TRUE(read(justDeepEnough).has_value());
}

TEST(PropertyListTest, HostileBinaryDocumentsAreRefused)
{
    const QByteArray key = object({0x51, 'k'});
    const BinaryPlist refused[] = {
        {{object({0xA1, 7})}}, // a reference to a missing object
        {.objects = {key}, .tableOffset = 1000000000}, {.objects = {key}, .tableOffset = 3},
        {.objects = {object({0xA1, 1}), key}, .offsetSize = 2, .firstOffset = 60000},
        {.objects = {key}, .objectCount = quint64(1) << 62}, {.objects = {key}, .objectCount = 0},
        {.objects = {key}, .topObject = 5}, {.objects = {key}, .offsetSize = 9},
        {.objects = {object({0xA1, 0, 0, 1}), key}, .refSize = 9}, {.objects = {object({0xA1, 0})}, .refSize = 0},
        {.objects = {object({0x08})}, .firstOffset = 9}, // an offset into the table
        // Integers that do not fit.
        {{object({0x14, 0, 0, 0, 0, 0, 0, 0, 0, 0x80, 0, 0, 0, 0, 0, 0, 0})}}, {{object({0x15, 1})}},
        // Containers and texts claiming far more than the file holds, and a length that is not an integer.
        {{object({0xAF, 0x13, 0, 0, 1, 0, 0, 0, 0, 0, 0})}}, {{object({0xDF, 0x12, 0x80, 0, 0, 0, 0})}},
        {{object({0x5F, 0x13, 0x40, 0, 0, 0, 0, 0, 0, 0, 'a', 'b'})}}, {{object({0x6F, 0x12, 0x7F, 0xFF, 0xFF, 0xFF, 'a', 'b'})}},
        {{object({0x4F, 0x13, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})}}, {{object({0x4F, 0x50})}},
        // A date that is NaN; keyed-archive UIDs and sets are no property-list values; a key that is no text.
        {{object({0x33, 0x7F, 0xF8, 0, 0, 0, 0, 0, 0})}}, {{object({0x80, 5})}}, {{object({0xC1, 0})}},
        {{object({0xD1, 1, 2}), object({0x10, 5}), key}},
        // Objects ending where the offset table begins are refused, not read from the table.
        {{object({0x13, 1, 2})}}, {{object({0x23, 1, 2})}}, {{object({0x33, 1})}}, {{object({0x55, 'a', 'b'})}},
        {{object({0x61, 0})}}, {{object({0xA1})}}, {{object({0xD1, 0})}},
        // A length marker as the last byte, whose integer would come from the table.
        {.objects = {object({0x47, 1, 2, 3, 4, 5, 6, 7}), object({0x5F})}, .topObject = 1, .firstOffset = 16},
        // A length integer whose bytes would run into the table.
        {.objects = {object({0x08}), object({0x5F, 0x11})}, .topObject = 1, .firstOffset = 0},
    };
    for (const BinaryPlist &plist : refused)
        EXPECT_FALSE(refusal(plist.bytes()).isEmpty()) << plist.bytes().toHex().constData();

    // Cycles are found as such, not only once the depth runs out.
    for (const BinaryPlist &cyclic : {BinaryPlist{{object({0xA1, 0})}}, BinaryPlist{{object({0xA1, 1}), object({0xA1, 0})}},
                                      BinaryPlist{{object({0xD1, 1, 0}), key}}})
        EXPECT_TRUE(refusal(cyclic.bytes()).contains(QLatin1String("contains itself"))) << cyclic.bytes().toHex().constData();
    EXPECT_FALSE(refusal("bplist01" + BinaryPlist{{key}}.bytes().mid(8)).isEmpty());
    EXPECT_FALSE(refusal("bplist00").isEmpty());
}

// `levels` arrays each holding the next one twice, then a text: 2^levels leaves.
BinaryPlist doublingArrays(int levels)
{
    BinaryPlist plist;
    for (int i = 1; i <= levels; ++i)
        plist.objects.append(object({0xA2, i, i}));
    plist.objects.append(object({0x51, 'k'}));
    return plist;
}

TEST(PropertyListTest, DeepAndExplodingBinaryDocumentsAreBounded)
{
    // 100,000 arrays each holding the next: libplist's reader overflows the stack here.
    BinaryPlist deep{.offsetSize = 4, .refSize = 4};
    for (quint32 i = 1; i < 100000; ++i)
        deep.objects.append(char(0xA1) + bigEndian(i, 4));
    deep.objects.append(object({0x51, 'k'}));
    EXPECT_TRUE(refusal(deep.bytes()).contains(QLatin1String("nested deeper")));

    // A few hundred bytes that expand to 2^59 values; sharing within the limits is fine.
    EXPECT_TRUE(refusal(doublingArrays(59).bytes()).contains(QLatin1String("more than")));
    std::optional<QVariant> value = read(doublingArrays(10).bytes());
    for (int level = 0; value && level < 10; ++level)
        value = value->toList().value(1);
    EXPECT_EQ(value, QVariant(QStringLiteral("k")));
}

} // namespace
