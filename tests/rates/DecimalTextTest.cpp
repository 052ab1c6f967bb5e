#include "XRDecimalText.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>

namespace {

// A comma-decimal locale, so that nothing here passes by accident of the C locale.
class DecimalTextTest : public testing::Test
{
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden)); }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
};

TEST_F(DecimalTextTest, ReadsTheLongestLeadingNumberWithAPoint)
{
    EXPECT_DOUBLE_EQ(xr::decimalFromText(u"8.5"), 8.5);
    EXPECT_DOUBLE_EQ(xr::decimalFromText(u"  \t-12.25kr"), -12.25);
    EXPECT_DOUBLE_EQ(xr::decimalFromText(u"+.5"), 0.5);
    EXPECT_DOUBLE_EQ(xr::decimalFromText(u"5."), 5.0);
    EXPECT_DOUBLE_EQ(xr::decimalFromText(u"1.5e2x"), 150.0);
    EXPECT_DOUBLE_EQ(xr::decimalFromText(u"2E-1"), 0.2);
    EXPECT_DOUBLE_EQ(xr::decimalFromText(u"7e"), 7.0) << "an exponent without digits is not read";
    EXPECT_DOUBLE_EQ(xr::decimalFromText(u"7e+"), 7.0);
    EXPECT_DOUBLE_EQ(xr::decimalFromText(u"8,50"), 8.0) << "a comma ends a rate";
    EXPECT_DOUBLE_EQ(xr::decimalFromText(u"12.5.3"), 12.5);
}

TEST_F(DecimalTextTest, TextWithoutANumberReadsAsZero)
{
    for (const char16_t *text : {u"", u"-", u".", u"+", u"abc", u"inf", u"nan", u" .e5", u"\u0661\u0662"})
        EXPECT_EQ(xr::decimalFromText(text), 0.0) << QString::fromUtf16(text).toStdString();
    EXPECT_DOUBLE_EQ(xr::decimalFromText(u"0x10"), 0.0) << "no hexadecimal numbers";
}

TEST_F(DecimalTextTest, AmountsAcceptACommaAndAreSinglePrecision)
{
    EXPECT_EQ(xr::amountFromText(u"12,5"), 12.5f);
    EXPECT_EQ(xr::amountFromText(u"12.5"), 12.5f);
    EXPECT_EQ(xr::amountFromText(u"12.5.3"), 12.5f);
    EXPECT_EQ(xr::amountFromText(u"12,5,3"), 12.5f);
    EXPECT_EQ(xr::amountFromText(u"1 000"), 1.0f);
    EXPECT_EQ(xr::amountFromText(u",5"), 0.5f);
    EXPECT_EQ(xr::amountFromText(u"kr"), 0.0f);
    // More than seven significant digits lose their last ones.
    EXPECT_EQ(double(xr::amountFromText(u"16777217")), 16777216.0);
    EXPECT_EQ(double(xr::amountFromText(u"1234567.891")), 1234567.875);
    EXPECT_TRUE(std::isinf(xr::amountFromText(u"1e39")));
}

TEST_F(DecimalTextTest, FixedDecimalsRoundLikeTheCLibraryWithAPoint)
{
    EXPECT_EQ(xr::fixedDecimals(850.0, 2), QStringLiteral("850.00"));
    EXPECT_EQ(xr::fixedDecimals(100.0 / 8.5, 2), QStringLiteral("11.76"));
    EXPECT_EQ(xr::fixedDecimals(0.125, 2), QStringLiteral("0.12")) << "an exact half goes to the even digit";
    EXPECT_EQ(xr::fixedDecimals(0.375, 2), QStringLiteral("0.38"));
    EXPECT_EQ(xr::fixedDecimals(2.675, 2), QStringLiteral("2.67")) << "2.675 is stored just below the half";
    EXPECT_EQ(xr::fixedDecimals(1234.5 / 100, 6), QStringLiteral("12.345000"));
    EXPECT_EQ(xr::fixedDecimals(-0.001, 2), QStringLiteral("-0.00"));

    // The C library itself as the judge (the test process runs in the C locale).
    const double infinity = std::numeric_limits<double>::infinity();
    const double values[] = {0.005, 0.015,    1.005,     2.5,     3.5,      1e-7,     123456789.125,
                             1e22,  1.7976931348623157e308, -2.345, 100.0 / 3, infinity, -infinity};
    for (const double value : values) {
        for (const int decimals : {0, 2, 6}) {
            char expected[400];
            std::snprintf(expected, sizeof expected, "%.*f", decimals, value);
            EXPECT_EQ(xr::fixedDecimals(value, decimals), QString::fromLatin1(expected)) << value;
        }
    }
}

} // namespace
