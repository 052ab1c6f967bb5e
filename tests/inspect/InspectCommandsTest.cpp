// The inspector runs the application's own readers, whose suites check them
// case by case; here each command is run once as support staff would, and its
// output compared with what the application makes of the same file.

#include "InspectRunner.h"

#include <QFile>
#include <QJsonDocument>

#include <gtest/gtest.h>

namespace {

QString data(const QString &path)
{
    return QStringLiteral(XR_TEST_DATA_DIR "/../../") + path;
}

QJsonDocument jsonFile(const QString &path)
{
    QFile file(data(path));
    return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()) : QJsonDocument();
}

struct Invocation
{
    QStringList arguments; // paths are relative to tests/
    int exitCode;
    QString expectedJson;  // a file under tests/ for a successful run
    QByteArray errorStart; // the one line on standard error otherwise
};

} // namespace

TEST(InspectCommands, PrintWhatTheApplicationReadsOrSayWhyNot)
{
    const QString request = QStringLiteral("request --market DK --currency EUR --amount 745.50 --id %1 --first %2 "
                                           "--last Ørsted --phone 4512345678 --date 2011-05-09 --branch 7 --payment %3");
    const Invocation runs[] = {
        {{"rates", "rates/data/rates-se.xml"}, 0, "rates/data/rates-se.json", {}},
        {{"rates", "rates/data/rates-se.xml", "--raw"}, 0, "rates/data/rates-se.raw.json", {}},
        {{"convert", "rates/data/rates-se.xml", "DKK", "12,5", "buy"}, 0, "inspect/data/convert-dkk.json", {}},
        // Beside the stored form, the screen's form in the market asked for.
        {{"convert", "rates/data/rates-se.xml", "USD", "1000", "buy", "--market", "DK"}, 0, "inspect/data/convert-usd-dk.json", {}},
        {{"branches", "stores/data/branches/edge-cases.xml"}, 0, "stores/data/branches/edge-cases.json", {}},
        // From Jönköping the default store comes first, then Göteborg, then Malmö.
        {{"branches", "stores/data/branches/three-cities.xml", "--near", "57.7826,14.1618", "--default", "SE.3003"},
         0, "inspect/data/branches-near.json", {}},
        {{"plist", "inspect/data/settings.vaxlodata"}, 0, "inspect/data/settings.json", {}},
        {{"reply", "inspect/data/refused.xml"}, 0, "inspect/data/refused.json", {}},
        {request.arg(QString(), QStringLiteral("Bo_&_<Lis>"), QStringLiteral("2")).split(u' '), 0,
         "inspect/data/request.json", {}},
        // Files that cannot be read.
        {{"rates", "inspect/data/broken.xml"}, 1, {}, "vaxlo-inspect rates: "},
        {{"convert", "inspect/data/missing.xml", "USD", "100", "buy"}, 1, {}, "vaxlo-inspect convert: "},
        {{"convert", "rates/data/rates-se.xml", "XYZ", "100", "buy"}, 1, {}, "vaxlo-inspect convert: "},
        {{"branches", "inspect/data/broken.xml"}, 1, {}, "vaxlo-inspect branches: "},
        {{"plist", "inspect/data/missing.vaxlodata"}, 1, {}, "vaxlo-inspect plist: cannot read"},
        {{"plist", "inspect/data/broken.xml"}, 1, {}, "vaxlo-inspect plist: "},
        {{"reply", "inspect/data/error.html"}, 1, {}, "vaxlo-inspect reply: "},
        {{"plist", "inspect/data/cyclic.vaxlodata"}, 1, {}, "vaxlo-inspect plist: "},
        {{"reply", "inspect/data/missing.xml"}, 1, {}, "vaxlo-inspect reply: "},
        {request.arg(QString(), QStringLiteral("Bo"), QStringLiteral("card")).split(u' '), 1, {},
         "vaxlo-inspect request: "},
        // Arguments that do not fit the command.
        {{"rates"}, 2, {}, "usage: vaxlo-inspect rates"},
        {{"rates", "rates/data/rates-se.xml", "--cleaned"}, 2, {}, "usage: vaxlo-inspect rates"},
        {{"convert", "rates/data/rates-se.xml", "USD", "100", "hold"}, 2, {}, "usage: vaxlo-inspect convert"},
        {{"convert", "rates/data/rates-se.xml", "USD", "100", "buy", "--market", "DE"}, 2, {}, "usage: vaxlo-inspect convert"},
        {{"branches", "stores/data/branches/three-cities.xml", "--near", "95,14"}, 2, {}, "usage: vaxlo-inspect branches"},
        {{"branches", "stores/data/branches/three-cities.xml", "--default", "SE.1"}, 2, {}, "usage: vaxlo-inspect branches"},
        {{"plist", "a", "b"}, 2, {}, "usage: vaxlo-inspect plist FILE"},
        {{"reply"}, 2, {}, "usage: vaxlo-inspect reply"},
        {(request.arg(QString(), QStringLiteral("Bo"), QStringLiteral("2")) + QStringLiteral(" --date 2011-05-10")).split(u' '),
         2, {}, "usage: vaxlo-inspect request"},
        {{"nonsense"}, 2, {}, "usage:\n"},
    };
    for (const Invocation &run : runs) {
        QStringList arguments = run.arguments;
        for (QString &argument : arguments) {
            if (argument.contains(u'/'))
                argument = data(argument);
            else
                argument.replace(u'_', u' ');
        }
        SCOPED_TRACE(run.arguments.join(u' ').toStdString());
        const xr::test::InspectOutcome outcome = xr::test::runInspector(arguments);
        EXPECT_EQ(outcome.exitCode, run.exitCode) << outcome.err.constData();
        if (run.exitCode == 0) {
            EXPECT_TRUE(outcome.err.isEmpty()) << "no diagnostics among the results";
            EXPECT_EQ(QJsonDocument::fromJson(outcome.out), jsonFile(run.expectedJson)) << outcome.out.constData();
            continue;
        }
        EXPECT_TRUE(outcome.out.isEmpty());
        EXPECT_TRUE(outcome.err.startsWith(run.errorStart)) << outcome.err.constData();
        if (run.exitCode == 1) {
            EXPECT_EQ(outcome.err.count('\n'), 1) << outcome.err.constData();
        }
    }
}
