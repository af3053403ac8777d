#include "dsk_image.h"
#include "floppy_files.h"
#include "plus3_floppy.h"
#include "plus3_name.h"

#include <functional>

#include <gtest/gtest.h>

#include "dsk_builder.h"
#include "fixture_support.h"

using namespace p3tool::formats;
using fixture::BuiltSector;
using fixture::BuiltTrack;

namespace {

struct HostFile {
    int user;
    std::string name;
    std::vector<uint8_t> bytes;
};

std::vector<HostFile> sampleFiles()
{
    return {
        {0, "HELLO.TXT", {'a', 'b', 'c'}},
        {0, "RND.BIN", fixture::patternBytes(3000, 11)},
        {0, "BIG.DAT", fixture::patternBytes(40000, 12)},  // three directory entries
        {3, "SMALL", fixture::patternBytes(200, 13)},
    };
}

// Formats a floppy with libdsk and copies the files onto it with cpmtools.
std::vector<uint8_t> toolFloppy(const fixture::TempDir& dir, const std::string& dskType,
                                const std::string& libdskFormat, const std::string& cpmFormat,
                                const std::vector<HostFile>& files)
{
    const std::string typeOption = dskType == "edsk" ? "-T edsk" : "-T dsk";
    EXPECT_EQ(dir.run("dskform -type " + dskType + " -format " + libdskFormat + " disk.dsk"), 0);
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string host = "host" + std::to_string(i);
        fixture::writeFile(dir / host, files[i].bytes);
        EXPECT_EQ(dir.run("cpmcp " + typeOption + " -f " + cpmFormat + " disk.dsk " + host + " " +
                          std::to_string(files[i].user) + ":" + files[i].name),
                  0)
            << files[i].name;
    }
    return fixture::readFile(dir / "disk.dsk");
}

// Every file of the floppy must come back byte-exact, with its user number and name.
void expectFiles(const Plus3Floppy& floppy, const std::vector<HostFile>& expected)
{
    const auto files = listFloppyFiles(floppy);
    ASSERT_EQ(files.size(), expected.size());
    for (const HostFile& want : expected) {
        SCOPED_TRACE(std::to_string(want.user) + ":" + want.name);
        const auto found = std::find_if(files.begin(), files.end(), [&](const FloppyFile& f) {
            return f.user == want.user && Plus3Name::fromDirectoryBytes(f.name).text() == want.name;
        });
        ASSERT_NE(found, files.end());
        EXPECT_EQ(found->records, (want.bytes.size() + 127) / 128);
        EXPECT_EQ(found->byteLength(), want.bytes.size());
        const auto data = readFloppyFile(floppy, *found);
        ASSERT_EQ(data.size(), std::size_t(found->records) * 128);
        EXPECT_TRUE(std::equal(want.bytes.begin(), want.bytes.end(), data.begin()));
    }
}

std::string messageOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const FormatError& e) {
        return e.what();
    }
    return "(no error)";
}

std::vector<uint8_t> sectorData(uint8_t seed, std::size_t size = 512)
{
    return fixture::patternBytes(size, seed);
}

// A 40-track single-sided floppy with 9 x 512-byte sectors in ID order, all 0xE5, with the
// given bytes at the start of track 0 sector 1.
std::vector<BuiltTrack> plus3Tracks(const std::vector<uint8_t>& record, int cylinders = 40)
{
    std::vector<BuiltTrack> tracks(static_cast<std::size_t>(cylinders));
    for (auto& track : tracks)
        for (uint8_t id = 1; id <= 9; ++id)
            track.sectors.push_back({id, 2, std::vector<uint8_t>(512, 0xE5)});
    std::copy(record.begin(), record.end(), tracks[0].sectors[0].data.begin());
    return tracks;
}

const std::vector<uint8_t> kStandardRecord{0, 0, 40, 9, 2, 1, 3, 2, 0x2A, 0x52};

}  // namespace

// ---- Floppies made by the independent tools -------------------------------------------------

