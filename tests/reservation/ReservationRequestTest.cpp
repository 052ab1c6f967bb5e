#include "XRReservationRequest.h"

#include <gtest/gtest.h>

namespace {

XRReservationRequest annaLind()
{
    XRReservationRequest request;
    request.langString = QStringLiteral("SE");
    request.currency = QStringLiteral("USD");
    request.ammount = QStringLiteral("649.00");
    request.personalID = QStringLiteral("197001011234");
    request.firstName = QStringLiteral("Anna");
    request.lastName = QStringLiteral("Lind");
    request.phone = QStringLiteral("0701234567");
    request.date = QStringLiteral("2011-05-06");
    request.branchID = QStringLiteral("12");
    request.paymentMethod = 1;
    return request;
}

TEST(ReservationRequestTest, SendsTwelveZerosWithoutAPersonalIdentityNumber)
{
    XRReservationRequest request = annaLind();
    for (const QString &none : {QString(), QStringLiteral("")}) {
        request.personalID = none;
        EXPECT_TRUE(request.text().contains(QLatin1String("<Number>000000000000</Number>")));
    }
    request.personalID = QStringLiteral("7001011234");
    EXPECT_TRUE(request.text().contains(QLatin1String("<Number>7001011234</Number>")));

    request.paymentMethod = 2;
    EXPECT_TRUE(request.text().contains(QLatin1String("<PaymentMethod>2</PaymentMethod>")));
}

TEST(ReservationRequestTest, EscapesAllFiveXMLSpecialCharacters)
{
    XRReservationRequest request = annaLind();
    request.lastName = QStringLiteral("\"Lind\" & 'Berg' <>");
    EXPECT_TRUE(request.text().contains(QLatin1String("<Last>&quot;Lind&quot; &amp; &apos;Berg&apos; &lt;&gt;</Last>")))
        << qPrintable(request.text());
}

TEST(ReservationRequestTest, PercentEncodesAllButWhatAUrlAllowsAndTheAngleBrackets)
{
    const QString kept = QStringLiteral("azAZ09-_.!~*'();/?:@&=$,<>");
    EXPECT_EQ(XRReservationRequest::percentEncoded(kept), kept.toLatin1());
    // "+" too: a form-decoding service would read it as a space.
    EXPECT_EQ(XRReservationRequest::percentEncoded(QStringLiteral(" \"#%{}|\\^[]`+")),
              "%20%22%23%25%7B%7D%7C%5C%5E%5B%5D%60%2B");
    EXPECT_EQ(XRReservationRequest::percentEncoded(QStringLiteral("\t\n\x7f")), "%09%0A%7F");
    EXPECT_EQ(XRReservationRequest::percentEncoded(QStringLiteral("å ö€") + QChar(0xD83D) + QChar(0xDE00)),
              "%C3%A5%20%C3%B6%E2%82%AC%F0%9F%98%80");
}

} // namespace
