#include "TestEnvironment.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    QTemporaryDir home;
    xr::test::pinEnvironment(home);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vaxlo-test"));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
