#include "XRConfiguration.h"
#include "XRMarkets.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Each document's path is checked by its downloader's tests, which serve it.
TEST(Markets, IndexToMarketSendsEveryUnknownIndexToSweden)
{
    XRConfiguration c;
    c.marketHosts = {QStringLiteral("se.example:8081"), QStringLiteral("dk.example"), QStringLiteral("no.example"),
                     QStringLiteral("fi.example")};
    for (const auto &[index, host] : {std::pair{0, "se.example"}, {1, "dk.example"}, {2, "no.example"}, {3, "fi.example"},
                                      {4, "se.example"}, {-1, "se.example"}})
        EXPECT_EQ(xr::documentURL(c, index, XRMarketDocument::Rates).host(), QLatin1String(host)) << index;
}

TEST(Markets, DeviceLanguageMatchesWholeCodesOnly)
{
    const std::pair<const char *, std::optional<int>> cases[] = {
        {"sv", 0}, {"da", 1}, {"nb", 2}, {"fi", 3}, {"en", {}}, {"sv-SE", {}}, {"no", {}}, {"nn", {}}, {"SV", {}}, {"", {}}};
    for (const auto &[code, index] : cases)
        EXPECT_EQ(xr::languageIndexForDeviceLanguage(QString::fromLatin1(code)), index) << code;
}

TEST(Configuration, ReadsEveryKeyAndRejectsAFileWithoutMarkets)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("vaxlo.conf"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[markets]\nSE=127.0.0.1:8081\nDK=127.0.0.1:8082\nNO=127.0.0.1:8083\nFI=127.0.0.1:8084\n"
               "[reservation]\nhost=127.0.0.1:8085\nca=/tmp/ca.pem\n"
               "[maps]\ntiles=http://tiles.example/{z}/{x}/{y}.png\ndirections=maps.example\n"
               "[location]\nsource=nmea:/tmp/replay.nmea\n");
    file.close();
    QString error;
    const auto c = XRConfiguration::fromFile(path, &error);
    ASSERT_TRUE(c.has_value()) << error.toStdString();
    // The reservation desk, its authority and the position source are read in the customer's walk.
    EXPECT_EQ(c->marketHosts[2], QStringLiteral("127.0.0.1:8083"));
    EXPECT_EQ(c->tileURLTemplate, QStringLiteral("http://tiles.example/{z}/{x}/{y}.png"));
    EXPECT_EQ(c->directionsHost, QStringLiteral("maps.example"));

    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[markets]\nSE=127.0.0.1:8081\n");
    file.close();
    EXPECT_FALSE(XRConfiguration::fromFile(path, &error).has_value());
    EXPECT_TRUE(error.contains(QStringLiteral("DK")));
}

} // namespace