struct ToolFloppyCase {
    const char* label;
    const char* dskType;
    const char* libdskFormat;
    const char* cpmFormat;
    Plus3DiskFormat::Source source;
    uint8_t formatByte;
    FloppySides sides;
    unsigned tracksPerSide, off, bsh, exm, dsm, drm;
    uint8_t al0;
    unsigned cks;
    uint8_t firstSectorId;
};

void PrintTo(const ToolFloppyCase& c, std::ostream* os)
{
    *os << c.label;
}

class ToolFloppy : public ::testing::TestWithParam<ToolFloppyCase> {};

TEST_P(ToolFloppy, FormatAndEveryFileReadBack)
{
    const ToolFloppyCase& c = GetParam();
    fixture::TempDir dir;
    const auto files = sampleFiles();
    Plus3Floppy floppy(DskImage(toolFloppy(dir, c.dskType, c.libdskFormat, c.cpmFormat, files)));
    EXPECT_EQ(floppy.image().isExtended(), std::string(c.dskType) == "edsk");

    const Plus3DiskFormat& f = floppy.format();
    EXPECT_EQ(f.source, c.source);
    EXPECT_EQ(f.formatByte, c.formatByte);
    EXPECT_EQ(f.sides(), c.sides);
    EXPECT_EQ(f.tracksPerSide, c.tracksPerSide);
    EXPECT_EQ(f.sectorsPerTrack, 9u);
    EXPECT_EQ(f.sectorSize, 512u);
    EXPECT_EQ(f.spt, 36u);
    EXPECT_EQ(f.psh, 2);
    EXPECT_EQ(f.phm, 3);
    EXPECT_EQ(f.off, c.off);
    EXPECT_EQ(f.bsh, c.bsh);
    EXPECT_EQ(f.blm, (1u << c.bsh) - 1);
    EXPECT_EQ(f.exm, c.exm);
    EXPECT_EQ(f.dsm, c.dsm);
    EXPECT_EQ(f.drm, c.drm);
    EXPECT_EQ(f.al0, c.al0);
    EXPECT_EQ(f.al1, 0);
    EXPECT_EQ(f.cks, c.cks);
    EXPECT_EQ(f.firstSectorId, c.firstSectorId);
    expectFiles(floppy, files);
}

