#include "DemoTestHelpers.h"
#include "PercentDecoding.h"
#include "ReservationBook.h"
#include "ReservationDesk.h"
#include "XRReservationReply.h"

#include <functional>

#include <gtest/gtest.h>

using namespace xr::demo;
using namespace xr::demo::test;

namespace {

class ReservationDeskTest : public ::testing::Test
{
protected:
    ReservationReply send(const XRReservationRequest &request) { return desk.handle(request.body(), fixedNow()); }
    ReservationReply sendXml(const QString &xml) { return desk.handle(encode(xml), fixedNow()); }
    static QByteArray encode(const QString &xml) { return XRReservationRequest::percentEncoded(xml); }

    ReservationBook book;
    ReservationDesk desk{book};
};

struct Case
{
    const char *what;
    std::function<void(XRReservationRequest &)> change;
    ReservationCode expected;
};

} // namespace

TEST(PercentDecoding, UndoesTheApplicationsEncodingAndRefusesWhatItWouldHaveEscaped)
{
    const QString text = QStringLiteral("<First>Åsa Öberg-Nyström & \"Co\" 100%#{}|^[]`\\ +;/?:@=$,'()*!~</First>");
    EXPECT_EQ(QString::fromUtf8(PercentDecoding::decode(XRReservationRequest::percentEncoded(text)).value_or("")), text);
    EXPECT_EQ(PercentDecoding::decode("a+b%2b%2B"), QByteArray("a+b++")) << "a plus sign is never a space here";
    for (const QByteArray &bad : {QByteArray("abc%4"), QByteArray("%G0"), QByteArray("<a> </a>"), QByteArray("\xc3\xa5")})
        EXPECT_FALSE(PercentDecoding::decode(bad)) << bad.toStdString();
}

// One request of each kind of answer; only what is accepted is booked, with a
// reference of its market.
TEST_F(ReservationDeskTest, AnswersEachKindOfRequestWithItsOwnCode)
{
    const Case cases[] = {
        {"the application's request", [](auto &) {}, ReservationCode::Accepted},
        {"Finland without a personal identity number",
         [](auto &r) { r.langString = "FI"; r.branchID = "401"; r.ammount = "100.00"; r.personalID = ""; },
         ReservationCode::Accepted},
        {"an ampersand in a name", [](auto &r) { r.lastName = "Berg & Son"; }, ReservationCode::Accepted},
        {"unknown market", [](auto &r) { r.langString = "XX"; }, ReservationCode::UnknownMarket},
        {"currency of another market", [](auto &r) { r.currency = "KWD"; }, ReservationCode::UnknownCurrency},
        {"above the largest", [](auto &r) { r.ammount = "50000.01"; }, ReservationCode::InvalidAmount},
        {"store of another market", [](auto &r) { r.branchID = "201"; }, ReservationCode::UnknownBranch},
        {"a Saturday", [](auto &r) { r.date = "2026-12-05"; }, ReservationCode::InvalidDate},
        {"nine digits", [](auto &r) { r.personalID = "123456789"; }, ReservationCode::InvalidPersonalNumber},
        {"telephone with a space", [](auto &r) { r.phone = "070 1234567"; }, ReservationCode::InvalidCustomer},
        {"payment method 3", [](auto &r) { r.paymentMethod = 3; }, ReservationCode::InvalidPaymentMethod},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        XRReservationRequest request = goodRequest();
        c.change(request);
        const ReservationReply reply = send(request);
        EXPECT_EQ(reply.reference.isEmpty(), c.expected != ReservationCode::Accepted);
        // The application reads the code from the reply document, and the message.
        const XRReservationReply read = XRReservationReply::fromBody(reply.toXml(), 200);
        EXPECT_EQ(read.code, int(c.expected)) << reply.message.toStdString();
        EXPECT_FALSE(read.message.isEmpty());
        EXPECT_EQ(read.message, reply.message);
    }
    const QList<AcceptedReservation> booked = book.all();
    ASSERT_EQ(booked.size(), 3);
    EXPECT_EQ(booked[0].reference, QStringLiteral("SE-100001"));
    EXPECT_EQ(booked[1].reference, QStringLiteral("FI-100002"));
    EXPECT_EQ(booked[2].lastName, QStringLiteral("Berg & Son"));
}

