#include "XRReservationReply.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using namespace Qt::StringLiterals;

// Code, message and market of the root, an acceptance only under a good
// status, a refusal under any, and -1 without texts for anything unreadable.
TEST(ReservationReplyTest, ReadsTheRootsCodeMessageAndMarketUnderTheStatus)
{
    const QByteArray accepted = "<Reply><Code>0</Code><Message>OK</Message><Market>SE</Market></Reply>";
    const QByteArray refused = "<Reply><Code>17</Code><Message>Sold out</Message><Market>SE</Market></Reply>";
    const QByteArray errorPage = "<html><head><title>Runtime Error</title></head><body>Server Error<br></body></html>";
    const struct { int status; QByteArray body; int code; QString message; QString market; } cases[] = {
        {200, accepted, 0, u"OK"_s, u"SE"_s},
        {404, refused, 17, u"Sold out"_s, u"SE"_s},
        {200, "<?xml version=\"1.0\"?>\n<Answer>\n  <Message>Slut</Message>\n  <Code>17</Code>\n</Answer>", 17, u"Slut"_s, {}},
        {201, "<Reply xmlns=\"http://vaxlo.example/reservation\"><Code>3</Code><Market>DK</Market></Reply>", 3, {}, u"DK"_s},
        {200, "<Reply><Code>4</Code><Code>5</Code><Message><![CDATA[Tack & välkommen]]></Message></Reply>", 4,
         u"Tack & välkommen"_s, {}},
        {200, "<Reply><Code> \n\t-12 kronor</Code></Reply>", -12, {}, {}},
        // A code too large to hold is no acceptance.
        {200, "<Reply><Code>4294967296</Code></Reply>", INT_MAX, {}, {}},
        {404, accepted, -1, {}, {}},
        {200, "<Reply><Result><Code>0</Code></Result><Message>Deep</Message></Reply>", -1, {}, {}},
        {200, "<Reply><Code>OK</Code><Message>Letters</Message></Reply>", -1, {}, {}},
        {200, errorPage, -1, {}, {}},
        {200, "<Reply><Code>0</Code><Message>Tack s\xe5 mycket</Message><Market>SE</Market></Reply>", -1, {}, {}},
        {200, "<Reply><Code>0</Code><Message>OK</Message>", -1, {}, {}},
        {200, "", -1, {}, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.status << " " << c.body.constData());
        const XRReservationReply reply = XRReservationReply::fromBody(c.body, c.status);
        EXPECT_EQ(reply.code, c.code);
        EXPECT_EQ(reply.message, c.message);
        EXPECT_EQ(reply.message.isNull(), c.message.isNull());
        EXPECT_EQ(reply.market, c.market);
        EXPECT_EQ(reply.market.isNull(), c.market.isNull());
    }
}

} // namespace
