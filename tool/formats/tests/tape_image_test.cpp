#include "tape_image.h"

#include <gtest/gtest.h>

#include "fixture_support.h"

using namespace p3tool::formats;
using fixture::appendLe;

namespace {

std::array<uint8_t, 10> tapeName(const std::string& text)
{
    std::array<uint8_t, 10> name;
    name.fill(' ');
    std::copy_n(text.begin(), std::min<std::size_t>(text.size(), 10), name.begin());
    return name;
}

// flag + payload + XOR checksum, as TAP and TZX data blocks hold them.
std::vector<uint8_t> dataBlock(uint8_t flag, const std::vector<uint8_t>& payload)
{
    std::vector<uint8_t> block{flag};
    block.insert(block.end(), payload.begin(), payload.end());
    uint8_t x = 0;
    for (uint8_t b : block)
        x ^= b;
    block.push_back(x);
    return block;
}

std::vector<uint8_t> headerBlock(uint8_t type, const std::string& name, uint16_t length,
                                 uint16_t p1, uint16_t p2)
{
    std::vector<uint8_t> payload{type};
    const auto n = tapeName(name);
    payload.insert(payload.end(), n.begin(), n.end());
    appendLe(payload, length, 2);
    appendLe(payload, p1, 2);
    appendLe(payload, p2, 2);
    return dataBlock(0x00, payload);
}

void appendTap(std::vector<uint8_t>& tap, const std::vector<uint8_t>& block)
{
    appendLe(tap, block.size(), 2);
    tap.insert(tap.end(), block.begin(), block.end());
}

std::vector<uint8_t> tzxStart()
{
    return {'Z', 'X', 'T', 'a', 'p', 'e', '!', 0x1A, 1, 20};
}

void appendStandard(std::vector<uint8_t>& tzx, const std::vector<uint8_t>& block)
{
    tzx.push_back(0x10);
    appendLe(tzx, 1000, 2);
    appendLe(tzx, block.size(), 2);
    tzx.insert(tzx.end(), block.begin(), block.end());
}

void appendTurbo(std::vector<uint8_t>& tzx, const std::vector<uint8_t>& block)
{
    tzx.push_back(0x11);
    // pilot, sync1, sync2, zero, one pulse lengths, pilot tone length
    for (int v : {2168, 667, 735, 855, 1710, 3223})
        appendLe(tzx, v, 2);
    tzx.push_back(8);  // bits used in the last byte
    appendLe(tzx, 1000, 2);
    appendLe(tzx, block.size(), 3);
    tzx.insert(tzx.end(), block.begin(), block.end());
}

void appendPureData(std::vector<uint8_t>& tzx, const std::vector<uint8_t>& block)
{
    tzx.push_back(0x14);
    appendLe(tzx, 855, 2);
    appendLe(tzx, 1710, 2);
    tzx.push_back(8);
    appendLe(tzx, 0, 2);
    appendLe(tzx, block.size(), 3);
    tzx.insert(tzx.end(), block.begin(), block.end());
}

// One TZX block of each kind that carries no tape data, with its variable part non-empty
// (filled with 0x10 bytes, which look like a standard data block ID if the length is misread).
struct SkippedBlock {
    uint8_t id;
    std::vector<uint8_t> body;
};

void PrintTo(const SkippedBlock& b, std::ostream* os)
{
    *os << "block ID " << int(b.id);
}

std::vector<uint8_t> filled(std::vector<uint8_t> fixed, std::size_t extra)
{
    fixed.insert(fixed.end(), extra, 0x10);
    return fixed;
}

std::vector<SkippedBlock> everySkippedBlock()
{
    std::vector<uint8_t> dword5{5, 0, 0, 0};
    return {
        {0x12, {0x78, 0x08, 0x7F, 0x1F}},
        {0x13, filled({3}, 6)},
        {0x15, filled({0x4F, 0, 0x10, 0x27, 8, 7, 0, 0}, 7)},
        {0x16, filled(dword5, 5)},
        {0x17, filled(dword5, 5)},
        {0x18, filled(dword5, 5)},
        {0x19, filled(dword5, 5)},
        {0x20, {0xE8, 0x03}},
        {0x21, filled({4}, 4)},
        {0x22, {}},
        {0x23, {0x02, 0x00}},
        {0x24, {0x02, 0x00}},
        {0x25, {}},
        {0x26, filled({2, 0}, 4)},
        {0x27, {}},
        {0x28, filled({3, 0}, 3)},
        {0x2A, {0, 0, 0, 0}},
        {0x2B, filled({1, 0, 0, 0}, 1)},
        {0x30, filled({5}, 5)},
        {0x31, filled({2, 4}, 4)},
        {0x32, filled({4, 0}, 4)},
        {0x33, filled({2}, 6)},
        {0x34, filled({}, 8)},
        {0x35, filled({'H', 'A', 'R', 'N', 'W', 'I', 'C', 'K', ' ', 'I', 'N', 'F', 'O', ' ', ' ',
                       ' ', 3, 0, 0, 0},
                      3)},
        {0x40, filled({0, 3, 0, 0}, 3)},
        {0x5A, {'X', 'T', 'a', 'p', 'e', '!', 0x1A, 1, 20}},
    };
}

TapeReadResult read(const std::vector<uint8_t>& image)
{
    return readTapeImage(image);
}

}  // namespace

