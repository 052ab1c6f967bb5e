#include "DemoTestHelpers.h"
#include "PercentDecoding.h"
#include "ReservationBook.h"
#include "ReservationDesk.h"

#include <functional>

#include <gtest/gtest.h>

using namespace xr::demo;
using namespace xr::demo::test;

namespace {

class ReservationDeskTest : public ::testing::Test
{
protected:
    ReservationReply send(const Submission &submission) { return desk.handle(submission.body(), fixedNow()); }
    ReservationReply sendXml(const QString &xml) { return desk.handle(encodeLikeTheApplication(xml), fixedNow()); }

    ReservationBook book;
    ReservationDesk desk{book};
};

struct Case
{
    const char *what;
    std::function<void(Submission &)> change;
    ReservationCode expected;
};

} // namespace

TEST(PercentDecoding, UndoesTheApplicationsEncoding)
{
    const QString text = QStringLiteral("<First>Åsa Öberg-Nyström & \"Co\" 100%#{}|^[]`\\ +;/?:@=$,'()*!~</First>");
    const std::optional<QByteArray> decoded = PercentDecoding::decode(encodeLikeTheApplication(text));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(QString::fromUtf8(*decoded), text);
    EXPECT_EQ(PercentDecoding::decode("a+b%2b%2B"), QByteArray("a+b++")) << "a plus sign is never a space here";
}

TEST(PercentDecoding, RefusesBrokenEscapesAndRawCharactersTheEncodingEscapes)
{
    for (const QByteArray &bad : {QByteArray("%"), QByteArray("abc%4"), QByteArray("%G0"), QByteArray("%%41"),
                                  QByteArray("<a> </a>"), QByteArray("\"quoted\""), QByteArray("line\nbreak"),
                                  QByteArray("\xc3\xa5"), QByteArray("nul\0byte", 8)})
        EXPECT_FALSE(PercentDecoding::decode(bad)) << bad.toStdString();
    EXPECT_EQ(PercentDecoding::decode(QByteArray()), QByteArray());
}

TEST_F(ReservationDeskTest, AcceptsTheApplicationsRequestAndBooksIt)
{
    const ReservationReply reply = send(Submission());
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
    EXPECT_EQ(send(Submission()).reference, QStringLiteral("SE-100002"));
}

