#include "InspectRunner.h"

#include <gtest/gtest.h>

namespace {

TEST(InspectProgramTest, HelpAndVersionGoToStandardOutputAndSucceed)
{
    for (const auto &[option, expected] : {std::pair{"--help", QByteArray("usage:\n  vaxlo-inspect ")},
                                           std::pair{"--version", QByteArray("vaxlo-inspect " XR_APP_VERSION "\n")}}) {
        SCOPED_TRACE(option);
        const xr::test::InspectOutcome run = xr::test::runInspector({QString::fromLatin1(option)});
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_TRUE(run.out.startsWith(expected)) << run.out.constData();
        EXPECT_TRUE(run.err.isEmpty()) << run.err.constData();
    }
}

} // namespace
