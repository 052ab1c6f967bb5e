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

void expectReply(int status, const QByteArray &body, const Expected &expected)
{
    SCOPED_TRACE(testing::Message() << status << " " << body.constData());
    const XRReservationReply reply = XRReservationReply::fromBody(body, status);
    EXPECT_EQ(reply.code, expected.code);
    EXPECT_EQ(reply.message, expected.message);
    EXPECT_EQ(reply.message.isNull(), expected.message.isNull());
    EXPECT_EQ(reply.market, expected.market);
    EXPECT_EQ(reply.market.isNull(), expected.market.isNull());
}

const Expected unreadable{-1, QString(), QString()};

TEST(ReservationReplyTest, ReadsCodeMessageAndMarketOfTheRoot)
{
    expectReply(200, "<Reply><Code>0</Code><Message>OK</Message><Market>SE</Market></Reply>",
                {0, QStringLiteral("OK"), QStringLiteral("SE")});
    expectReply(200, "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Answer>\n  <Message>Slut</Message>\n  <Code>17</Code>\n"
                     "</Answer>",
                {17, QStringLiteral("Slut"), QString()});
    expectReply(201, "<Reply xmlns=\"http://vaxlo.example/reservation\"><Code>3</Code><Market>DK</Market></Reply>",
                {3, QString(), QStringLiteral("DK")});
    expectReply(200, "<Reply><Code>4</Code><Code>5</Code><Message><![CDATA[Tack & välkommen]]></Message></Reply>",
                {4, QStringLiteral("Tack & välkommen"), QString()});
}

// Only a reply that says so accepts: a code that cannot be read, or an
// acceptance under an error status, is no answer at all. A refusal may come
// with an error status.
TEST(ReservationReplyTest, ACodeCountsOnlyWhenItCanBeReadAndTheStatusAllowsIt)
{
    const struct
    {
        int status;
        QByteArray body;
        Expected expected;
    } cases[] = {
        {404, "<Reply><Code>17</Code><Message>Sold out</Message><Market>SE</Market></Reply>",
         {17, QStringLiteral("Sold out"), QStringLiteral("SE")}},
        {503, "<Reply><Code>0</Code><Message>OK</Message></Reply>", unreadable},
        {503, "<html><body><p>Down for maintenance</p></body></html>", unreadable},
        {500, "<html><body>Server Error<br></body></html>", unreadable},
        {200, "<Reply><Message>No code</Message><Market>SE</Market></Reply>", unreadable},
        {200, "<Reply><Result><Code>0</Code></Result><Message>Deep</Message></Reply>", unreadable},
        {200, "<Reply><Code>x1</Code><Message>Letters</Message></Reply>", unreadable},
        {400, "<Reply><Code>-</Code><Message>Sign only</Message></Reply>", unreadable},
        {200, "<Reply><Code></Code></Reply>", unreadable},
    };
    for (const auto &c : cases)
        expectReply(c.status, c.body, c.expected);
}

TEST(ReservationReplyTest, CodeIsTheLeadingNumberOfItsText)
{
    const struct
    {
        const char *text;
        int code;
    } cases[] = {
        {" \n\t-12 kronor", -12}, {"+8", 8}, {"007", 7}, {"99999999999", 2147483647}, {"-99999999999", -2147483647 - 1},
    };
    for (const auto &c : cases)
        expectReply(200, QByteArray("<Reply><Code>") + c.text + "</Code></Reply>", {c.code, QString(), QString()});
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
        expectReply(200, body, unreadable);
}

TEST(ReservationReplyTest, LogsTheParseErrorAndTheRootElement)
{
    xr::test::LogCapture log;
    XRReservationReply::fromBody("<Reply><Code>0</Code></Reply>", 200);
    XRReservationReply::fromBody("<html><br></html>", 500);
    const QStringList messages = log.messages();
    ASSERT_EQ(messages.size(), 5) << qPrintable(messages.join(u'\n'));
    EXPECT_EQ(messages[0], QStringLiteral("parsing error: 0"));
    EXPECT_TRUE(messages[1].startsWith(QLatin1String("return doc: XRXMLElement 0x"))) << qPrintable(messages[1]);
    EXPECT_TRUE(messages[1].endsWith(QLatin1String("{type:1 name:Reply xml:\"<Reply><Code>0</Code></Reply>\"}")))
        << qPrintable(messages[1]);
    EXPECT_EQ(messages[2], QStringLiteral("parsing error: -1"));
    EXPECT_EQ(messages[3], QStringLiteral("return doc: (null)"));
    EXPECT_EQ(messages[4], QStringLiteral("Reservation reply without a readable code, HTTP status 500"));
}

} // namespace
