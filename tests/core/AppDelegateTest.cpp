#include "RecordingShell.h"
#include "XRAppDelegate.h"
#include "XRLocalizedString.h"
#include "XRNotificationCenter.h"
#include "XRUserDefaults.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

class AppDelegateTest : public testing::Test
{
protected:
    void SetUp() override
    {
        XRUserDefaults::resetStandardUserDefaults();
        QFile::remove(XRUserDefaults::standardUserDefaults().filePath());
        XRUserDefaults::resetStandardUserDefaults();
        xr::installTranslations(QStringLiteral("en"));
    }
    void TearDown() override { XRUserDefaults::resetStandardUserDefaults(); }

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
    // An unknown one is detected again at the next launch.
    setDeviceLanguage(QStringLiteral("sv-SE"));
    XRAppDelegate(configuration, &shell).applicationDidFinishLaunching();
    restart();
    EXPECT_FALSE(XRUserDefaults::standardUserDefaults().objectForKey(QStringLiteral("language")).isValid());

    setDeviceLanguage(QStringLiteral("da"));
    XRAppDelegate(configuration, &shell).applicationDidFinishLaunching();
    restart();
    EXPECT_EQ(XRUserDefaults::standardUserDefaults().objectForKey(QStringLiteral("language")).toInt(), 1);
    setDeviceLanguage(QStringLiteral("fi"));
    XRAppDelegate(configuration, &shell).applicationDidFinishLaunching();
    restart();
    EXPECT_EQ(XRUserDefaults::standardUserDefaults().integerForKey(QStringLiteral("language")), 1);
}

TEST_F(AppDelegateTest, OneLoadingSplashAndANetworkAlertAtMostOncePerMinute)
{
    XRAppDelegate delegate(configuration, &shell);
    delegate.applicationDidFinishLaunching();
    QDateTime now = QDateTime(QDate(2026, 12, 6), QTime(12, 0), Qt::UTC);
    delegate.setClock([&now] { return now; });
    delegate.displayLoadingSplash();
    delegate.displayLoadingSplash();
    EXPECT_EQ(shell.splashShows, 1);
    EXPECT_EQ(shell.lastSplashFrame, QRect(80, 200, 160, 75));

    delegate.showNetworkErrorAlert();
    ASSERT_EQ(shell.alerts.size(), 1);
    EXPECT_EQ(shell.alerts[0].title, QStringLiteral("No connection"));
    EXPECT_EQ(shell.alerts[0].cancelButtonTitle, QStringLiteral("OK"));
    EXPECT_FALSE(shell.splashShown);

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