INSTANTIATE_TEST_SUITE_P(
    Tools, ToolFloppy,
    ::testing::Values(
        ToolFloppyCase{"pcw180Standard", "dsk", "pcw180", "pcw",
                       Plus3DiskFormat::Source::Record, 0, SingleSided, 40, 1, 3, 0, 174, 63,
                       0xC0, 16, 1},
        ToolFloppyCase{"pcw180Extended", "edsk", "pcw180", "pcw",
                       Plus3DiskFormat::Source::Record, 0, SingleSided, 40, 1, 3, 0, 174, 63,
                       0xC0, 16, 1},
        // Double-sided, alternate sides, 2 KB blocks and 16-bit block pointers.
        ToolFloppyCase{"pcw720", "dsk", "pcw720", "cf2dd", Plus3DiskFormat::Source::Record, 3,
                       AlternateSides, 80, 1, 4, 0, 356, 255, 0xF0, 64, 1},
        ToolFloppyCase{"cpcData", "edsk", "cpcdata", "cpcdata",
                       Plus3DiskFormat::Source::CpcData, 2, SingleSided, 40, 0, 3, 0, 179, 63,
                       0xC0, 16, 0xC1},
        ToolFloppyCase{"cpcSystem", "dsk", "cpcsys", "cpcsys",
                       Plus3DiskFormat::Source::CpcSystem, 1, SingleSided, 40, 2, 3, 0, 170, 63,
                       0xC0, 16, 0x41}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(ToolFloppyFiles, AttributesAndUserAreasAreKept)
{
    fixture::TempDir dir;
    auto files = sampleFiles();
    files.push_back({5, "RND.BIN", {1, 2, 3}});  // same name, other user: another file
    toolFloppy(dir, "dsk", "pcw180", "pcw", files);
    ASSERT_EQ(dir.run("cpmchattr -T dsk -f pcw disk.dsk r 0:RND.BIN && "
                      "cpmchattr -T dsk -f pcw disk.dsk s 0:HELLO.TXT"),
              0);
    Plus3Floppy floppy(DskImage(fixture::readFile(dir / "disk.dsk")));
    expectFiles(floppy, files);
    for (const auto& f : listFloppyFiles(floppy)) {
        const std::string name = Plus3Name::fromDirectoryBytes(f.name).text();
        SCOPED_TRACE(name);
        const bool readOnly = name == "RND.BIN" && f.user == 0;
        EXPECT_EQ((f.name[8] & 0x80) != 0, readOnly);
        EXPECT_EQ((f.name[9] & 0x80) != 0, name == "HELLO.TXT");
        EXPECT_EQ(f.entries, name == "BIG.DAT" ? 3u : 1u);
    }
}

TEST(ToolFloppyFiles, SectorsStoredOutOfIdOrderReadTheSame)
{
    fixture::TempDir dir;
    const auto files = sampleFiles();
    const DskImage original(toolFloppy(dir, "dsk", "pcw180", "pcw", files));
    int track = 0;
    auto shuffle = [&track](std::vector<BuiltSector>& sectors) {
        // reverse every other track, rotate the rest: no track keeps its ID order
        if (track++ % 2 == 0)
            std::reverse(sectors.begin(), sectors.end());
        else
            std::rotate(sectors.begin(), sectors.begin() + 4, sectors.end());
    };
    const auto tracks = fixture::tracksOf(original, shuffle);
    for (bool extended : {false, true}) {
        SCOPED_TRACE(extended ? "extended" : "standard");
        const DskImage shuffled(fixture::buildDsk(extended, 40, 1, tracks));
        EXPECT_EQ(shuffled.track(0, 0).sectors.front().sectorId, 9);
        for (int c = 0; c < 40; c += 13)
            for (uint8_t id = 1; id <= 9; ++id) {
                const auto a = original.readSector(c, 0, id);
                const auto b = shuffled.readSector(c, 0, id);
                ASSERT_TRUE(std::equal(a.begin(), a.end(), b.begin(), b.end()));
            }
        expectFiles(Plus3Floppy(shuffled), files);
    }
}

TEST(ToolFloppyFiles, BlankSectorOneMeansTheStandardFormat)
{
    fixture::TempDir dir;
    const auto files = sampleFiles();
    auto bytes = toolFloppy(dir, "dsk", "pcw180", "pcw", files);
    const DskImage image(bytes);
    const auto record = image.readSector(0, 0, 1);
    const std::size_t at = std::size_t(record.data() - image.bytes().data());
    std::fill_n(bytes.begin() + std::ptrdiff_t(at), 512, 0xE5);

    const Plus3Floppy floppy{DskImage(bytes)};
    EXPECT_EQ(floppy.format().source, Plus3DiskFormat::Source::AssumedPlus3);
    EXPECT_EQ(floppy.format().dsm, 174u);
    EXPECT_EQ(floppy.format().off, 1u);
    EXPECT_EQ(describeFormat(floppy.format()),
              "standard +3 format: 40 tracks, 1 side, 9 x 512-byte sectors, 1 KB blocks, "
              "64 directory entries");
    expectFiles(floppy, files);
}

// ---- Hand-built images ----------------------------------------------------------------------

TEST(DskImage, FindsSectorsByIdWhateverTheirOrderAndSize)
{
    BuiltTrack track;
    track.sectors = {{5, 1, sectorData(5, 256)}, {1, 2, sectorData(1, 512)},
                     {3, 0, sectorData(3, 128)}, {0xC4, 3, sectorData(4, 1024)}};
    const DskImage image(fixture::buildDsk(true, 1, 1, {track}));
    EXPECT_EQ(image.creator(), "harnwick test");
    for (const auto& s : track.sectors) {
        const auto data = image.readSector(0, 0, s.sectorId);
        EXPECT_TRUE(std::equal(data.begin(), data.end(), s.data.begin(), s.data.end()))
            << int(s.sectorId);
    }
    EXPECT_EQ(messageOf([&] { image.readSector(0, 0, 2); }),
              "track 0 side 0 has no sector with ID 2");
}

TEST(DskImage, StandardImageUsesTheTrackSizeCodeAndTheTrackBlockSize)
{
    // Two sides, tracks of different lengths: every block takes the largest size.
    std::vector<BuiltTrack> tracks(4);
    for (std::size_t i = 0; i < tracks.size(); ++i)
        for (uint8_t id = 1; id <= 2 + i; ++id)
            tracks[i].sectors.push_back({uint8_t(id + 0x40), 1, sectorData(uint8_t(i * 16 + id), 256)});
    const DskImage image(fixture::buildDsk(false, 2, 2, tracks));
    EXPECT_FALSE(image.isExtended());
    EXPECT_EQ(image.sides(), 2);
    const auto data = image.readSector(1, 1, 0x45);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), tracks[3].sectors[4].data.begin(),
                           tracks[3].sectors[4].data.end()));
}

