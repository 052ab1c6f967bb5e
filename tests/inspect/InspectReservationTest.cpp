#include "XRReservationRequest.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include "InspectRunner.h"

#include <gtest/gtest.h>

namespace {


QJsonObject jsonObject(const QByteArray &text)
{
    return QJsonDocument::fromJson(text).object();
}

QStringList requestArguments(const QString &first, const QString &id)
{
    return {QStringLiteral("request"), QStringLiteral("--market"), QStringLiteral("DK"),
            QStringLiteral("--currency"), QStringLiteral("EUR"), QStringLiteral("--amount"),
            QStringLiteral("745.50"), QStringLiteral("--id"), id,
            QStringLiteral("--first"), first, QStringLiteral("--last"),
            QStringLiteral("Ørsted"), QStringLiteral("--phone"), QStringLiteral("4512345678"),
            QStringLiteral("--date"), QStringLiteral("2011-05-09"), QStringLiteral("--branch"),
            QStringLiteral("7"), QStringLiteral("--payment"), QStringLiteral("2")};
}

TEST(InspectReservationTest, ReplyPrintsCodeMessageAndMarket)
{
    QTemporaryDir dir;
    const struct
    {
        const char *name;
        QByteArray body;
        QJsonObject expected;
    } cases[] = {
        {"accepted.xml",
         "<Reply><Code>0</Code><Message>OK</Message><Market>SE</Market></Reply>",
         {{QStringLiteral("code"), 0}, {QStringLiteral("message"), QStringLiteral("OK")},
          {QStringLiteral("market"), QStringLiteral("SE")}}},
        {"refused.xml",
         "<Reply><Code>17</Code><Message>Slutsåld</Message></Reply>",
         {{QStringLiteral("code"), 17}, {QStringLiteral("message"), QStringLiteral("Slutsåld")},
          {QStringLiteral("market"), QJsonValue::Null}}},
    };
    for (const auto &c : cases) {
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.body);
        file.close();

        const xr::test::InspectOutcome run = xr::test::runInspector({QStringLiteral("reply"), path});
        EXPECT_EQ(run.exitCode, 0) << run.err.constData();
        EXPECT_EQ(jsonObject(run.out), c.expected) << run.out.constData();
        EXPECT_TRUE(run.err.isEmpty()) << run.err.constData();
    }

    const xr::test::InspectOutcome missing = xr::test::runInspector({QStringLiteral("reply"), dir.filePath(QStringLiteral("missing.xml"))});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.out.isEmpty());
    EXPECT_TRUE(missing.err.startsWith("vaxlo-inspect reply: ")) << missing.err.constData();
    EXPECT_EQ(missing.err.count('\n'), 1) << missing.err.constData();
}

TEST(InspectReservationTest, RequestPrintsTheDocumentAndTheBodyAsSent)
{
    const xr::test::InspectOutcome run = xr::test::runInspector(requestArguments(QStringLiteral("Bo & <Lis>"), QString()));
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();

    // Every option lands in its own element.
    XRReservationRequest expected;
    expected.langString = QStringLiteral("DK");
    expected.currency = QStringLiteral("EUR");
    expected.ammount = QStringLiteral("745.50");
    expected.firstName = QStringLiteral("Bo & <Lis>");
    expected.lastName = QStringLiteral("Ørsted");
    expected.phone = QStringLiteral("4512345678");
    expected.date = QStringLiteral("2011-05-09");
    expected.branchID = QStringLiteral("7");
    expected.paymentMethod = 2;
    const QJsonObject printed = jsonObject(run.out);
    EXPECT_EQ(printed.value(QStringLiteral("request")).toString(), expected.text()) << run.out.constData();
    EXPECT_EQ(printed.value(QStringLiteral("body")).toString().toUtf8(), expected.body()) << run.out.constData();
    EXPECT_TRUE(printed.value(QStringLiteral("body"))
                    .toString()
                    .contains(QLatin1String("<First>Bo%20&amp;%20&lt;Lis&gt;</First><Last>%C3%98rsted</Last>")))
        << run.out.constData();
}

TEST(InspectReservationTest, RequestArgumentsAreCheckedFirst)
{
    const QStringList complete = requestArguments(QStringLiteral("Bo"), QStringLiteral("8001011234"));

    QStringList notANumber = complete;
    notANumber.last() = QStringLiteral("card");
    const xr::test::InspectOutcome bad = xr::test::runInspector(notANumber);
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_TRUE(bad.out.isEmpty());
    EXPECT_TRUE(bad.err.startsWith("vaxlo-inspect request: ")) << bad.err.constData();
    EXPECT_EQ(bad.err.count('\n'), 1);

    QStringList withoutPayment = complete.mid(0, complete.size() - 2);
    QStringList twice = complete + QStringList{QStringLiteral("--date"), QStringLiteral("2011-05-10")};
    QStringList unknown = complete + QStringList{QStringLiteral("--colour"), QStringLiteral("red")};
    QStringList extra = complete + QStringList{QStringLiteral("extra")};
    const QStringList usages[] = {withoutPayment, twice, unknown, extra, {QStringLiteral("reply")},
                                  {QStringLiteral("reply"), QStringLiteral("a.xml"), QStringLiteral("b.xml")}};
    for (const QStringList &arguments : usages) {
        const xr::test::InspectOutcome run = xr::test::runInspector(arguments);
        EXPECT_EQ(run.exitCode, 2) << qPrintable(arguments.join(u' '));
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.startsWith("usage: vaxlo-inspect " + arguments[0].toUtf8())) << run.err.constData();
    }
}

} // namespace
