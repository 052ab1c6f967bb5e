// The main of every suite: widget suites are built with XR_TEST_GUI and run
// offscreen unless told otherwise; the others make no GUI application.

#include "TestEnvironment.h"

#include <gtest/gtest.h>

#ifdef XR_TEST_GUI
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char **argv)
{
    QTemporaryDir home;
    xr::test::pinEnvironment(home);
#ifdef XR_TEST_GUI
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    TestApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vaxlo-test"));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