struct BrokenImage {
    const char* label;
    std::vector<uint8_t> (*make)();
    const char* expected;
};

std::vector<uint8_t> goodStandard()
{
    return fixture::buildDsk(false, 40, 1, plus3Tracks(kStandardRecord));
}

std::vector<uint8_t> goodExtended()
{
    return fixture::buildDsk(true, 40, 1, plus3Tracks(kStandardRecord));
}

void PrintTo(const BrokenImage& c, std::ostream* os)
{
    *os << c.label;
}

class RefusedImage : public ::testing::TestWithParam<BrokenImage> {};

TEST_P(RefusedImage, ConstructorThrowsAClearError)
{
    const auto bytes = GetParam().make();
    const std::string message = messageOf([&] { DskImage image(bytes); });
    EXPECT_NE(message.find(GetParam().expected), std::string::npos) << message;
}

INSTANTIATE_TEST_SUITE_P(
    Hostile, RefusedImage,
    ::testing::Values(
        BrokenImage{"notDsk", [] { return std::vector<uint8_t>{'Z', 'X', 'T', 'a', 'p', 'e'}; },
                    "not a DSK image"},
        BrokenImage{"shortHeader",
                    [] {
                        auto b = goodStandard();
                        b.resize(200);
                        return b;
                    },
                    "truncated: its disk information block needs 256 bytes"},
        BrokenImage{"threeSides",
                    [] {
                        auto b = goodExtended();
                        b[0x31] = 3;
                        return b;
                    },
                    "claims 3 sides"},
        BrokenImage{"trackTableOverflow",
                    [] {
                        auto b = goodExtended();
                        b[0x30] = 103;
                        b[0x31] = 2;
                        return b;
                    },
                    "claims 206 track blocks"},
        BrokenImage{"tinyTrackSize",
                    [] {
                        auto b = goodStandard();
                        b[0x32] = 0x10;
                        b[0x33] = 0;
                        return b;
                    },
                    "track size of 16 bytes"}),
    [](const auto& info) { return std::string(info.param.label); });

struct DamagedTrack {
    const char* label;
    std::vector<uint8_t> (*make)();
    int cylinder;
    uint8_t sectorId;
    const char* expected;
};

void PrintTo(const DamagedTrack& c, std::ostream* os)
{
    *os << c.label;
}

class DamagedImage : public ::testing::TestWithParam<DamagedTrack> {};

// The image opens, the damaged place gives a clear error, and track 0 stays readable.
TEST_P(DamagedImage, ReadingTheDamagedPlaceThrows)
{
    const DamagedTrack& c = GetParam();
    const DskImage image(c.make());
    EXPECT_EQ(messageOf([&] { image.readSector(c.cylinder, 0, c.sectorId); }), c.expected);
    EXPECT_EQ(image.readSector(0, 0, 2).size(), 512u);
}

