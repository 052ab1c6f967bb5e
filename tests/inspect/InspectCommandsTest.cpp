// The inspector runs the application's own readers, whose suites check them
// case by case; here each command is run once as support staff would, and its
// output compared with what the application makes of the same file.

#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

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
    QStringList arguments; // paths are relative to tests/; FILE is a file holding `input`
    int exitCode;
    QString expectedJson;  // a file under tests/ for a successful run
    QByteArray errorStart; // the one line on standard error otherwise
    QByteArray input;
};

} // namespace

TEST(InspectCommands, PrintWhatTheApplicationReadsOrSayWhyNot)
{
    const QString request = QStringLiteral("request --market DK --currency EUR --amount 745.50 --id %1 --first %2 "
                                           "--last Ørsted --phone 4512345678 --date 2011-05-09 --branch 7 --payment %3");
    const Invocation runs[] = {
        {{"rates", "rates/data/rates-se.xml"}, 0, "rates/data/rates-se.json", {}},
        // Beside the stored form, the screen's form in the market asked for.
        {{"convert", "rates/data/rates-se.xml", "USD", "1000", "buy", "--market", "DK"}, 0, "inspect/data/convert-usd-dk.json", {}},
        // From Jönköping the default store comes first, then Göteborg, then Malmö.
        {{"branches", "stores/data/branches/three-cities.xml", "--near", "57.7826,14.1618", "--default", "SE.3003"},
         0, "inspect/data/branches-near.json", {}},
        {{"plist", "inspect/data/settings.vaxlodata"}, 0, "inspect/data/settings.json", {}},
        {{"reply", "inspect/data/refused.xml"}, 0, "inspect/data/refused.json", {}},
        {request.arg(QString(), QStringLiteral("Bo_&_<Lis>"), QStringLiteral("2")).split(u' '), 0,
         "inspect/data/request.json", {}},
        // Input that cannot be read, whatever its bytes: one printable line naming the command.
        {{"convert", "rates/data/rates-se.xml", "X\x1b[2JZ", "100", "buy"}, 1, {}, "vaxlo-inspect convert: "},
        {{"plist", "inspect/data/missing.vaxlodata"}, 1, {}, "vaxlo-inspect plist: cannot read"},
        {{"plist", "FILE"}, 1, {}, "vaxlo-inspect plist: ", "bplist00\n\x1b[2J\r\nnot really"},
        {{"reply", "FILE"}, 1, {}, "vaxlo-inspect reply: ", QByteArray("\xff\xfe<\0R\0/\0>\0", 10)},
        {{"rates", "FILE"}, 1, {}, "vaxlo-inspect rates: ", "<valutakurser>\n<timestamp>\xff\xfe\x01</timestamp></valutakurser>"},
        {{"branches", "FILE"}, 1, {}, "vaxlo-inspect branches: ", "<locations><location>\x1b[31m\n</locations>"},
        {request.arg(QString(), QStringLiteral("Bo"), QStringLiteral("card")).split(u' '), 1, {},
         "vaxlo-inspect request: "},
        // Arguments that do not fit the command.
        {{"rates"}, 2, {}, "usage: vaxlo-inspect rates"},
        {{"branches", "stores/data/branches/three-cities.xml", "--near", "95,14"}, 2, {}, "usage: vaxlo-inspect branches"},
        {{"nonsense"}, 2, {}, "usage:\n"},
    };
    QTemporaryDir dir;
    const QString inputFile = dir.filePath(QStringLiteral("input"));
    for (const Invocation &run : runs) {
        QStringList arguments = run.arguments;
        for (QString &argument : arguments) {
            if (argument.contains(u'/'))
                argument = data(argument);
            else if (argument == QLatin1String("FILE"))
                argument = inputFile;
            else
                argument.replace(u'_', u' ');
        }
        SCOPED_TRACE(run.arguments.join(u' ').toStdString() + ' ' + run.input.toHex().toStdString());
        QFile input(inputFile);
        ASSERT_TRUE(input.open(QIODevice::WriteOnly) && input.write(run.input) == run.input.size());
        input.close();
        QProcess inspector;
        inspector.start(QStringLiteral(XR_INSPECT_PATH), arguments);
        ASSERT_TRUE(inspector.waitForFinished(30000));
        const QByteArray out = inspector.readAllStandardOutput();
        const QByteArray err = inspector.readAllStandardError();
        EXPECT_EQ(inspector.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(inspector.exitCode(), run.exitCode) << err.constData();
        if (run.exitCode == 0) {
            EXPECT_TRUE(err.isEmpty()) << "no diagnostics among the results";
            EXPECT_EQ(QJsonDocument::fromJson(out), jsonFile(run.expectedJson)) << out.constData();
            continue;
        }
        EXPECT_TRUE(out.isEmpty());
        EXPECT_TRUE(err.startsWith(run.errorStart)) << err.constData();
        if (run.exitCode == 1) {
            // One line: its newline is the only control character.
            EXPECT_TRUE(err.endsWith('\n')) << err.constData();
            const QByteArray line = err.chopped(1);
            EXPECT_TRUE(std::none_of(line.begin(), line.end(), [](char ch) { return ch >= 0 && ch < 0x20; }))
                << err.toHex().constData();
        }
    }
}
