#include "RecordingShell.h"
#include "XRAppDelegate.h"
#include "XRLocalizedString.h"
#include "XRNotificationCenter.h"
#include "XRUserDefaults.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

class AppDelegateTest : public testing::Test
{
protected:
    void SetUp() override
    {
        QDir(documents()).removeRecursively();
        XRUserDefaults::resetStandardUserDefaults();
        QFile::remove(XRUserDefaults::standardUserDefaults().filePath());
        XRUserDefaults::resetStandardUserDefaults();
        xr::installTranslations(QStringLiteral("en"));
    }
    void TearDown() override { XRUserDefaults::resetStandardUserDefaults(); }

    static QString documents() { return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation); }
    static void setDeviceLanguage(const QString &code)
    {
        XRUserDefaults::standardUserDefaults().setObject(QStringList{code, QStringLiteral("en")},
                                                         QStringLiteral("AppleLanguages"));
    }
    // A new process: preferences read again from storage.
    static void restart() { XRUserDefaults::resetStandardUserDefaults(); }

    XRConfiguration configuration;
    xr::test::RecordingShell shell;
};

TEST_F(AppDelegateTest, FirstLaunchStoresOnlyAKnownDeviceLanguageAndLaterLaunchesKeepIt)
{
    // Unknown ones are detected again at the next launch.
    for (const char *code : {"en", "sv-SE", "no"}) {
        SetUp();
        setDeviceLanguage(QString::fromLatin1(code));
        XRAppDelegate(configuration, &shell).applicationDidFinishLaunching();
        restart();
        EXPECT_FALSE(XRUserDefaults::standardUserDefaults().objectForKey(QStringLiteral("language")).isValid()) << code;
    }

    SetUp();
    setDeviceLanguage(QStringLiteral("da"));
    XRAppDelegate(configuration, &shell).applicationDidFinishLaunching();
    restart();
    EXPECT_EQ(XRUserDefaults::standardUserDefaults().objectForKey(QStringLiteral("language")).toInt(), 1);
    setDeviceLanguage(QStringLiteral("fi"));
    XRAppDelegate(configuration, &shell).applicationDidFinishLaunching();
    restart();
    EXPECT_EQ(XRUserDefaults::standardUserDefaults().integerForKey(QStringLiteral("language")), 1);
}

TEST_F(AppDelegateTest, LaunchShowsTheWindowAndLoadsTheDataFiles)
{
    // Currency file present, settings file absent.
    {
        XRAppDelegate writer(configuration);
        writer.currencyDict().insert(QStringLiteral("transType"), QStringLiteral("sell"));
        writer.storeCurrency();
    }
    XRAppDelegate delegate(configuration, &shell);
    delegate.applicationDidFinishLaunching();
    EXPECT_TRUE(shell.visible);
    EXPECT_EQ(shell.statusBarStyle, 2);
    EXPECT_TRUE(delegate.settingsDict().isEmpty());
    EXPECT_EQ(delegate.currencyDict().value(QStringLiteral("transType")).toString(), QStringLiteral("sell"));
    EXPECT_FALSE(QFile::exists(documents() + QStringLiteral("/settings.vaxlodata")));

    delegate.settingsDict().insert(QStringLiteral("storesDict"), QVariantMap{{QStringLiteral("stores"), QVariantList{}}});
    delegate.applicationDidEnterBackground();
    EXPECT_TRUE(QFile::exists(documents() + QStringLiteral("/settings.vaxlodata")));

    XRAppDelegate relaunched(configuration, &shell);
    relaunched.applicationDidFinishLaunching();
    EXPECT_TRUE(relaunched.settingsDict().contains(QStringLiteral("storesDict")));
}

TEST_F(AppDelegateTest, OneLoadingSplashAndANetworkAlertAtMostOncePerMinute)
{
    XRAppDelegate delegate(configuration, &shell);
    delegate.applicationDidFinishLaunching();
    QDateTime now = QDateTime(QDate(2026, 12, 6), QTime(12, 0), Qt::UTC);
    delegate.setClock([&now] { return now; });
    delegate.dismissLoadingSplash();
    EXPECT_EQ(shell.splashRemovals, 0);
    delegate.displayLoadingSplash();
    delegate.displayLoadingSplash();
    EXPECT_EQ(shell.splashShows, 1);
    EXPECT_EQ(shell.lastSplashFrame, QRect(80, 200, 160, 75));

    delegate.showNetworkErrorAlert();
    ASSERT_EQ(shell.alerts.size(), 1);
    EXPECT_EQ(shell.alerts[0].title, QStringLiteral("No connection"));
    EXPECT_EQ(shell.alerts[0].cancelButtonTitle, QStringLiteral("OK"));
    EXPECT_FALSE(shell.splashShown);
    EXPECT_FALSE(delegate.isLoadingSplashShown());

    now = now.addSecs(10);
    delegate.displayLoadingSplash();
    delegate.showNetworkErrorAlert();
    EXPECT_EQ(shell.alerts.size(), 1);
    EXPECT_FALSE(shell.splashShown) << "the splash goes even when no alert is shown";

    now = now.addSecs(50); // exactly 60 s after the first alert
    delegate.showNetworkErrorAlert();
    EXPECT_EQ(shell.alerts.size(), 1);
    now = now.addSecs(1);
    delegate.showNetworkErrorAlert();
    EXPECT_EQ(shell.alerts.size(), 2);
}

} // namespace
