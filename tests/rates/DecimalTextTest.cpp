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

TEST_F(DecimalTextTest, RatesAndAmountsReadTheLongestLeadingNumber)
{
    // A rate reads "." as its only decimal mark; an amount "," as well, in single precision.
    const struct { const char16_t *text; double rate; float amount; } cases[] = {
        {u"8.5", 8.5, 8.5f},
        {u"  \t-12.25kr", -12.25, -12.25f},
        {u"+.5", 0.5, 0.5f},
        {u"1.5e2x", 150.0, 150.0f},
        {u"8,50", 8.0, 8.5f},
        {u"12.5.3", 12.5, 12.5f},
        {u",5", 0.0, 0.5f},
        {u"1234567.891", 1234567.891, 1234567.875f},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.text).toStdString());
        EXPECT_DOUBLE_EQ(xr::decimalFromText(c.text), c.rate);
        EXPECT_EQ(xr::amountFromText(c.text), c.amount);
    }
    for (const char16_t *text : {u"", u"-", u".", u"+", u"abc", u"inf", u"nan", u" .e5", u"\u0661\u0662"}) {
        EXPECT_EQ(xr::decimalFromText(text), 0.0) << QString::fromUtf16(text).toStdString();
        EXPECT_EQ(xr::amountFromText(text), 0.0f) << QString::fromUtf16(text).toStdString();
    }
    EXPECT_TRUE(std::isinf(xr::amountFromText(u"1e39")));
}

TEST_F(DecimalTextTest, FixedDecimalsRoundLikeTheCLibraryWithAPoint)
{
    // The C library itself as the judge (the test process runs in the C locale).
    const double infinity = std::numeric_limits<double>::infinity();
    const double values[] = {0.125, 0.005, 0.015,    1.005,     2.5,     2.675,    1e-7,     123456789.125, -0.001,
                             1e22,  1.7976931348623157e308, -2.345, 100.0 / 3, infinity, -infinity};
    for (const double value : values) {
        for (const int decimals : {0, 2, 6}) {
            char expected[400];
            std::snprintf(expected, sizeof expected, "%.*f", decimals, value);
            EXPECT_EQ(xr::fixedDecimals(value, decimals), QString::fromLatin1(expected)) << value;
        }
    }
}

TEST_F(DecimalTextTest, LocalizedDecimalsKeepTheDigitsInTheMarketsForm)
{
    const QLocale swedish(QLocale::Swedish, QLocale::Sweden);
    const QLocale danish(QLocale::Danish, QLocale::Denmark);
    const QLocale finnish(QLocale::Finnish, QLocale::Finland);
    const struct { const char *fixed; QLocale locale; const char16_t *shown; } cases[] = {
        {"1071.81", swedish, u"1\u00a0071,81"},
        {"1071.81", danish, u"1.071,81"},
        {"1233.00", finnish, u"1\u00a0233,00"},
        {"12345678901.50", swedish, u"12\u00a0345\u00a0678\u00a0901,50"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(xr::localizedDecimal(QString::fromLatin1(c.fixed), c.locale), QString::fromUtf16(c.shown))
            << c.fixed << " " << c.locale.name().toStdString();
}

TEST_F(DecimalTextTest, TheDecimalPadTakesDigitsAndOneMarkUpToTwelveCharacters)
{
    for (const char16_t *accepted : {u"", u"0", u"12,5", u"12.5", u",", u".5", u"5.", u"123456789012", u"12345678901,"})
        EXPECT_TRUE(xr::isDecimalPadText(accepted)) << QString::fromUtf16(accepted).toStdString();
    for (const char16_t *refused : {u"-5", u"+5", u"abc", u"1e5", u"12,5,3", u"12.5,3", u"1 000", u" 5", u"1234567890123",
                                    u"\u0661\u0662", u"\uff11", u"12\u00a0000"})
        EXPECT_FALSE(xr::isDecimalPadText(refused)) << QString::fromUtf16(refused).toStdString();
}

} // namespace
