#include "XRApplication.h"
#include "XRLocalizedString.h"
#include "XRNotificationCenter.h"
#include "XRUserDefaults.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <vector>

namespace {

struct Observer
{
    int id;
};

TEST(NotificationCenter, DeliversInRegistrationOrderToTheNameAndNotToObserversRemovedDuringAPost)
{
    XRNotificationCenter center;
    Observer first{1}, second{2}, third{3};
    std::vector<int> calls;
    QVariant received;
    // The second removes itself and the third while the post is delivered.
    center.addObserver(&second, QStringLiteral("N"), [&](const XRNotification &n) {
        calls.push_back(2);
        received = n.object;
        center.removeObserver(&second);
        center.removeObserver(&third);
    });
    center.addObserver(&second, QStringLiteral("M"), [&](const XRNotification &) { calls.push_back(-2); });
    center.addObserver(&first, QStringLiteral("N"), [&](const XRNotification &) { calls.push_back(1); });
    center.addObserver(&third, QStringLiteral("N"), [&](const XRNotification &) { calls.push_back(3); });
    center.addObserver(&first, QStringLiteral("Other"), [&](const XRNotification &) { calls.push_back(-1); });

    center.postNotificationName(QStringLiteral("N"), QStringLiteral("SE.FX.101"));
    center.postNotificationName(QStringLiteral("N"));
    center.postNotificationName(QStringLiteral("M"));

    EXPECT_EQ(calls, (std::vector<int>{2, 1, 1}));
    EXPECT_EQ(received.toString(), QStringLiteral("SE.FX.101"));
    EXPECT_EQ(center.observerCount(QStringLiteral("N")), 1);
}

// Stored values surviving a restart are left to the launch tests, which restart.
TEST(UserDefaults, RegisteredValuesStandInAndDeviceLanguagesAreBareCodes)
{
    QTemporaryDir dir;
    XRUserDefaults defaults(dir.filePath(QStringLiteral("prefs/preferences.ini")));
    EXPECT_EQ(defaults.integerForKey(QStringLiteral("language")), 0);
    defaults.registerDefaults({{QStringLiteral("language"), 2}});
    EXPECT_EQ(defaults.integerForKey(QStringLiteral("language")), 2);
    const QStringList device = defaults.objectForKey(QStringLiteral("AppleLanguages")).toStringList();
    ASSERT_FALSE(device.isEmpty());
    for (const QString &code : device)
        EXPECT_FALSE(code.contains(QLatin1Char('-')) || code.contains(QLatin1Char('_'))) << code.toStdString();
}

TEST(LocalizedString, TranslatesByLanguageAndFallsBackToTheKey)
{
    ASSERT_TRUE(xr::installTranslations(QStringLiteral("sv")));
    EXPECT_EQ(XRLocalizedString("XRNetworkAlertTitle"), QStringLiteral("Ingen anslutning"));
    EXPECT_EQ(XRLocalizedString("No such key in any table"), QStringLiteral("No such key in any table"));
    // A language without a table of its own gets the English one.
    ASSERT_TRUE(xr::installTranslations(QStringLiteral("de")));
    EXPECT_EQ(XRLocalizedString("XRNetworkAlertTitle"), QStringLiteral("No connection"));
}

TEST(Application, OpensOnlyWhatItsHandlersCanOpen)
{
    XRApplication &application = XRApplication::sharedApplication();
    const QUrl call(QStringLiteral("tel:08-123%2045%2067"));
    application.setURLHandlers({}, {});
    EXPECT_FALSE(application.canOpenURL(call));
    EXPECT_FALSE(application.openURL(call));

    QList<QUrl> opened;
    application.setURLHandlers([&opened](const QUrl &url) { opened << url; return true; },
                               [](const QUrl &url) { return url.scheme() == QLatin1String("tel"); });
    EXPECT_TRUE(application.openURL(call));
    EXPECT_FALSE(application.openURL(QUrl(QStringLiteral("maps://nowhere"))));
    EXPECT_EQ(opened, QList<QUrl>{call});
    application.setURLHandlers({}, {});
}

} // namespace
