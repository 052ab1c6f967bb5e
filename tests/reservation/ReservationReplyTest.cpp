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

} // namespace
