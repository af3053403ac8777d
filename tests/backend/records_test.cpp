#include <gtest/gtest.h>

#include "app_error.h"
#include "records.h"

#include <QBuffer>

#include <array>

namespace {

template <size_t N> std::array<QByteArray, N> Filled(const char* text)
{
    std::array<QByteArray, N> cells;
    cells.fill(text);
    return cells;
}

TEST(SplitFields, EmptyFieldsCount)
{
    auto cells = Filled<20>("old");
    EXPECT_EQ(SplitFields(cells, "a,,b", ','), 2);
    EXPECT_EQ(cells[0], "a");
    EXPECT_EQ(cells[1], "");
    EXPECT_EQ(cells[2], "b");
    EXPECT_EQ(cells[3], "old"); // untouched

    EXPECT_EQ(SplitFields(cells, "x,", ','), 1);
    EXPECT_EQ(cells[0], "x");
    EXPECT_EQ(cells[1], "");
    EXPECT_EQ(cells[2], "b"); // kept from the earlier line

    EXPECT_EQ(SplitFields(cells, "", ','), 0);
    EXPECT_EQ(cells[0], "");
    EXPECT_EQ(cells[1], "");
}

TEST(SplitFields, ExtraFieldsAreDroppedNeverWrittenPastTheSlots)
{
    QByteArray line;
    for (int i = 0; i < 25; ++i)
        line += (i ? "," : "") + QByteArray::number(i);
    std::array<QByteArray, 21> storage;
    storage.fill("guard");
    std::span<QByteArray> twenty(storage.data(), 20);
    EXPECT_EQ(SplitFields(twenty, line, ','), 19);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(storage[i], QByteArray::number(i));
    EXPECT_EQ(storage[20], "guard");

    auto ten = Filled<10>("");
    EXPECT_EQ(SplitFields(ten, line, ','), 9);
    EXPECT_EQ(ten[9], "9");
    EXPECT_EQ(SplitFields(std::span<QByteArray>(), line, ','), -1);
}

TEST(SplitFields, ElevenFieldsFillSlotsZeroToTen)
{
    auto cells = Filled<20>("");
    EXPECT_EQ(SplitFields(cells, "A,1,2,3,4,5,6,7,8,9,extra", ','), 10);
    EXPECT_EQ(FileEntry::FromFields(cells).vars, QStringLiteral("9"));
    EXPECT_EQ(cells[10], "extra");
}

TEST(RecordReader, OneSlotArrayForAllLines)
{
    QByteArray data = "h1,h2,h3,h4\r\nx\r\n";
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    RecordReader reader(buffer, kWideSlots);
    ASSERT_TRUE(reader.Next());
    ASSERT_TRUE(reader.Next());
    EXPECT_EQ(reader.Field(0), QStringLiteral("x"));
    EXPECT_EQ(reader.Field(3), QStringLiteral("h4"));
    EXPECT_EQ(reader.Field(19), QString());
    EXPECT_EQ(reader.Line(), "x");
    EXPECT_FALSE(reader.Next());
}

TEST(Records, PartitionTableLines)
{
    auto cells = Filled<20>("");
    SplitFields(cells, "1024,16,63", ',');
    const GeometryLine geometry = GeometryLine::FromFields(cells);
    EXPECT_EQ(geometry.GeometryText(), QStringLiteral("1024/16/63"));
    EXPECT_EQ(geometry.DiskSizeBytes(), 528482304);

    SplitFields(cells, "3,61", ',');
    const CountsLine counts = CountsLine::FromFields(cells);
    EXPECT_EQ(counts.partitionsUsed + counts.partitionsFree, 64);
    EXPECT_EQ(counts.partitionsUsedText, QStringLiteral("3"));

    SplitFields(cells, "GAMES  ,3,rw,1,2,100,15,126,96767,49545216", ',');
    const PartitionRecord p = PartitionRecord::FromFields(cells);
    EXPECT_EQ(p.name, QStringLiteral("GAMES  ")); // trailing blanks kept
    EXPECT_EQ(p.TypeName(), QStringLiteral("+3DOS"));
    EXPECT_EQ(p.beginCylinder + "/" + p.beginHead, QStringLiteral("1/2"));
    EXPECT_EQ(p.endCylinder + "/" + p.endHead, QStringLiteral("100/15"));
    EXPECT_EQ(p.lbaBegin, QStringLiteral("126"));
    EXPECT_EQ(p.lbaEnd, QStringLiteral("96767"));
    EXPECT_EQ(p.SizeBytesValue(), 49545216);
}

TEST(Records, BadNumbersInThePartitionTableRaise)
{
    auto cells = Filled<20>("");
    SplitFields(cells, "1024,x,63", ',');
    try {
        GeometryLine::FromFields(cells);
        FAIL() << "no error raised";
    } catch (const AppError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("'x' is not a valid integer value"));
    }
    SplitFields(cells, "3,4294967296", ',');
    EXPECT_THROW(CountsLine::FromFields(cells), AppError);
    SplitFields(cells, "P,3,,,,,,,,big", ',');
    EXPECT_THROW(PartitionRecord::FromFields(cells).SizeBytesValue(), AppError);
}