TEST_F(ReservationDeskTest, AcceptsTheEdgesOfEveryRuleAndRefusesEachBadFieldWithItsOwnCode)
{
    const Case cases[] = {
        {"Finland without a personal identity number",
         [](Submission &s) { s.market = "FI"; s.branch = "401"; s.amount = "100.00"; s.number = "000000000000"; },
         ReservationCode::Accepted},
        {"the smallest amount", [](Submission &s) { s.amount = "100"; }, ReservationCode::Accepted},
        {"the largest amount", [](Submission &s) { s.amount = "50000.00"; }, ReservationCode::Accepted},
        {"the Monday after a weekend", [](Submission &s) { s.fetchAt = "2026-12-07"; }, ReservationCode::Accepted},
        {"a date months ahead", [](Submission &s) { s.fetchAt = "2027-03-01"; }, ReservationCode::Accepted},
        {"ten digits", [](Submission &s) { s.number = "8001011234"; }, ReservationCode::Accepted},
        {"eleven digits", [](Submission &s) { s.number = "01018012345"; }, ReservationCode::Accepted},
        {"cash in another currency", [](Submission &s) { s.payment = "2"; }, ReservationCode::Accepted},
        {"card", [](Submission &s) { s.payment = "0"; }, ReservationCode::Accepted},
        {"Danish store and currency", [](Submission &s) { s.market = "DK"; s.branch = "201"; s.currency = "KWD"; },
         ReservationCode::Accepted},
        {"an escaped ampersand in a name", [](Submission &s) { s.last = "Berg &amp; Son"; }, ReservationCode::Accepted},
        {"a name as CDATA", [](Submission &s) { s.first = "<![CDATA[Åsa]]>"; }, ReservationCode::Accepted},
        // Each bad field is refused with its own code.
        {"wrong secret", [](Submission &s) { s.secret = "Xk4pQ9wRt2LmZb8"; }, ReservationCode::NotAuthorised},
        {"secret cut short", [](Submission &s) { s.secret = "Xk4pQ9wRt2LmZb"; }, ReservationCode::NotAuthorised},
        {"empty secret", [](Submission &s) { s.secret = ""; }, ReservationCode::NotAuthorised},
        {"wrong client", [](Submission &s) { s.clientId = "someone"; }, ReservationCode::NotAuthorised},
        {"unknown market", [](Submission &s) { s.market = "XX"; }, ReservationCode::UnknownMarket},
        {"market in lower case", [](Submission &s) { s.market = "se"; }, ReservationCode::UnknownMarket},
        {"currency of another market", [](Submission &s) { s.currency = "KWD"; }, ReservationCode::UnknownCurrency},
        {"the base currency", [](Submission &s) { s.currency = "SEK"; }, ReservationCode::UnknownCurrency},
        {"currency in lower case", [](Submission &s) { s.currency = "usd"; }, ReservationCode::UnknownCurrency},
        {"euro in Finland", [](Submission &s) { s.market = "FI"; s.branch = "401"; s.currency = "EUR"; },
         ReservationCode::UnknownCurrency},
        {"nothing to pay", [](Submission &s) { s.amount = "0.00"; }, ReservationCode::InvalidAmount},
        {"below the smallest", [](Submission &s) { s.amount = "99.99"; }, ReservationCode::InvalidAmount},
        {"above the largest", [](Submission &s) { s.amount = "50000.01"; }, ReservationCode::InvalidAmount},
        {"decimal comma", [](Submission &s) { s.amount = "1105,00"; }, ReservationCode::InvalidAmount},
        {"thousands separator", [](Submission &s) { s.amount = "1,105.00"; }, ReservationCode::InvalidAmount},
        {"three decimals", [](Submission &s) { s.amount = "1105.000"; }, ReservationCode::InvalidAmount},
        {"negative", [](Submission &s) { s.amount = "-500"; }, ReservationCode::InvalidAmount},
        {"no amount", [](Submission &s) { s.amount = ""; }, ReservationCode::InvalidAmount},
        {"store of another market", [](Submission &s) { s.branch = "201"; }, ReservationCode::UnknownBranch},
        {"whole store id", [](Submission &s) { s.branch = "SE.FX.104"; }, ReservationCode::UnknownBranch},
        {"no store", [](Submission &s) { s.branch = ""; }, ReservationCode::UnknownBranch},
        {"huge store number", [](Submission &s) { s.branch = "99999999999999999999"; }, ReservationCode::UnknownBranch},
        {"two days ahead", [](Submission &s) { s.fetchAt = "2026-12-02"; }, ReservationCode::InvalidDate},
        {"in the past", [](Submission &s) { s.fetchAt = "2025-12-03"; }, ReservationCode::InvalidDate},
        {"a Saturday", [](Submission &s) { s.fetchAt = "2026-12-05"; }, ReservationCode::InvalidDate},
        {"a Sunday", [](Submission &s) { s.fetchAt = "2026-12-06"; }, ReservationCode::InvalidDate},
        {"no such day", [](Submission &s) { s.fetchAt = "2026-12-32"; }, ReservationCode::InvalidDate},
        {"another date form", [](Submission &s) { s.fetchAt = "3.12.2026"; }, ReservationCode::InvalidDate},
        {"twelve zeros outside Finland", [](Submission &s) { s.number = "000000000000"; },
         ReservationCode::InvalidPersonalNumber},
        {"nine digits", [](Submission &s) { s.number = "123456789"; }, ReservationCode::InvalidPersonalNumber},
        {"thirteen digits", [](Submission &s) { s.number = "1234567890123"; }, ReservationCode::InvalidPersonalNumber},
        {"with a hyphen", [](Submission &s) { s.number = "19800101-1234"; }, ReservationCode::InvalidPersonalNumber},
        {"no first name", [](Submission &s) { s.first = ""; }, ReservationCode::InvalidCustomer},
        {"blank last name", [](Submission &s) { s.last = "   "; }, ReservationCode::InvalidCustomer},
        {"endless name", [](Submission &s) { s.last = QString(61, QLatin1Char('x')); }, ReservationCode::InvalidCustomer},
        {"telephone with a space", [](Submission &s) { s.tele = "070 1234567"; }, ReservationCode::InvalidCustomer},
        {"telephone with a plus", [](Submission &s) { s.tele = "+46701234567"; }, ReservationCode::InvalidCustomer},
        {"payment method 3", [](Submission &s) { s.payment = "3"; }, ReservationCode::InvalidPaymentMethod},
        {"payment method -1", [](Submission &s) { s.payment = "-1"; }, ReservationCode::InvalidPaymentMethod},
        {"no payment method", [](Submission &s) { s.payment = ""; }, ReservationCode::InvalidPaymentMethod},
    };
    qsizetype accepted = 0;
    for (const Case &c : cases) {
        Submission submission;
        c.change(submission);
        const ReservationReply reply = send(submission);
        EXPECT_EQ(reply.code, c.expected) << c.what << ": " << reply.message.toStdString();
        EXPECT_FALSE(reply.message.isEmpty()) << c.what;
        EXPECT_EQ(reply.reference.isEmpty(), c.expected != ReservationCode::Accepted) << c.what;
        accepted += c.expected == ReservationCode::Accepted;
    }
    ASSERT_EQ(accepted, 12);
    EXPECT_EQ(book.all().size(), accepted) << "only what is accepted is booked";
    EXPECT_EQ(book.all()[10].lastName, QStringLiteral("Berg & Son"));
    EXPECT_EQ(book.all()[11].firstName, QStringLiteral("Åsa"));
}