INSTANTIATE_TEST_SUITE_P(
    Hostile, DamagedImage,
    ::testing::Values(
        DamagedTrack{"cutInsideTrack",
                     [] {
                         auto b = goodStandard();
                         b.resize(0x100 + 0x1300 * 5 + 0x80);
                         return b;
                     },
                     5, 1, "track 5 side 0 is cut short by the end of the image"},
        DamagedTrack{"cutInsideSectorData",
                     [] {
                         auto b = goodExtended();
                         b.resize(0x100 + 0x1300 * 5 + 0x100 + 600);
                         return b;
                     },
                     5, 2, "track 5 side 0 sector 2 is cut short by the end of the image"},
        DamagedTrack{"endsBeforeTrack",
                     [] {
                         auto b = goodStandard();
                         b.resize(0x100 + 0x1300 * 3);
                         return b;
                     },
                     39, 1, "track 39 side 0 is not in the image: the image ends before it"},
        DamagedTrack{"unformattedTrack",
                     [] {
                         auto tracks = plus3Tracks(kStandardRecord);
                         tracks[7].present = false;
                         return fixture::buildDsk(true, 40, 1, tracks);
                     },
                     7, 1, "track 7 side 0 is not formatted in the image"},
        DamagedTrack{"noSignature",
                     [] {
                         auto b = goodStandard();
                         b[0x100 + 0x1300 * 2] = 'X';
                         return b;
                     },
                     2, 1, "track 2 side 0 has no Track-Info signature"},
        DamagedTrack{"tooManySectors",
                     [] {
                         auto b = goodExtended();
                         b[0x100 + 0x1300 * 4 + 0x15] = 40;
                         return b;
                     },
                     4, 1,
                     "track 4 side 0 lists 40 sectors, more than its information block can "
                     "hold"},
        DamagedTrack{"sectorLongerThanTrack",
                     [] {
                         auto b = goodExtended();
                         b[0x100 + 0x1300 * 4 + 0x18 + 8 * 8 + 7] = 0x20;  // 9th: 8 KB
                         return b;
                     },
                     4, 9, "track 4 side 0 sector 9 lies outside its track block"},
        DamagedTrack{"hugeSizeCode",
                     [] {
                         auto b = goodStandard();
                         b[0x100 + 0x1300 * 6 + 0x14] = 0xFF;
                         return b;
                     },
                     6, 1, "track 6 side 0 sector 1 lies outside its track block"},
        DamagedTrack{"beyondGeometry", goodStandard, 40, 1,
                     "track 40 side 0 is outside the image, which has 40 tracks and 1 side"}),
    [](const auto& info) { return std::string(info.param.label); });

// ---- Disk specification records ------------------------------------------------------------

TEST(Plus3Format, ComputesTheParametersOfARecord)
{
    // 80 tracks, successive sides, 2 reserved tracks, 4 KB blocks, 3 directory blocks:
    // (160 - 2) x 9 x 512 / 4096 = 177 blocks, so 8-bit pointers and EXM 3.
    const std::vector<uint8_t> record{3, 2, 80, 9, 2, 2, 5, 3, 0x2A, 0x52};
    const auto tracks = plus3Tracks(record, 1);
    const Plus3DiskFormat f = detectPlus3Format(DskImage(fixture::buildDsk(true, 1, 1, tracks)));
    EXPECT_EQ(f.sides(), SuccessiveSides);
    EXPECT_EQ(f.dsm, (160u - 2) * 9 * 512 / 4096 - 1);
    EXPECT_EQ(f.exm, 3);
    EXPECT_EQ(f.drm, 3u * 4096 / 32 - 1);
    EXPECT_EQ(f.al0, 0xE0);
    EXPECT_EQ(f.cks, 96u);
    EXPECT_EQ(f.blm, 31);
    EXPECT_FALSE(f.wideBlockPointers());
}

