#include "EventLoop.h"
#include "XRDataFiles.h"
#include "saver/SaveGenerations.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <random>

namespace {

// The generation a data file holds, checked to be whole; -1 when it is not.
int wholeGeneration(XRDataFiles &files, const QString &name)
{
    const std::optional<QVariant> read = files.applicationPlistFromFile(name);
    if (!read)
        return -1;
    const QVariantMap map = read->toMap();
    const bool settings = name == QLatin1String("settings.vaxlodata");
    const int n = settings ? map.value(QStringLiteral("storesDict")).toMap().value(QStringLiteral("generation")).toInt()
                           : map.value(QStringLiteral("amount")).toInt();
    const QVariantMap expected = settings ? xr::test::settingsGeneration(n) : xr::test::currencyGeneration(n);
    return map == expected ? n : -1;
}

// A real process saves both files again and again and is killed at a random
// moment, many times: afterwards each file holds the last generation it
// reported saved, or the one it was writing, never anything broken.
TEST(SaveKill, EveryDataFileIsWholeAfterAKillAtAnyMoment)
{
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    std::mt19937 random(seed);
    QTemporaryDir dir;
    XRDataFiles files(dir.path());
    int leftTemporaryFiles = 0;
    for (int round = 0; round < 25; ++round) {
        SCOPED_TRACE(round);
        QProcess saver;
        saver.setProcessChannelMode(QProcess::SeparateChannels);
        saver.setStandardErrorFile(QProcess::nullDevice());
        saver.start(QStringLiteral(XR_SAVE_LOOP), {dir.path()});
        const int saves = std::uniform_int_distribution(1, 4)(random);
        QByteArray printed;
        ASSERT_TRUE(xr::test::waitUntil([&] {
            printed += saver.readAllStandardOutput();
            return printed.count('\n') >= saves;
        }));
        saver.kill();
        ASSERT_TRUE(saver.waitForFinished(10000));
        // Lines printed after the count was reached count too.
        printed += saver.readAllStandardOutput();
        const int lastSaved = printed.trimmed().split('\n').last().toInt();

        for (const char *name : {"currency.vaxlodata", "settings.vaxlodata"}) {
            const int generation = wholeGeneration(files, QString::fromLatin1(name));
            EXPECT_TRUE(generation == lastSaved || generation == lastSaved + 1) << name << " " << generation;
        }
        leftTemporaryFiles += int(QDir(dir.path()).entryList(QDir::Files).size()) - 2;
    }
    // How often the kill landed inside a save: each leaves its temporary file behind.
    RecordProperty("leftTemporaryFiles", leftTemporaryFiles);
}

} // namespace
