// The rows of both list layouts and the sort keys, from records.
#include "list_rows.h"
#include "list_sort.h"
#include "qt_printers.h"
#include "records.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace {

std::vector<QByteArray> Fields(const char* line)
{
    std::vector<QByteArray> fields;
    for (const QByteArray& f : QByteArray(line).split(','))
        fields.push_back(f);
    return fields;
}

class ListRowsTest : public ::testing::Test
{
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
};

TEST_F(ListRowsTest, PartitionTypesGetTheirPictures)
{
    const std::pair<const char*, int> cases[] = {
        {"0", 11}, {"255", 11}, {"1", 9},  {"2", 8},  {"3", 1},    {"4", 3},  {"5", 2},   {"16", 6},
        {"32", 0}, {"48", 10},  {"49", 7}, {"50", 5}, {"254", 22}, {"7", 21}, {"-3", 21}, {"x", 11},
    };
    for (const auto& [code, icon] : cases) {
        const std::string line = std::string("P,") + code + ",,0,0,0,0,0,0,1";
        const auto fields = Fields(line.c_str());
        const FileListRow row = PartitionRowFromRecord(PartitionRecord::FromFields(fields));
        EXPECT_EQ(row.icon, icon) << code;
        EXPECT_EQ(PartitionIcon(row.cells[5]), icon) << code;
    }
}

TEST_F(ListRowsTest, APartitionRowHasTenSubItemsWithTwoEmpty)
{
    const auto fields = Fields("GAMES  ,3,C:,4,1,12,0,2080,6175,1048575");
    const FileListRow row = PartitionRowFromRecord(PartitionRecord::FromFields(fields));
    EXPECT_EQ(row.cells[0], QString("GAMES  "));
    EXPECT_EQ(row.cells[1], QString("1.048.575"));
    EXPECT_EQ(row.cells[2], QString("C:"));
    EXPECT_EQ(row.cells[3], QString());
    EXPECT_EQ(row.cells[4], QString("0 MB"));
    EXPECT_EQ(row.cells[5], QString("+3DOS"));
    EXPECT_EQ(row.cells[6], QString());
    EXPECT_EQ(row.cells[7], QString("4/1"));
    EXPECT_EQ(row.cells[8], QString("12/0"));
    EXPECT_EQ(row.cells[9], QString("2080"));
    EXPECT_EQ(row.cells[10], QString("6175"));
}

TEST_F(ListRowsTest, AFileRowGroupsItsNumbersWithTheLocalesSeparator)
{
    const auto fields = Fields("\tSCREEN$ ,7040,R--,1,0,8192,3,6912,16384,0");
    const FileListRow row = FileRowFromEntry(FileEntry::FromFields(fields));
    EXPECT_EQ(row.cells[0], QString("SCREEN$"));
    EXPECT_EQ(row.cells[1], QString("7.040"));
    EXPECT_EQ(row.cells[6], QString("6.912"));
    EXPECT_EQ(row.cells[7], QString("16.384"));
    EXPECT_EQ(row.cells[8], QString("    0"));
    EXPECT_EQ(row.icon, 20);
    EXPECT_TRUE(row.cells[9].isEmpty());
}

TEST_F(ListRowsTest, FileTypeCodesBeyondThePicturesShowNone)
{
    const std::pair<const char*, int> cases[] = {
        {"4", 19}, {"5", 20}, {"7", 22}, {"8", -1}, {"-1", -1}, {"99999999999", -1}, {"", 19}};
    for (const auto& [code, icon] : cases) {
        const std::string line = std::string("F,128,,1,0,128,") + code + ",1,0,0";
        const auto fields = Fields(line.c_str());
        EXPECT_EQ(FileRowFromEntry(FileEntry::FromFields(fields)).icon, icon) << code;
    }
}

TEST_F(ListRowsTest, SortKeysReadNumbersBackAndTextsAsTheyAre)
{
    FileListRow row;
    row.cells = {"NAME",  "1.234.567", "R--",  "10.2", "1023 MB", "Bytes",
                 "    5", "12/3",      "-4/0", "77",   ""};
    EXPECT_EQ(ListSortKey(row, -1), QByteArray("NAME"));
    EXPECT_EQ(ListSortKey(row, 0), QByteArray("        1234567"));
    EXPECT_EQ(ListSortKey(row, 1), QByteArray("R--"));
    EXPECT_EQ(ListSortKey(row, 2), QByteArray("10.2"));
    EXPECT_EQ(ListSortKey(row, 3), QByteArray("           1023"));
    EXPECT_EQ(ListSortKey(row, 4), QByteArray("Bytes"));
    EXPECT_EQ(ListSortKey(row, 5), QByteArray("              5"));
    EXPECT_EQ(ListSortKey(row, 6), QByteArray("             12"));
    EXPECT_EQ(ListSortKey(row, 7), QByteArray("             -4"));
    EXPECT_EQ(ListSortKey(row, 8), QByteArray("             77"));
    // An empty cell reads as 0.
    EXPECT_EQ(ListSortKey(row, 9), QByteArray("              0"));
    // Numbers above 32 bits still sort by value (a partition over 2 GB).
    row.cells[1] = "4.294.967.296";
    EXPECT_EQ(ListSortKey(row, 0), QByteArray("     4294967296"));
}

} // namespace
