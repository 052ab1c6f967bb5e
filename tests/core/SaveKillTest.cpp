#include "EventLoop.h"
#include "XRDataFiles.h"
#include "saver/SaveGenerations.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <random>

namespace {

// A real process saves both files again and again and is killed at a random
// moment, many times: afterwards each file holds the generation last reported
// saved or the one being written, whole.
TEST(SaveKill, EveryDataFileIsWholeAfterAKillAtAnyMoment)
{
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    std::mt19937 random(seed);
    QTemporaryDir dir;
    XRDataFiles files(dir.path());
    for (int round = 0; round < 25; ++round) {
        QProcess saver;
        saver.setStandardErrorFile(QProcess::nullDevice());
        saver.start(QStringLiteral(XR_SAVE_LOOP), {dir.path()});
        const int saves = std::uniform_int_distribution(1, 4)(random);
        QByteArray printed;
        ASSERT_TRUE(xr::test::waitUntil([&] { return (printed += saver.readAllStandardOutput()).count('\n') >= saves; }));
        saver.kill();
        ASSERT_TRUE(saver.waitForFinished(10000));
        const int lastSaved = (printed + saver.readAllStandardOutput()).trimmed().split('\n').last().toInt();
        for (const char *name : {"currency.vaxlodata", "settings.vaxlodata"}) {
            const QVariantMap saved = files.applicationPlistFromFile(QString::fromLatin1(name)).value_or(QVariant()).toMap();
            const int generation = saved.value(QStringLiteral("generation"), -1).toInt();
            EXPECT_TRUE(generation == lastSaved || generation == lastSaved + 1) << round << name << generation;
            EXPECT_EQ(saved, xr::test::savedGeneration(generation)) << round << name;
        }
    }
}

} // namespace