TEST_F(ReservationDeskTest, RefusalsSpeakTheMarketsLanguageAndSayWhatToDo)
{
    Submission danish;
    danish.market = QStringLiteral("DK");
    danish.branch = QStringLiteral("201");
    danish.fetchAt = QStringLiteral("2026-12-05");
    const ReservationReply date = send(danish);
    EXPECT_EQ(date.code, ReservationCode::InvalidDate);
    EXPECT_EQ(date.market, QStringLiteral("DK"));
    EXPECT_TRUE(date.message.contains(QStringLiteral("tidligst 2026-12-03"))) << date.message.toStdString();

    Submission finnish;
    finnish.market = QStringLiteral("FI");
    finnish.branch = QStringLiteral("401");
    finnish.amount = QStringLiteral("9000.00");
    const ReservationReply amount = send(finnish);
    EXPECT_EQ(amount.code, ReservationCode::InvalidAmount);
    EXPECT_TRUE(amount.message.contains(QStringLiteral("10–5000 EUR"))) << amount.message.toStdString();

    Submission unknown;
    unknown.market = QStringLiteral("<b>&amp;</b>");
    const ReservationReply market = send(unknown);
    EXPECT_EQ(market.code, ReservationCode::UnknownMarket);
    EXPECT_TRUE(market.market.isEmpty());
    const XmlDocument reply(market.toXml());
    ASSERT_TRUE(reply.wellFormed()) << "an echoed value is escaped";
    EXPECT_EQ(childText(reply.root(), "Message"), QStringLiteral("Unknown market \"&\"."));
}

TEST_F(ReservationDeskTest, NamesTheMissingElementsAndRefusesAVersionItDoesNotSpeak)
{
    QString xml = Submission().xml();
    xml.remove(QStringLiteral("<Tele>0701234567</Tele>"));
    xml.remove(QStringLiteral("<Version><Major>1</Major><Minor>0</Minor></Version>"));
    const ReservationReply reply = sendXml(xml);
    EXPECT_EQ(reply.code, ReservationCode::MissingElement);
    EXPECT_TRUE(reply.message.contains(QStringLiteral("Version/Major, Customer/Tele"))) << reply.message.toStdString();

    EXPECT_EQ(sendXml(Submission().xml().remove(QStringLiteral("<Items>")).remove(QStringLiteral("</Items>"))).code,
              ReservationCode::MissingElement) << "elements are found by their path";
    EXPECT_EQ(sendXml(Submission().xml().replace(QStringLiteral("<Major>1</Major>"), QStringLiteral("<Major>2</Major>"))).code,
              ReservationCode::UnsupportedVersion);
}