TEST(Plus3Format, SuccessiveSidesMapLogicalTracksToSideOneAfterSideZero)
{
    // 3 tracks per side, OFF 1, 1 KB blocks, 1 directory block: logical tracks 0-2 on side 0,
    // 3-5 on side 1.
    const std::vector<uint8_t> record{3, 2, 3, 9, 2, 1, 3, 1, 0x2A, 0x52};
    auto tracks = plus3Tracks(record, 6);  // 3 cylinders x 2 sides
    tracks[3].sectors[4].data = sectorData(77);  // cylinder 1 side 1, sector ID 5
    const Plus3Floppy floppy{DskImage(fixture::buildDsk(false, 3, 2, tracks))};
    // Logical track 4 = OFF + L / 9 → L = 3 x 9 + 4 is sector ID 5 on cylinder 1 side 1.
    EXPECT_EQ(floppy.readLogicalSector(3 * 9 + 4), sectorData(77));
}

struct BadRecord {
    const char* label;
    std::vector<uint8_t> record;
    const char* expected;
};

void PrintTo(const BadRecord& c, std::ostream* os)
{
    *os << c.label;
}

class RefusedRecord : public ::testing::TestWithParam<BadRecord> {};

TEST_P(RefusedRecord, DetectionThrowsAndSaysWhy)
{
    const DskImage image(fixture::buildDsk(true, 2, 1, plus3Tracks(GetParam().record, 2)));
    const std::string message = messageOf([&] { detectPlus3Format(image); });
    EXPECT_NE(message.find(GetParam().expected), std::string::npos) << message;
}