TEST(Records, FileEntryFields)
{
    auto cells = Filled<20>("");
    SplitFields(cells, "\x01 SCREEN$ \t,7,rw,1,0,7040,3,6912,16384,0", ',');
    const FileEntry e = FileEntry::FromFields(cells);
    EXPECT_EQ(e.TrimmedName(), QStringLiteral("SCREEN$"));
    EXPECT_EQ(e.size, QStringLiteral("7"));
    EXPECT_EQ(e.verMajor + "." + e.verMinor, QStringLiteral("1.0"));
    EXPECT_EQ(e.hdSize, QStringLiteral("7040"));
    EXPECT_EQ(e.TypeName(), QStringLiteral("Bytes"));
    EXPECT_EQ(e.realSize, QStringLiteral("6912"));
    EXPECT_EQ(e.start, QStringLiteral("16384"));
    EXPECT_EQ(e.vars, QStringLiteral("0"));
}

TEST(Records, DeviceScan)
{
    EXPECT_TRUE(DeviceCountIsZero("0"));
    EXPECT_FALSE(DeviceCountIsZero("0 "));
    EXPECT_FALSE(DeviceCountIsZero("2"));
    auto cells = Filled<10>("");
    SplitFields(cells, "/dev/sdb,CF card,64 MB", ',');
    EXPECT_EQ(DeviceRecord::FromFields(cells).deviceName, QStringLiteral("/dev/sdb"));
}

TEST(Records, FileTypeNames)
{
    const std::pair<const char*, const char*> cases[] = {
        {"0", "Program"}, {"1", "Number Array"},  {"2", "Character Array"},
        {"3", "Bytes"},   {"255", "Headerless"},  {"7", "Unknown (7)"},
        {"x", "Program"}, {"-1", "Unknown (-1)"}, {"", "Program"},
    };
    for (const auto& [code, name] : cases)
        EXPECT_EQ(FileTypeName(QString::fromLatin1(code)), QString::fromLatin1(name)) << code;
}

TEST(Records, PartitionTypeNames)
{
    const std::pair<int, const char*> cases[] = {
        {0, "Unused"}, {1, "System"},  {2, "Swap"},    {3, "+3DOS"},   {4, "CP/M"},
        {5, "Boot"},   {16, "MS-DOS"}, {32, "UZI(X)"}, {48, "TR-DOS"}, {49, "SAMDOS"},
        {50, "MB-02"}, {254, "Bad"},   {255, "Free"},  {7, "Unknown"}, {-3, "Unknown"},
    };
    for (const auto& [code, name] : cases)
        EXPECT_EQ(PartitionTypeName(code), QString::fromLatin1(name)) << code;
    EXPECT_EQ(PartitionTypeName(QStringLiteral("junk")), QStringLiteral("Unused"));
    EXPECT_EQ(PartitionTypeName(QStringLiteral("-3")), QStringLiteral("Unknown"));
}

} // namespace
