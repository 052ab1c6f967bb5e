#include "InspectRunner.h"

#include <gtest/gtest.h>

namespace {

TEST(InspectProgramTest, HelpAndVersionGoToStandardOutputAndSucceed)
{
    const struct
    {
        const char *option;
        QByteArray expected;
    } cases[] = {
        {"--help", "usage:\n  vaxlo-inspect "},
        {"-h", "usage:\n  vaxlo-inspect "},
        {"--version", "vaxlo-inspect " XR_APP_VERSION "\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.option);
        const xr::test::InspectOutcome run = xr::test::runInspector({QString::fromLatin1(c.option)});
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_TRUE(run.out.startsWith(c.expected)) << run.out.constData();
        EXPECT_TRUE(run.err.isEmpty()) << run.err.constData();
    }
    // Without a command it is still a mistake, told on standard error.
    const xr::test::InspectOutcome bare = xr::test::runInspector({});
    EXPECT_EQ(bare.exitCode, 2);
    EXPECT_TRUE(bare.out.isEmpty());
    EXPECT_TRUE(bare.err.startsWith("usage:\n")) << bare.err.constData();
}

} // namespace