INSTANTIATE_TEST_SUITE_P(
    Hostile, RefusedRecord,
    ::testing::Values(
        BadRecord{"formatByte", {7, 0, 40, 9, 2, 1, 3, 2}, "no disk specification record (format byte 7)"},
        BadRecord{"sidedness", {0, 3, 40, 9, 2, 1, 3, 2}, "sidedness byte 3"},
        BadRecord{"noTracks", {0, 0, 0, 9, 2, 1, 3, 2}, "0 tracks per side"},
        BadRecord{"noSectors", {0, 0, 40, 0, 2, 1, 3, 2}, "0 sectors per track"},
        BadRecord{"hugeSectors", {0, 0, 40, 9, 9, 1, 3, 2}, "sector size code 9"},
        BadRecord{"hugeBlocks", {0, 0, 40, 9, 2, 1, 9, 2}, "block size code 9"},
        BadRecord{"blocksBelowSectors", {0, 0, 40, 9, 4, 1, 3, 2}, "blocks are smaller than sectors"},
        BadRecord{"allReserved", {0, 0, 40, 9, 2, 40, 3, 2}, "40 reserved tracks"},
        BadRecord{"noDirectory", {0, 0, 40, 9, 2, 1, 3, 0}, "0 directory blocks"},
        BadRecord{"hugeDirectory", {0, 0, 40, 9, 2, 1, 3, 17}, "17 directory blocks"},
        BadRecord{"onlyDirectory", {0, 0, 1, 1, 2, 0, 3, 1}, "no room beyond its directory"},
        BadRecord{"manySmallBlocks", {0, 1, 255, 18, 2, 0, 3, 2}, "more than 256 blocks of 1 KB"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(Plus3Format, NoSectorOneAndNoCpcIdsIsRefused)
{
    auto tracks = plus3Tracks(kStandardRecord, 2);
    for (auto& s : tracks[0].sectors)
        s.sectorId = uint8_t(s.sectorId + 0x10);
    const DskImage image(fixture::buildDsk(true, 2, 1, tracks));
    EXPECT_EQ(messageOf([&] { detectPlus3Format(image); }),
              "cannot tell the floppy's format: track 0 side 0 has no sector with ID 1");
}

// ---- Directory walking on damaged floppies --------------------------------------------------

namespace {

// A standard +3 floppy whose first directory sector holds the given 32-byte entries.
DskImage floppyWithEntries(const std::vector<std::vector<uint8_t>>& entries)
{
    auto tracks = plus3Tracks(kStandardRecord);
    auto& directory = tracks[1].sectors[0].data;  // OFF 1: block 0 starts at track 1 sector 1
    for (std::size_t i = 0; i < entries.size(); ++i)
        std::copy(entries[i].begin(), entries[i].end(), directory.begin() + std::ptrdiff_t(32 * i));
    tracks[1].sectors[4].data = sectorData(21);  // first half of block 2, the first data block
    return DskImage(fixture::buildDsk(false, 40, 1, tracks));
}

std::vector<uint8_t> entry(uint8_t user, const std::string& name11, uint8_t ex, uint8_t rc,
                           std::vector<uint8_t> blocks, uint8_t s1 = 0)
{
    std::vector<uint8_t> e(32, 0);
    e[0] = user;
    std::copy(name11.begin(), name11.end(), e.begin() + 1);
    e[0x0C] = ex;
    e[0x0D] = s1;
    e[0x0F] = rc;
    std::copy(blocks.begin(), blocks.end(), e.begin() + 0x10);
    return e;
}

}  // namespace

TEST(FloppyFiles, HolesReadAsZerosAndOtherEntriesArePassedOver)
{
    auto label = entry(0x20, "LABEL      ", 0, 0, {});
    const DskImage image = floppyWithEntries({
        entry(0, "SPARSE  DAT", 1, 8, {2}),  // extent 1 only: extent 0 is a hole
        label,
        entry(0xE5, "GONE    BIN", 0, 0x80, {2, 3, 4}),
    });
    const Plus3Floppy floppy(image);
    const auto files = listFloppyFiles(floppy);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].records, 128u + 8);
    const auto data = readFloppyFile(floppy, files[0]);
    ASSERT_EQ(data.size(), (128u + 8) * 128);
    EXPECT_TRUE(std::all_of(data.begin(), data.begin() + 16384, [](uint8_t b) { return b == 0; }));
    // Block 2 is sectors 5 and 6 of track 1: sector 5 was filled with a pattern.
    const auto block2 = floppy.readBlock(2);
    EXPECT_TRUE(std::equal(data.begin() + 16384, data.end(), block2.begin()));
    EXPECT_EQ(block2, [] {
        auto b = sectorData(21);
        b.resize(1024, 0xE5);
        return b;
    }());
}

TEST(FloppyFiles, BlockPointersOutsideTheDataAreaNameTheFile)
{
    const DskImage image = floppyWithEntries({
        entry(0, "EVIL    BIN", 0, 8, {200}),  // DSM is 174
        entry(2, "DIR     BIN", 0, 8, {1}),    // points into the directory
        entry(0, "BIGRC   BIN", 0, 0xFF, {2, 3}, 0x90),
    });
    const Plus3Floppy floppy(image);
    const auto files = listFloppyFiles(floppy);
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(messageOf([&] { readFloppyFile(floppy, files[0]); }),
              "file 0:EVIL.BIN: block 200 lies outside the floppy's data area");
    EXPECT_EQ(messageOf([&] { readFloppyFile(floppy, files[1]); }),
              "file 2:DIR.BIN: block 1 lies outside the floppy's data area");
    EXPECT_EQ(files[2].records, 128u);  // RC above 0x80 counts as a full extent
    EXPECT_EQ(files[2].lastRecordBytes, 128);
    EXPECT_EQ(readFloppyFile(floppy, files[2]).size(), 16384u);
    EXPECT_EQ(messageOf([&] { floppy.readBlock(175); }),
              "block 175 is beyond the last block (174) of the floppy");
}

TEST(FloppyFiles, MissingTrackUnderAFileNamesFileAndTrack)
{
    auto bytes = fixture::buildDsk(false, 40, 1, [] {
        auto tracks = plus3Tracks(kStandardRecord);
        const auto e = entry(0, "FAR     BIN", 0, 8, {170});
        std::copy(e.begin(), e.end(), tracks[1].sectors[0].data.begin());
        return tracks;
    }());
    bytes.resize(0x100 + 0x1300 * 30);  // block 170 lies on track 38
    const Plus3Floppy floppy{DskImage(bytes)};
    const auto files = listFloppyFiles(floppy);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(messageOf([&] { readFloppyFile(floppy, files[0]); }),
              "file 0:FAR.BIN: block 170: track 38 side 0 is not in the image: the image ends "
              "before it");
}
