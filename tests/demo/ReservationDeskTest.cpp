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

TEST_F(ReservationDeskTest, AcceptsTheApplicationsRequestAndBooksIt)
{
    const ReservationReply reply = send(goodRequest());
    EXPECT_EQ(reply.code, ReservationCode::Accepted) << reply.message.toStdString();
    EXPECT_EQ(reply.market, QStringLiteral("SE"));
    EXPECT_EQ(reply.reference, QStringLiteral("SE-100001"));
    EXPECT_TRUE(reply.message.contains(QStringLiteral("SE-100001"))) << reply.message.toStdString();
    EXPECT_TRUE(reply.message.contains(QStringLiteral("bekräftad"))) << "in the market's language";

    const QList<AcceptedReservation> booked = book.all();
    ASSERT_EQ(booked.size(), 1);
    EXPECT_EQ(booked[0].reference, reply.reference);
    EXPECT_EQ(booked[0].currency, QStringLiteral("USD"));
    EXPECT_EQ(booked[0].amount, QStringLiteral("1105.00"));
    EXPECT_EQ(booked[0].branch, 104);
    EXPECT_TRUE(reply.message.contains(booked[0].storeName));
    EXPECT_EQ(booked[0].firstName, QStringLiteral("Åsa"));
    EXPECT_EQ(booked[0].fetchAt, QStringLiteral("2026-12-03"));
    EXPECT_EQ(booked[0].paymentMethod, 1);
    EXPECT_EQ(send(goodRequest()).reference, QStringLiteral("SE-100002"));
}

TEST_F(ReservationDeskTest, AnswersEachKindOfRequestWithItsOwnCode)
{
    const Case cases[] = {
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
        XRReservationRequest request = goodRequest();
        c.change(request);
        const ReservationReply reply = send(request);
        EXPECT_EQ(reply.code, c.expected) << c.what << ": " << reply.message.toStdString();
        EXPECT_FALSE(reply.message.isEmpty()) << c.what;
        EXPECT_EQ(reply.reference.isEmpty(), c.expected != ReservationCode::Accepted) << c.what;
        // The application reads the code from the reply document, and the message.
        const XRReservationReply read = XRReservationReply::fromBody(reply.toXml(), 200);
        EXPECT_EQ(read.code, int(c.expected)) << c.what;
        EXPECT_EQ(read.message, reply.message) << c.what;
    }
    ASSERT_EQ(book.all().size(), 2) << "only what is accepted is booked";
    EXPECT_EQ(book.all()[1].lastName, QStringLiteral("Berg & Son"));
    EXPECT_EQ(sendXml(goodRequest().text().replace(QStringLiteral("Xk4pQ9wRt2LmZb7"), QStringLiteral("Xk4pQ9wRt2LmZb8"))).code,
              ReservationCode::NotAuthorised);
}

TEST_F(ReservationDeskTest, RefusalsSpeakTheMarketsLanguageAndSayWhatToDo)
{
    XRReservationRequest danish = goodRequest();
    danish.langString = QStringLiteral("DK");
    danish.branchID = QStringLiteral("201");
    danish.date = QStringLiteral("2026-12-05");
    const ReservationReply date = send(danish);
    EXPECT_EQ(date.code, ReservationCode::InvalidDate);
    EXPECT_EQ(date.market, QStringLiteral("DK"));
    EXPECT_TRUE(date.message.contains(QStringLiteral("tidligst 2026-12-03"))) << date.message.toStdString();

    XRReservationRequest unknown = goodRequest();
    unknown.langString = QStringLiteral("<b>&</b>");
    const ReservationReply market = send(unknown);
    EXPECT_EQ(market.code, ReservationCode::UnknownMarket);
    EXPECT_TRUE(market.market.isEmpty());
    const XRReservationReply reply = XRReservationReply::fromBody(market.toXml(), 200);
    ASSERT_TRUE(reply.readable) << "an echoed value is escaped";
    EXPECT_EQ(reply.message, QStringLiteral("Unknown market \"<b>&</b>\"."));
}

