#include <gtest/gtest.h>

#include "command_line.h"
#include "media_command_lines.h"
#include "media_rules.h"
#include "media_test_support.h"

#include <QTemporaryDir>

namespace {

const QString T = QStringLiteral("/opt/3e/3E.EXE");
const QString M = QStringLiteral("/img/a.hdf");

NewImageLayout BySize(qint64 bytes, ImageFormat format = ImageFormat::Hdf11, bool halved = false)
{
    NewImageLayout l;
    l.format = format;
    l.halved = halved;
    l.sizeBytes = bytes;
    return l;
}

TEST(MediaCommandLines, ExactTextOfEveryCommand)
{
    NewImageLayout chs;
    chs.format = ImageFormat::Hdf10;
    chs.halved = true;
    chs.geometry = {10, 2, 32};
    const std::pair<QString, const char*> rows[] = {
        {CreateImageCommand(T, M, BySize(qint64(8) << 30)), R"(/opt/3e/3E.EXE "/img/a.hdf" create --size 8G)"},
        {CreateImageCommand(T, M, BySize(qint64(96) << 20, ImageFormat::Raw, true)),
         R"(/opt/3e/3E.EXE "/img/a.hdf" create --size 96M --halved --raw)"},
        {CreateImageCommand(T, M, BySize(1536 * 1024)), R"(/opt/3e/3E.EXE "/img/a.hdf" create --size 1536K)"},
        {CreateImageCommand(T, M, chs),
         R"(/opt/3e/3E.EXE "/img/a.hdf" create --cyl 10 --heads 2 --spt 32 --halved --hdf10)"},
        {NewPartCommand(T, M, "GAMES", 16, PartitionKind::Plus3Dos),
         R"(/opt/3e/3E.EXE "/img/a.hdf" newpart "GAMES" 16M --type plus3dos)"},
        {NewPartCommand(T, M, "my swap", 2, PartitionKind::Swap),
         R"(/opt/3e/3E.EXE "/img/a.hdf" newpart "my swap" 2M --type swap)"},
        {NewPartCommand(T, M, "W", 1, PartitionKind::Plus3Dos, QLatin1Char('c')),
         R"(/opt/3e/3E.EXE "/img/a.hdf" newpart "W" 1M --type plus3dos --drive C)"},
        {DelPartCommand(T, M, "GAMES"), R"(/opt/3e/3E.EXE "/img/a.hdf" delpart "GAMES")"},
        {RenPartCommand(T, M, "GAMES", "OLD GAMES"), R"(/opt/3e/3E.EXE "/img/a.hdf" renpart "GAMES" "OLD GAMES")"},
        {DriveCommand(T, M, "GAMES", QLatin1Char('p')), R"(/opt/3e/3E.EXE "/img/a.hdf" drive "GAMES" P)"},
        {DriveCommand(T, M, "GAMES", QChar()), R"(/opt/3e/3E.EXE "/img/a.hdf" drive "GAMES" -)"},
        {EmptyCommand(T, M, "GAMES"), R"(/opt/3e/3E.EXE "/img/a.hdf" empty "GAMES")"},
        {CheckCommand(T, M), R"(/opt/3e/3E.EXE "/img/a.hdf" check)"},
    };
    for (const auto& [built, expected] : rows)
        EXPECT_EQ(built, QString::fromUtf8(expected));
}

// Names with blanks and quotes (found on media made elsewhere) reach the
// tool unchanged.
TEST(MediaCommandLines, ArgumentsTheToolReceives)
{
    EXPECT_EQ(SplitCommandLine(RenPartCommand(T, "/my cards/a.hdf", "ODD \"ONE\" ", "NEW  ")),
              (QStringList{T, "/my cards/a.hdf", "renpart", "ODD \"ONE\" ", "NEW  "}));
    EXPECT_EQ(SplitCommandLine(DriveCommand(T, M, "A\\", QChar())), (QStringList{T, M, "drive", "A\\", "-"}));
}

// The geometry the dialog expects for each card size is the one the tool
// makes (the images are sparse, so 8 GB costs nothing).
TEST(MediaCommandLines, CardPresetsGiveTheToolsGeometry)
{
    QTemporaryDir dir;
    for (qint64 size : CardSizePresets()) {
        const QString image = dir.filePath(CardSizeText(size).remove(' ') + ".raw");
        const mediatest::Run run = mediatest::RunLine(CreateImageCommand(mediatest::Tool(), image, BySize(size)));
        ASSERT_EQ(run.code, 0) << run.err.toStdString();
        const DiskGeometry g = GeometryForSize(size);
        EXPECT_TRUE(run.out.contains(QStringLiteral("C/H/S %1/%2/%3,").arg(g.cylinders).arg(g.heads).arg(g.sectors)))
            << run.out.toStdString();
        QFile::remove(image);
    }
}

} // namespace