TEST_F(ReservationDeskTest, AnswersEveryHostileBodyWithAMalformedRequest)
{
    const QString billionLaughs = QStringLiteral(
        "<!DOCTYPE Submit [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
        "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\"><!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">"
        "<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\"><!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\">"
        "<!ENTITY g \"&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;\"><!ENTITY h \"&g;&g;&g;&g;&g;&g;&g;&g;&g;&g;\">]>");
    QString laughs = Submission().xml();
    laughs.replace(QStringLiteral("<First>Åsa</First>"), QStringLiteral("<First>&h;</First>"));
    QString external = Submission().xml();
    external.replace(QStringLiteral("<First>Åsa</First>"), QStringLiteral("<First>&x;</First>"));
    QString undeclared = external;
    QString unescaped = Submission().xml();
    unescaped.replace(QStringLiteral("Berg"), QStringLiteral("Berg & Son"));
    const QString deep = QString(QStringLiteral("<a>")).repeated(5000) + QString(QStringLiteral("</a>")).repeated(5000);

    const struct { const char *what; QByteArray body; } bodies[] = {
        {"empty", QByteArray()},
        {"blank", encodeLikeTheApplication(QStringLiteral("   "))},
        {"raw XML with spaces", Submission().xml().toUtf8()},
        {"broken escape", "%3CSubmit%3"},
        {"not XML", encodeLikeTheApplication(QStringLiteral("reserve 100 USD please"))},
        {"truncated", encodeLikeTheApplication(Submission().xml().left(200))},
        {"another root", encodeLikeTheApplication(QStringLiteral("<Order><Code>0</Code></Order>"))},
        {"entity expansion", encodeLikeTheApplication(billionLaughs + laughs)},
        {"external entity", encodeLikeTheApplication(
             QStringLiteral("<!DOCTYPE Submit [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>") + external)},
        {"undeclared entity", encodeLikeTheApplication(undeclared)},
        {"unescaped ampersand", encodeLikeTheApplication(unescaped)},
        {"not UTF-8 once decoded", encodeLikeTheApplication(QStringLiteral("<Submit>")) + "%FF%FE"
                                       + encodeLikeTheApplication(QStringLiteral("</Submit>"))},
        {"nul byte", encodeLikeTheApplication(QStringLiteral("<Submit>")) + "%00"
                         + encodeLikeTheApplication(QStringLiteral("</Submit>"))},
        {"nested too deep", encodeLikeTheApplication(deep)},
        {"larger than the limit", QByteArray(ReservationDesk::maximumBodySize + 1, 'a')},
    };
    for (const auto &hostile : bodies) {
        const ReservationReply reply = desk.handle(hostile.body, fixedNow());
        EXPECT_EQ(reply.code, ReservationCode::MalformedRequest) << hostile.what << ": " << reply.message.toStdString();
        EXPECT_TRUE(reply.message.startsWith(QStringLiteral("The request could not be read: "))) << hostile.what;
        EXPECT_TRUE(XmlDocument(reply.toXml()).wellFormed()) << hostile.what;
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

TEST(ReservationReply, IsADocumentWithCodeMessageAndMarket)
{
    const XmlDocument reply(ReservationReply{ReservationCode::UnknownBranch, QStringLiteral("Ingen <butik>"),
                                             QStringLiteral("SE"), QString()}.toXml());
    ASSERT_TRUE(reply.wellFormed());
    EXPECT_EQ(childText(reply.root(), "Code"), QStringLiteral("8"));
    EXPECT_EQ(childText(reply.root(), "Message"), QStringLiteral("Ingen <butik>"));
    EXPECT_EQ(childText(reply.root(), "Market"), QStringLiteral("SE"));
    EXPECT_TRUE(childText(reply.root(), "Reference").isNull());
}

TEST(ReservationBook, ListsReservationsAsJsonWithoutWholePersonalNumbers)
{
    ReservationBook book;
    AcceptedReservation reservation{};
    reservation.market = QStringLiteral("NO");
    reservation.personalNumber = QStringLiteral("01018012345");
    reservation.received = fixedNow();
    EXPECT_EQ(book.add(reservation).reference, QStringLiteral("NO-100001"));
    const QByteArray json = book.toJson();
    EXPECT_TRUE(json.contains("\"reference\": \"NO-100001\"")) << json.toStdString();
    EXPECT_TRUE(json.contains("\"personalNumber\": \"*******2345\"")) << json.toStdString();
    EXPECT_FALSE(json.contains("01018012345"));
}

TEST(ReservationBook, KeepsTheNewestThousand)
{
    ReservationBook book;
    AcceptedReservation reservation{};
    reservation.market = QStringLiteral("SE");
    for (int i = 0; i < 1001; ++i)
        book.add(reservation);
    const QList<AcceptedReservation> kept = book.all();
    ASSERT_EQ(kept.size(), 1000);
    EXPECT_EQ(kept.first().reference, QStringLiteral("SE-100002"));
    EXPECT_EQ(kept.last().reference, QStringLiteral("SE-101001"));
}