TEST_F(ReservationDeskTest, NamesTheMissingElementsAndRefusesAVersionItDoesNotSpeak)
{
    QString xml = goodRequest().text();
    xml.remove(QStringLiteral("<Tele>0701234567</Tele>"));
    xml.remove(QStringLiteral("<Version><Major>1</Major><Minor>0</Minor></Version>"));
    const ReservationReply reply = sendXml(xml);
    EXPECT_EQ(reply.code, ReservationCode::MissingElement);
    EXPECT_TRUE(reply.message.contains(QStringLiteral("Version/Major, Customer/Tele"))) << reply.message.toStdString();

    EXPECT_EQ(sendXml(goodRequest().text().replace(QStringLiteral("<Major>1</Major>"), QStringLiteral("<Major>2</Major>"))).code,
              ReservationCode::UnsupportedVersion);
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
        {"empty", QByteArray()},
        {"truncated", encode(goodRequest().text().left(200))},
        {"entity expansion", encode(laughs + withFirstName(QStringLiteral("&f;")))},
        {"external entity", encode(external + withFirstName(QStringLiteral("&x;")))},
        {"not UTF-8 once decoded", "<Submit>%FF%FE</Submit>"},
        {"nested too deep", encode(deep)},
        {"larger than the limit", QByteArray(ReservationDesk::maximumBodySize + 1, 'a')},
    };
    for (const auto &hostile : bodies) {
        const ReservationReply reply = desk.handle(hostile.body, fixedNow());
        EXPECT_EQ(reply.code, ReservationCode::MalformedRequest) << hostile.what << ": " << reply.message.toStdString();
        EXPECT_TRUE(reply.message.startsWith(QStringLiteral("The request could not be read: "))) << hostile.what;
        EXPECT_EQ(XRReservationReply::fromBody(reply.toXml(), 200).code, 1) << hostile.what;
    }
    EXPECT_TRUE(book.all().isEmpty());
}

TEST(ReservationDesk, EarliestCollectionDateSkipsWeekends)
{
    // 2026-11-30 is a Monday.
    const struct { int today; int earliest; } days[] = {
        {30, 3},  // Monday: Thursday
        {2, 7},   // Wednesday: three days is Saturday, so Monday
        {3, 7},   // Thursday: three days is Sunday, so Monday
        {4, 7},   // Friday: Monday
        {5, 8},   // Saturday: Tuesday
        {6, 9},   // Sunday: Wednesday
    };
    for (const auto &day : days) {
        const QDate today(2026, day.today == 30 ? 11 : 12, day.today);
        EXPECT_EQ(ReservationDesk::earliestCollectionDate(today), QDate(2026, 12, day.earliest))
            << today.toString(Qt::ISODate).toStdString();
    }
}

TEST(ReservationBook, KeepsTheNewestThousandAndListsThemWithoutWholePersonalNumbers)
{
    ReservationBook book;
    AcceptedReservation reservation{};
    reservation.market = QStringLiteral("NO");
    reservation.personalNumber = QStringLiteral("01018012345");
    reservation.received = fixedNow();
    EXPECT_EQ(book.add(reservation).reference, QStringLiteral("NO-100001"));
    for (int i = 0; i < 1000; ++i)
        book.add(reservation);
    const QList<AcceptedReservation> kept = book.all();
    ASSERT_EQ(kept.size(), 1000);
    EXPECT_EQ(kept.first().reference, QStringLiteral("NO-100002"));
    EXPECT_EQ(kept.last().reference, QStringLiteral("NO-101001"));
    const QByteArray json = book.toJson();
    EXPECT_TRUE(json.contains("\"reference\": \"NO-101001\"")) << json.left(400).toStdString();
    EXPECT_TRUE(json.contains("\"personalNumber\": \"*******2345\"")) << json.left(400).toStdString();
    EXPECT_FALSE(json.contains("01018012345"));
}