TEST_F(ReservationDeskTest, DocumentsWithAWrongSecretVersionOrElementsMissingAreRefused)
{
    const QString good = goodRequest().text();
    QString missing = good;
    missing.remove(QStringLiteral("<Tele>0701234567</Tele>")).remove(QStringLiteral("<Version><Major>1</Major><Minor>0</Minor></Version>"));
    const ReservationReply reply = sendXml(missing);
    EXPECT_EQ(reply.code, ReservationCode::MissingElement);
    EXPECT_TRUE(reply.message.contains(QStringLiteral("Version/Major, Customer/Tele"))) << reply.message.toStdString();

    EXPECT_EQ(sendXml(QString(good).replace(QStringLiteral("Xk4pQ9wRt2LmZb7"), QStringLiteral("Xk4pQ9wRt2LmZb8"))).code,
              ReservationCode::NotAuthorised);
    EXPECT_EQ(sendXml(QString(good).replace(QStringLiteral("<Major>1</Major>"), QStringLiteral("<Major>2</Major>"))).code,
              ReservationCode::UnsupportedVersion);
    EXPECT_TRUE(book.all().isEmpty());
}

// The refusal the customer reads is in the market's language, and a value it
// echoes cannot change the reply document.
TEST_F(ReservationDeskTest, RefusalsSpeakTheMarketsLanguageAndEscapeWhatTheyEcho)
{
    XRReservationRequest danish = goodRequest();
    danish.langString = QStringLiteral("DK");
    danish.branchID = QStringLiteral("201");
    danish.date = QStringLiteral("2026-12-05");
    // Asked on a Wednesday, three days ahead is a Saturday: the Monday after is the earliest.
    const ReservationReply date = desk.handle(danish.body(), fixedNow().addDays(2));
    EXPECT_EQ(date.market, QStringLiteral("DK"));
    EXPECT_TRUE(date.message.contains(QStringLiteral("tidligst 2026-12-07"))) << date.message.toStdString();

    XRReservationRequest unknown = goodRequest();
    unknown.langString = QStringLiteral("<b>&</b>");
    const XRReservationReply reply = XRReservationReply::fromBody(send(unknown).toXml(), 200);
    EXPECT_EQ(reply.code, int(ReservationCode::UnknownMarket));
    EXPECT_EQ(reply.message, QStringLiteral("Unknown market \"<b>&</b>\"."));
}

TEST_F(ReservationDeskTest, AnswersEveryHostileBodyWithAMalformedRequest)
{
    const QString laughs = QStringLiteral(
        "<!DOCTYPE Submit [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
        "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\"><!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">"
        "<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\"><!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\">]>");
    const QString external = QStringLiteral("<!DOCTYPE Submit [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>");
    const auto withFirstName = [](const QString &name) {
        return goodRequest().text().replace(QStringLiteral("<First>Åsa</First>"), QStringLiteral("<First>%1</First>").arg(name));
    };
    const QString deep = QString(QStringLiteral("<a>")).repeated(5000) + QString(QStringLiteral("</a>")).repeated(5000);
    const struct { const char *what; QByteArray body; } bodies[] = {
        {"entity expansion", encode(laughs + withFirstName(QStringLiteral("&f;")))},
        {"external entity", encode(external + withFirstName(QStringLiteral("&x;")))},
        {"not UTF-8 once decoded", "<Submit>%FF%FE</Submit>"},
        {"nested too deep", encode(deep)},
        {"larger than the limit", QByteArray(ReservationDesk::maximumBodySize + 1, 'a')},
    };
    for (const auto &hostile : bodies) {
        const ReservationReply reply = desk.handle(hostile.body, fixedNow());
        EXPECT_EQ(reply.code, ReservationCode::MalformedRequest) << hostile.what << ": " << reply.message.toStdString();
    }
    EXPECT_TRUE(book.all().isEmpty());
}

TEST(ReservationBook, KeepsTheNewestThousandAndListsThemWithoutWholePersonalNumbers)
{
    ReservationBook book;
    const AcceptedReservation reservation{.market = QStringLiteral("NO"), .personalNumber = QStringLiteral("01018012345")};
    for (int i = 0; i < 1001; ++i)
        book.add(reservation);
    const QList<AcceptedReservation> kept = book.all();
    ASSERT_EQ(kept.size(), 1000);
    EXPECT_EQ(kept.first().reference, QStringLiteral("NO-100002"));
    EXPECT_EQ(kept.last().reference, QStringLiteral("NO-101001"));
    const QByteArray json = book.toJson();
    EXPECT_TRUE(json.contains("\"personalNumber\": \"*******2345\"")) << json.left(400).toStdString();
    EXPECT_FALSE(json.contains("01018012345"));
}
