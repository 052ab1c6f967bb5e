#include "LogCapture.h"
#include "XRReservationReply.h"

#include <gtest/gtest.h>

namespace {

struct Expected
{
    int code;
    QString message;
    QString market;
};

void expectReply(const QByteArray &body, const Expected &expected)
{
    SCOPED_TRACE(body.toStdString());
    const XRReservationReply reply = XRReservationReply::fromBody(body);
    EXPECT_EQ(reply.code, expected.code);
    EXPECT_EQ(reply.message, expected.message);
    EXPECT_EQ(reply.message.isNull(), expected.message.isNull());
    EXPECT_EQ(reply.market, expected.market);
    EXPECT_EQ(reply.market.isNull(), expected.market.isNull());
}

TEST(ReservationReplyTest, ReadsCodeMessageAndMarketOfTheRoot)
{
    expectReply("<Reply><Code>0</Code><Message>OK</Message><Market>SE</Market></Reply>",
                {0, QStringLiteral("OK"), QStringLiteral("SE")});
    expectReply("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Answer>\n  <Message>Slut</Message>\n  <Code>17</Code>\n"
                "</Answer>",
                {17, QStringLiteral("Slut"), QString()});
    expectReply("<Reply xmlns=\"http://vaxlo.example/reservation\"><Code>3</Code><Market>DK</Market></Reply>",
                {3, QString(), QStringLiteral("DK")});
    expectReply("<Reply><Code>4</Code><Code>5</Code><Message><![CDATA[Tack & välkommen]]></Message></Reply>",
                {4, QStringLiteral("Tack & välkommen"), QString()});
}

TEST(ReservationReplyTest, CodeIsTheLeadingNumberOfItsText)
{
    const struct
    {
        const char *text;
        int code;
    } cases[] = {
        {" \n\t-12 kronor", -12}, {"+8", 8}, {"007", 7},           {"x1", 0},
        {"", 0},                  {"- 3", 0}, {"99999999999", 2147483647}, {"-99999999999", -2147483647 - 1},
    };
    for (const auto &c : cases) {
        expectReply(QByteArray("<Reply><Code>") + c.text + "</Code></Reply>", {c.code, QString(), QString()});
    }
    expectReply("<Reply><Message>No code</Message></Reply>", {0, QStringLiteral("No code"), QString()});
    // Only direct children of the root count.
    expectReply("<Reply><Result><Code>5</Code><Message>Deep</Message></Result><Market>NO</Market></Reply>",
                {0, QString(), QStringLiteral("NO")});
}

TEST(ReservationReplyTest, UnreadableBodiesGiveMinusOneAndNoTexts)
{
    const QByteArray bodies[] = {
        "<html><head><title>Server Error</title></head><body><h1>Runtime Error<br></h1></body></html>",
        // Latin-1, not UTF-8.
        "<Reply><Code>0</Code><Message>Tack s\xe5 mycket</Message><Market>SE</Market></Reply>",
        "",
        "<Reply><Code>0</Code><Message>OK</Message>",
    };
    for (const QByteArray &body : bodies)
        expectReply(body, {-1, QString(), QString()});
}

TEST(ReservationReplyTest, LogsTheParseErrorAndTheRootElement)
{
    xr::test::LogCapture log;
    XRReservationReply::fromBody("<Reply><Code>0</Code></Reply>");
    XRReservationReply::fromBody("<html><br></html>");
    const QStringList messages = log.messages();
    ASSERT_EQ(messages.size(), 4) << qPrintable(messages.join(u'\n'));
    EXPECT_EQ(messages[0], QStringLiteral("parsing error: 0"));
    EXPECT_TRUE(messages[1].startsWith(QLatin1String("return doc: XRXMLElement 0x"))) << qPrintable(messages[1]);
    EXPECT_TRUE(messages[1].endsWith(QLatin1String("{type:1 name:Reply xml:\"<Reply><Code>0</Code></Reply>\"}")))
        << qPrintable(messages[1]);
    EXPECT_EQ(messages[2], QStringLiteral("parsing error: -1"));
    EXPECT_EQ(messages[3], QStringLiteral("return doc: (null)"));
}

} // namespace