// ---- Tapes made by the independent tools ---------------------------------------------------

struct ZmakebasCase {
    const char* label;
    const char* options;
    const char* tapeName;
    uint16_t autostart;
};

void PrintTo(const ZmakebasCase& c, std::ostream* os)
{
    *os << c.options;
}

class ZmakebasTape : public ::testing::TestWithParam<ZmakebasCase> {};

TEST_P(ZmakebasTape, TapAndTzxGiveTheProgramWithItsHeader)
{
    const ZmakebasCase& c = GetParam();
    fixture::TempDir dir;
    fixture::writeText(dir / "prog.bas", "10 PRINT \"HELLO\"\n20 LET a=1234\n30 GO TO 10\n");
    ASSERT_EQ(dir.run(std::string("zmakebas ") + c.options + " -o prog.tap prog.bas"), 0);
    ASSERT_EQ(dir.run("zmakebas -r -o prog.raw prog.bas"), 0);
    ASSERT_EQ(dir.run("tapeconv prog.tap prog.tzx"), 0);
    const auto raw = fixture::readFile(dir / "prog.raw");

    for (const char* file : {"prog.tap", "prog.tzx"}) {
        SCOPED_TRACE(file);
        const auto result = read(fixture::readFile(dir / file));
        ASSERT_TRUE(result.ok()) << *result.error;
        EXPECT_TRUE(result.warnings.empty());
        ASSERT_EQ(result.files.size(), 1u);
        const TapeFile& f = result.files[0];
        EXPECT_TRUE(f.hasHeader);
        EXPECT_EQ(f.type, TapeProgram);
        EXPECT_EQ(f.name, tapeName(c.tapeName));
        EXPECT_EQ(f.data, raw);
        EXPECT_EQ(f.length, raw.size());
        EXPECT_EQ(f.param1, c.autostart);
        EXPECT_EQ(f.param2, raw.size());  // no variables saved
        EXPECT_EQ(f.flag, 0xFF);
        EXPECT_EQ(f.headerBlock, 1u);
        EXPECT_EQ(f.dataBlock, 2u);
        EXPECT_EQ(tapeFileKindText(f), "Program");
    }
}

