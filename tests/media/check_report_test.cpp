#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "check_report.h"
#include "form_check_report.h"
#include "media_command_lines.h"
#include "media_test_support.h"

namespace {

using mediatest::RunLine;
using mediatest::Tool;

TEST(CheckReport, FaultsInWords)
{
    const std::pair<const char*, const char*> rows[] = {
        {"entry 0 (0:HELLO.TXT): record count 129 is over 128",
         "File HELLO.TXT of user 0 (directory entry 0): record count 129 is over 128."},
        {"block 7 is owned twice: by entry 0 (0:A.BIN) and by entry 3 (2:C.BIN)",
         "Block 7 is owned twice: by file A.BIN of user 0 (directory entry 0) and by file C.BIN of user 2 "
         "(directory entry 3)."},
        {"3:GAME.BAS: extent 1 is held twice (entries 4 and 5)",
         "File GAME.BAS of user 3: extent 1 is held twice (entries 4 and 5)."},
        {"partition entries 2 (\"A\") and 3 (\"B\") overlap", "Partition entries 2 (\"A\") and 3 (\"B\") overlap."},
    };
    for (const auto& [tool, words] : rows)
        EXPECT_EQ(FaultInWords(tool), QString::fromUtf8(words));
}

// The report of a sound medium, of one damaged by hand, and of a file that
// is no medium, each from the real tool's check.
class CheckReportOnMedia : public ::testing::Test
{
protected:
    void SetUp() override
    {
        image = dir.filePath("card.raw");
        NewImageLayout layout;
        layout.format = ImageFormat::Raw;
        layout.sizeBytes = 32 << 20;
        const QString hello = dir.filePath("hello.txt");
        QFile f(hello);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("hello\n");
        f.close();
        for (const QString& line :
             {CreateImageCommand(Tool(), image, layout),
              NewPartCommand(Tool(), image, "GAMES", 2, PartitionKind::Plus3Dos, QLatin1Char('C')),
              NewPartCommand(Tool(), image, "my swap", 1, PartitionKind::Swap),
              NewPartCommand(Tool(), image, "WORK", 1, PartitionKind::Plus3Dos),
              Tool() + " \"" + image + "\" put \"" + hello + "\" WORK:HELLO.TXT"}) {
            const mediatest::Run run = RunLine(line);
            ASSERT_EQ(run.code, 0) << line.toStdString() << run.err.toStdString();
        }
    }

    QStringList Report()
    {
        const mediatest::Run run = RunLine(CheckCommand(Tool(), image));
        return CheckReportLines(ParseCheckOutput(run.out, run.code, run.err));
    }

    // WORK's first directory entry (HELLO.TXT): the record count over 128
    // and its first block past the end of the partition.
    void Damage()
    {
        const mediatest::Run table = RunLine(Tool() + " \"" + image + "\" showptable -backend");
        const QStringList work = table.out.split("\r\n").filter(QRegularExpression("^WORK,")).value(0).split(',');
        ASSERT_EQ(work.size(), 10) << table.out.toStdString();
        const qint64 directory = work[7].toLongLong() * 512;
        QFile f(image);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.seek(directory + 15);
        f.write(QByteArray("\x81\x00\x04", 3));
    }

    QTemporaryDir dir;
    QString image;
};

TEST_F(CheckReportOnMedia, SoundDamagedAndUnreadable)
{
    const QStringList sound{"No faults found.", "",   "Partition table", "    No faults found.", "", "GAMES",
                            "    No faults found.", "", "WORK", "    No faults found."};
    EXPECT_EQ(Report(), sound);

    Damage();
    const QStringList damaged{"2 faults found.",
                              "",
                              "Partition table",
                              "    No faults found.",
                              "",
                              "GAMES",
                              "    No faults found.",
                              "",
                              "WORK",
                              "    File HELLO.TXT of user 0 (directory entry 0): record count 129 is over 128.",
                              "    File HELLO.TXT of user 0 (directory entry 0): block 1024 lies past the last "
                              "block 511."};
    EXPECT_EQ(Report(), damaged);
    TFormCheckReport window(image, ParseCheckOutput(RunLine(CheckCommand(Tool(), image)).out, 3, ""));
    EXPECT_EQ(window.text(), damaged.join('\n'));

    QFile junk(image);
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly | QIODevice::Truncate));
    junk.write("not a disk");
    junk.close();
    const QStringList unreadable = Report();
    ASSERT_EQ(unreadable.size(), 1);
    EXPECT_TRUE(unreadable[0].startsWith("The medium could not be checked: not an IDEDOS medium"))
        << unreadable[0].toStdString();
}

} // namespace
