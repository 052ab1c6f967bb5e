#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include "InspectRunner.h"

#include <gtest/gtest.h>

namespace {


// The rates suite's captured market document and its expected readings.
QString ratesData(const char *name)
{
    return QDir::cleanPath(QStringLiteral(XR_TEST_DATA_DIR "/../../rates/data/") + QString::fromLatin1(name));
}

QJsonObject jsonFile(const char *name)
{
    QFile file(ratesData(name));
    return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object() : QJsonObject();
}

QJsonObject json(const QByteArray &text)
{
    return QJsonDocument::fromJson(text).object();
}

TEST(InspectRatesTest, PrintsTheDocumentCleanedOrRaw)
{
    const xr::test::InspectOutcome cleaned = xr::test::runInspector({QStringLiteral("rates"), ratesData("rates-se.xml")});
    EXPECT_EQ(cleaned.exitCode, 0) << cleaned.err.constData();
    EXPECT_EQ(json(cleaned.out), jsonFile("rates-se.json")) << cleaned.out.constData();
    EXPECT_TRUE(cleaned.err.isEmpty()) << "no diagnostics among the results";

    const xr::test::InspectOutcome raw = xr::test::runInspector({QStringLiteral("rates"), ratesData("rates-se.xml"), QStringLiteral("--raw")});
    EXPECT_EQ(raw.exitCode, 0) << raw.err.constData();
    EXPECT_EQ(json(raw.out), jsonFile("rates-se.raw.json")) << raw.out.constData();
}

TEST(InspectRatesTest, UnreadableOrBrokenFilesAreBadInput)
{
    QTemporaryDir dir;
    const QString broken = dir.filePath(QStringLiteral("broken.xml"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<rates><timestamp>2011-05-03 14:07</timestamp><row>");
    file.close();

    for (const QString &path : {broken, dir.filePath(QStringLiteral("missing.xml"))}) {
        for (const QString &command : {QStringLiteral("rates"), QStringLiteral("convert")}) {
            QStringList arguments{command, path};
            if (command == QLatin1String("convert"))
                arguments << QStringLiteral("USD") << QStringLiteral("100") << QStringLiteral("buy");
            const xr::test::InspectOutcome run = xr::test::runInspector(arguments);
            EXPECT_EQ(run.exitCode, 1) << qPrintable(arguments.join(u' '));
            EXPECT_TRUE(run.out.isEmpty());
            EXPECT_TRUE(run.err.startsWith("vaxlo-inspect " + command.toUtf8() + ": ")) << run.err.constData();
            EXPECT_EQ(run.err.count('\n'), 1) << run.err.constData();
        }
    }
}

TEST(InspectRatesTest, ConvertShowsTheSixTextsAndTheReservationAmount)
{
    const QString file = ratesData("rates-se.xml");
    const struct
    {
        QStringList arguments;
        QJsonObject expected;
    } cases[] = {
        {{QStringLiteral("USD"), QStringLiteral("100"), QStringLiteral("buy")},
         {{QStringLiteral("swiftSourceLabel"), QStringLiteral("100 USD")},
          {QStringLiteral("swiftTransactionLabel"), QStringLiteral("sold for:")},
          {QStringLiteral("baseDestinationLabel"), QStringLiteral("649.00 SEK")},
          {QStringLiteral("baseSourceLabel"), QStringLiteral("100 SEK")},
          {QStringLiteral("baseTransactionLabel"), QStringLiteral("gives you:")},
          {QStringLiteral("swiftDestinationLabel"), QStringLiteral("15.41 USD")},
          {QStringLiteral("sellCashAmmount"), QStringLiteral("649.00")}}},
        {{QStringLiteral("USD"), QStringLiteral("100"), QStringLiteral("sell")},
         {{QStringLiteral("swiftSourceLabel"), QStringLiteral("100 USD")},
          {QStringLiteral("swiftTransactionLabel"), QStringLiteral("gives you:")},
          {QStringLiteral("baseDestinationLabel"), QStringLiteral("581.00 SEK")},
          {QStringLiteral("baseSourceLabel"), QStringLiteral("100 SEK")},
          {QStringLiteral("baseTransactionLabel"), QStringLiteral("sold for:")},
          {QStringLiteral("swiftDestinationLabel"), QStringLiteral("17.21 USD")},
          {QStringLiteral("sellCashAmmount"), QStringLiteral("649.00")}}},
        // Quoted per 100 in the document; the amount typed with a decimal comma.
        {{QStringLiteral("DKK"), QStringLiteral("12,5"), QStringLiteral("buy")},
         {{QStringLiteral("swiftSourceLabel"), QStringLiteral("12,5 DKK")},
          {QStringLiteral("swiftTransactionLabel"), QStringLiteral("sold for:")},
          {QStringLiteral("baseDestinationLabel"), QStringLiteral("15.80 SEK")},
          {QStringLiteral("baseSourceLabel"), QStringLiteral("12,5 SEK")},
          {QStringLiteral("baseTransactionLabel"), QStringLiteral("gives you:")},
          {QStringLiteral("swiftDestinationLabel"), QStringLiteral("9.89 DKK")},
          {QStringLiteral("sellCashAmmount"), QStringLiteral("15.80")}}},
        {{QStringLiteral("BAM"), QStringLiteral("100"), QStringLiteral("sell")},
         {{QStringLiteral("swiftSourceLabel"), QStringLiteral("100 BAM")},
          {QStringLiteral("swiftTransactionLabel"), QStringLiteral("gives you:")},
          {QStringLiteral("baseDestinationLabel"), QStringLiteral("0.00 SEK")},
          {QStringLiteral("baseSourceLabel"), QStringLiteral("100 SEK")},
          {QStringLiteral("baseTransactionLabel"), QStringLiteral("sold for:")},
          {QStringLiteral("swiftDestinationLabel"), QStringLiteral("- BAM")},
          {QStringLiteral("sellCashAmmount"), QStringLiteral("495.00")}}},
    };
    for (const auto &c : cases) {
        const xr::test::InspectOutcome run = xr::test::runInspector(QStringList{QStringLiteral("convert"), file} + c.arguments);
        EXPECT_EQ(run.exitCode, 0) << run.err.constData();
        QJsonObject stored = json(run.out);
        stored.remove(QStringLiteral("display"));
        EXPECT_EQ(stored, c.expected) << run.out.constData();
    }

    // Beside the stored form, the screen's form in the market asked for.
    const xr::test::InspectOutcome danish = xr::test::runInspector(
        {QStringLiteral("convert"), file, QStringLiteral("USD"), QStringLiteral("1000"), QStringLiteral("buy"),
         QStringLiteral("--market"), QStringLiteral("DK")});
    EXPECT_EQ(json(danish.out).value(QStringLiteral("display")).toObject(),
              (QJsonObject{{QStringLiteral("swiftSourceLabel"), QStringLiteral("1000 USD")},
                           {QStringLiteral("swiftTransactionLabel"), QStringLiteral("sold for:")},
                           {QStringLiteral("baseDestinationLabel"), QStringLiteral("6.490,00 SEK")},
                           {QStringLiteral("baseSourceLabel"), QStringLiteral("1000 SEK")},
                           {QStringLiteral("baseTransactionLabel"), QStringLiteral("gives you:")},
                           {QStringLiteral("swiftDestinationLabel"), QStringLiteral("154,08 USD")},
                           {QStringLiteral("market"), QStringLiteral("DK")}}))
        << danish.out.constData();

    const xr::test::InspectOutcome unknown = xr::test::runInspector({QStringLiteral("convert"), file, QStringLiteral("XYZ"), QStringLiteral("100"),
                                 QStringLiteral("buy")});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_TRUE(unknown.err.contains("XYZ")) << unknown.err.constData();
}

TEST(InspectRatesTest, WrongArgumentsAreBadUsage)
{
    const QString file = ratesData("rates-se.xml");
    const QStringList usages[] = {
        {QStringLiteral("rates")},
        {QStringLiteral("rates"), file, QStringLiteral("--cleaned")},
        {QStringLiteral("rates"), file, QStringLiteral("--raw"), QStringLiteral("extra")},
        {QStringLiteral("convert"), file, QStringLiteral("USD"), QStringLiteral("100")},
        {QStringLiteral("convert"), file, QStringLiteral("USD"), QStringLiteral("100"), QStringLiteral("hold")},
        {QStringLiteral("convert"), file, QStringLiteral("USD"), QStringLiteral("100"), QStringLiteral("buy"),
         QStringLiteral("--market"), QStringLiteral("DE")},
    };
    for (const QStringList &arguments : usages) {
        const xr::test::InspectOutcome run = xr::test::runInspector(arguments);
        EXPECT_EQ(run.exitCode, 2) << qPrintable(arguments.join(u' '));
        EXPECT_TRUE(run.err.startsWith("usage: vaxlo-inspect " + arguments[0].toUtf8())) << run.err.constData();
    }
}

} // namespace
