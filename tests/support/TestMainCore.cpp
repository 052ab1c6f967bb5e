#include "TestEnvironment.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    QTemporaryDir home;
    xr::test::pinEnvironment(home);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vaxlo-test"));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
