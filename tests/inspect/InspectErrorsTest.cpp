#include "InspectRunner.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Whatever the bytes, bad input ends with exit 1, nothing on standard output
// and exactly one printable line on standard error, naming the command.
TEST(InspectErrors, BadInputGivesExitOneAndOneLine)
{
    QTemporaryDir dir;
    const struct
    {
        const char *command;
        QByteArray bytes;
    } cases[] = {
        {"reply", "<html><body>Server Error<br></body></html>"},
        {"reply", "<!DOCTYPE Reply [<!ENTITY a \"x\">]><Reply><Code>0</Code>&a;</Reply>"},
        {"reply", QByteArray("\xff\xfe<\0R\0/\0>\0", 10)},
        {"reply", ""},
        {"rates", "<valutakurser>\n<timestamp>\xff\xfe\x01</timestamp></valutakurser>"},
        {"rates", "<?xml version=\"1.0\" encoding=\"no-such-encoding\"?><valutakurser/>"},
        {"rates", "<valutakurser a=\"1\" a=\"2\"/>"},
        {"branches", "<locations><location>\x1b[31m\n</locations>"},
        {"plist", "bplist00\n\x1b[2J\r\nnot really"},
        {"plist", "{ key = \"unterminated\n\n"},
        {"plist", "<plist><dict><key>a\n\x1b[31m</key></plist>"},
    };
    int index = 0;
    for (const auto &c : cases) {
        const QString path = dir.filePath(QString::number(index++));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.bytes);
        file.close();
        SCOPED_TRACE(testing::Message() << c.command << " " << c.bytes.toHex().constData());

        const xr::test::InspectOutcome run = xr::test::runInspector({QString::fromLatin1(c.command), path});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.out.isEmpty()) << run.out.constData();
        EXPECT_TRUE(run.err.startsWith("vaxlo-inspect " + QByteArray(c.command) + ": ")) << run.err.constData();
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.constData();
        EXPECT_TRUE(run.err.endsWith('\n')) << run.err.constData();
        const QByteArray line = run.err.chopped(1);
        EXPECT_TRUE(std::none_of(line.begin(), line.end(), [](char ch) { return ch >= 0 && ch < 0x20; }))
            << run.err.toHex().constData();
    }
}

} // namespace