INSTANTIATE_TEST_SUITE_P(Tools, ZmakebasTape,
                         ::testing::Values(ZmakebasCase{"autostart", "-a 10 -n hello", "hello", 10},
                                           ZmakebasCase{"noAutostart", "-n 'Two Words'",
                                                        "Two Words", 0x8000},
                                           ZmakebasCase{"fullName", "-a 30 -n ABCDEFGHIJ",
                                                        "ABCDEFGHIJ", 30}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(TapeImage, ConcatenatedToolTapesGiveEveryFileInOrder)
{
    fixture::TempDir dir;
    fixture::writeText(dir / "a.bas", "10 REM first\n");
    fixture::writeText(dir / "b.bas", "10 REM second one\n20 STOP\n");
    ASSERT_EQ(dir.run("zmakebas -n first -o a.tap a.bas && zmakebas -n second -a 20 -o b.tap b.bas"
                      " && cat a.tap b.tap > ab.tap && tapeconv ab.tap ab.tzx"),
              0);
    for (const char* file : {"ab.tap", "ab.tzx"}) {
        SCOPED_TRACE(file);
        const auto result = read(fixture::readFile(dir / file));
        ASSERT_TRUE(result.ok());
        ASSERT_EQ(result.files.size(), 2u);
        EXPECT_EQ(tapeNameText(result.files[0].name), "first");
        EXPECT_EQ(tapeNameText(result.files[1].name), "second");
        EXPECT_EQ(result.files[1].param1, 20);
        EXPECT_EQ(result.files[1].dataBlock, 4u);
    }
}

// ---- Hand-built tapes -----------------------------------------------------------------------

TEST(TapeImage, TzxTurboAndPureDataBlocksCarryFiles)
{
    const auto screen = fixture::patternBytes(6912, 1);
    const auto code = fixture::patternBytes(300, 2);
    auto tzx = tzxStart();
    appendTurbo(tzx, headerBlock(TapeBytes, "screen", 6912, 16384, 32768));
    appendTurbo(tzx, dataBlock(0xFF, screen));
    appendPureData(tzx, headerBlock(TapeBytes, "code", 300, 40000, 32768));
    appendPureData(tzx, dataBlock(0xFF, code));
    appendStandard(tzx, dataBlock(0x55, {1, 2, 3}));

    const auto result = read(tzx);
    ASSERT_TRUE(result.ok()) << *result.error;
    EXPECT_TRUE(result.warnings.empty());
    ASSERT_EQ(result.files.size(), 3u);
    EXPECT_EQ(result.files[0].data, screen);
    EXPECT_EQ(result.files[0].param1, 16384);
    EXPECT_EQ(tapeNameText(result.files[0].name), "screen");
    EXPECT_EQ(result.files[1].data, code);
    EXPECT_EQ(result.files[1].param1, 40000);
    EXPECT_FALSE(result.files[2].hasHeader);
    EXPECT_EQ(result.files[2].flag, 0x55);
    EXPECT_EQ(result.files[2].data, (std::vector<uint8_t>{1, 2, 3}));
}

class TzxSkippedBlock : public ::testing::TestWithParam<SkippedBlock> {};

// Each non-data block sits between a header and its data: a wrong body length would lose the
// pairing or misread the 0x10 filler bytes as blocks.
TEST_P(TzxSkippedBlock, IsSkippedByItsLengthWithoutBreakingThePairing)
{
    const SkippedBlock& skipped = GetParam();
    const auto data = fixture::patternBytes(40, skipped.id);
    auto tzx = tzxStart();
    appendStandard(tzx, headerBlock(TapeBytes, "pair", 40, 30000, 32768));
    tzx.push_back(skipped.id);
    tzx.insert(tzx.end(), skipped.body.begin(), skipped.body.end());
    appendStandard(tzx, dataBlock(0xFF, data));

    const auto result = read(tzx);
    ASSERT_TRUE(result.ok()) << *result.error;
    EXPECT_TRUE(result.warnings.empty());
    ASSERT_EQ(result.files.size(), 1u);
    EXPECT_TRUE(result.files[0].hasHeader);
    EXPECT_EQ(result.files[0].data, data);
    EXPECT_EQ(result.files[0].dataBlock, 3u);
}

INSTANTIATE_TEST_SUITE_P(EveryId, TzxSkippedBlock, ::testing::ValuesIn(everySkippedBlock()),
                         [](const auto& info) {
                             char name[16];
                             std::snprintf(name, sizeof name, "Id%02X", info.param.id);
                             return std::string(name);
                         });

TEST(TapeImage, AllSkippedBlocksInOneTapeAndAnEmptyDataBlock)
{
    auto tzx = tzxStart();
    appendStandard(tzx, {});  // a data block of length 0 carries nothing
    for (const auto& block : everySkippedBlock()) {
        tzx.push_back(block.id);
        tzx.insert(tzx.end(), block.body.begin(), block.body.end());
    }
    appendStandard(tzx, dataBlock(0xFF, {9, 8, 7}));
    const auto result = read(tzx);
    ASSERT_TRUE(result.ok()) << *result.error;
    ASSERT_EQ(result.files.size(), 1u);
    EXPECT_EQ(result.files[0].dataBlock, everySkippedBlock().size() + 2);
}

TEST(TapeImage, HeaderlessBlocksAndMismatchedLengths)
{
    std::vector<uint8_t> tap;
    appendTap(tap, dataBlock(0xFF, {1, 2, 3, 4}));                    // no header before it
    appendTap(tap, headerBlock(TapeBytes, "wrong", 10, 0, 0));        // says 10 bytes
    appendTap(tap, dataBlock(0xFF, fixture::patternBytes(11, 3)));    // but 11 follow
    appendTap(tap, headerBlock(TapeProgram, "ok", 2, 0x8000, 2));
    appendTap(tap, dataBlock(0xFF, {0xAA, 0xBB}));

    const auto result = read(tap);
    ASSERT_TRUE(result.ok());
    ASSERT_EQ(result.files.size(), 3u);
    EXPECT_FALSE(result.files[0].hasHeader);
    EXPECT_EQ(result.files[0].type, 0xFF);
    EXPECT_EQ(result.files[0].length, 4);
    EXPECT_EQ(result.files[0].name, tapeName(""));
    EXPECT_EQ(tapeFileKindText(result.files[0]), "Headerless");
    EXPECT_FALSE(result.files[1].hasHeader);
    EXPECT_EQ(result.files[1].data.size(), 11u);
    EXPECT_TRUE(result.files[2].hasHeader);
    EXPECT_EQ(tapeNameText(result.files[2].name), "ok");
    ASSERT_EQ(result.warnings.size(), 1u);
    EXPECT_NE(result.warnings[0].find("block 2: header of \"wrong\" (Bytes, 10 bytes) has no "
                                      "matching data block"),
              std::string::npos)
        << result.warnings[0];
}

TEST(TapeImage, HeaderWithoutDataIsSkippedWithAWarning)
{
    std::vector<uint8_t> tap;
    appendTap(tap, headerBlock(TapeProgram, "lost", 100, 0, 100));
    appendTap(tap, headerBlock(TapeBytes, "kept", 3, 0, 0));  // a second header ends the first
    appendTap(tap, dataBlock(0xFF, {1, 2, 3}));
    appendTap(tap, headerBlock(TapeNumberArray, "last", 5, 0x8100, 0));  // nothing after it

    const auto result = read(tap);
    ASSERT_TRUE(result.ok());
    ASSERT_EQ(result.files.size(), 1u);
    EXPECT_EQ(tapeNameText(result.files[0].name), "kept");
    ASSERT_EQ(result.warnings.size(), 2u);
    EXPECT_NE(result.warnings[0].find("\"lost\""), std::string::npos);
    EXPECT_NE(result.warnings[1].find("block 4: header of \"last\" (Number array, 5 bytes)"),
              std::string::npos)
        << result.warnings[1];
}

TEST(TapeImage, ChecksumMismatchKeepsTheDataAndWarns)
{
    std::vector<uint8_t> tap;
    auto header = headerBlock(TapeBytes, "bad", 3, 0, 0);
    auto data = dataBlock(0xFF, {1, 2, 3});
    data.back() ^= 0x40;
    appendTap(tap, header);
    appendTap(tap, data);
    const auto result = read(tap);
    ASSERT_TRUE(result.ok());
    ASSERT_EQ(result.files.size(), 1u);
    EXPECT_EQ(result.files[0].data, (std::vector<uint8_t>{1, 2, 3}));
    ASSERT_EQ(result.warnings.size(), 1u);
    EXPECT_NE(result.warnings[0].find("block 2: checksum mismatch in the data of \"bad\""),
              std::string::npos)
        << result.warnings[0];
}

TEST(TapeImage, TooShortBlocksAreSkippedWithAWarning)
{
    std::vector<uint8_t> tap;
    appendTap(tap, {});
    appendTap(tap, {0xFF});
    appendTap(tap, dataBlock(0xFF, {}));  // flag and checksum only: an empty file
    const auto result = read(tap);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.warnings.size(), 2u);
    ASSERT_EQ(result.files.size(), 1u);
    EXPECT_TRUE(result.files[0].data.empty());
}

// ---- Truncated and hostile tapes ------------------------------------------------------------

TEST(TapeImage, TruncatedTapKeepsTheFilesBeforeAndNamesTheBlock)
{
    std::vector<uint8_t> tap;
    appendTap(tap, headerBlock(TapeBytes, "first", 4, 0, 0));
    appendTap(tap, dataBlock(0xFF, {1, 2, 3, 4}));
    appendTap(tap, headerBlock(TapeBytes, "second", 500, 0, 0));
    const std::size_t cutAt = tap.size();
    appendTap(tap, dataBlock(0xFF, fixture::patternBytes(500, 4)));
    tap.resize(tap.size() - 100);

    const auto result = read(tap);
    ASSERT_FALSE(result.ok());
    ASSERT_EQ(result.files.size(), 1u);
    EXPECT_EQ(tapeNameText(result.files[0].name), "first");
    EXPECT_EQ(*result.error, "tape block 4 at offset 0x" +
                                 [&] {
                                     char h[16];
                                     std::snprintf(h, sizeof h, "%zX", cutAt);
                                     return std::string(h);
                                 }() +
                                 " is truncated: it needs 504 bytes, only 404 remain (while "
                                 "reading the data of \"second\")");
    EXPECT_TRUE(result.warnings.empty());
}

TEST(TapeImage, TruncationInsideTheLengthFieldAndTheTzxHeader)
{
    std::vector<uint8_t> tap;
    appendTap(tap, dataBlock(0xFF, {1}));
    tap.push_back(0x13);  // half a length field
    auto result = read(tap);
    EXPECT_EQ(result.files.size(), 1u);
    ASSERT_FALSE(result.ok());
    EXPECT_NE(result.error->find("block 2"), std::string::npos);

    result = read({'Z', 'X', 'T', 'a', 'p', 'e', '!', 0x1A, 1});
    ASSERT_FALSE(result.ok());
    EXPECT_NE(result.error->find("TZX header is truncated"), std::string::npos);
}

struct HostileTzx {
    const char* label;
    std::vector<uint8_t> block;  // appended after a good file
    const char* expected;
};

void PrintTo(const HostileTzx& c, std::ostream* os)
{
    *os << c.label;
}

class HostileTzxBlock : public ::testing::TestWithParam<HostileTzx> {};

TEST_P(HostileTzxBlock, StopsWithAClearErrorAndKeepsEarlierFiles)
{
    auto tzx = tzxStart();
    appendStandard(tzx, headerBlock(TapeBytes, "good", 2, 0, 0));
    appendStandard(tzx, dataBlock(0xFF, {5, 6}));
    tzx.insert(tzx.end(), GetParam().block.begin(), GetParam().block.end());
    const auto result = read(tzx);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.files.size(), 1u);
    EXPECT_NE(result.error->find(GetParam().expected), std::string::npos) << *result.error;
    EXPECT_NE(result.error->find("block 3 at offset 0x"), std::string::npos) << *result.error;
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, HostileTzxBlock,
    ::testing::Values(
        HostileTzx{"unknownId", {0x4B, 1, 2, 3}, "unknown TZX block ID 0x4B"},
        HostileTzx{"turboHugeLength",
                   filled({0x11, 0x78, 0x08, 0x9B, 0x02, 0xDF, 0x02, 0x57, 0x03, 0xAE, 0x06,
                           0x97, 0x0C, 8, 0xE8, 0x03, 0xFF, 0xFF, 0xFF},
                          50),
                   "truncated: it needs 16777234 bytes"},
        HostileTzx{"standardHugeLength", {0x10, 0xE8, 0x03, 0xFF, 0xFF, 0x00}, "truncated"},
        HostileTzx{"dwordLength", {0x18, 0xFF, 0xFF, 0xFF, 0xFF, 0}, "needs 4294967300 bytes"},
        HostileTzx{"cutFixedPart", {0x14, 1, 2, 3}, "truncated"},
        HostileTzx{"idWithoutBody", {0x12}, "truncated"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(TapeImage, EmptyImageHoldsNoFiles)
{
    const auto result = read({});
    EXPECT_TRUE(result.ok());
    EXPECT_TRUE(result.files.empty());
    EXPECT_TRUE(isTzx(tzxStart()));
    EXPECT_FALSE(isTzx(std::vector<uint8_t>{'Z', 'X', 'T', 'a', 'p', 'e', '!'}));
}

TEST(TapeImage, NameTextShowsUnprintableBytes)
{
    std::array<uint8_t, 10> name{'a', 0x10, 0x7F, 0xA5, ' ', 'b', ' ', ' ', ' ', ' '};
    EXPECT_EQ(tapeNameText(name), "a??? b");
}
