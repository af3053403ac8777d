// newpart, delpart, renpart, drive and empty: what they refuse leaves the
// medium untouched; what they make is laid out as the +3e lays it out,
// passes check and fsck.cpm and reads the same in every image format; and a
// medium cut off at any of their writes keeps a sound table.
#include <gtest/gtest.h>

#include <algorithm>

#include "bytes.h"
#include "cpm_params.h"
#include "storage.h"
#include "test_support.h"

using namespace tooltest;

namespace {

struct Disarm {
    ~Disarm() { p3tool::WriteFaults::disarm(); }
};

struct Refusal {
    std::vector<std::string> args;  // after the medium
    int code;
    const char* says;
    bool damaged = false;  // a free-space entry laid over partition B first
};

const Refusal kRefusals[] = {
    {{"newpart", "", "1M"}, 1, "1 to 16 characters"},
    {{"newpart", "SEVENTEEN-LETTERS", "1M"}, 1, "1 to 16 characters"},
    {{"newpart", "b", "1M"}, 1, "is taken: \"B\""},
    {{"newpart", "X:Y", "1M"}, 1, "cannot hold"},
    {{"newpart", "X", "1M", "--drive", "c"}, 1, "drive C: is already mapped to partition \"A\""},
    {{"newpart", "X", "1M", "--drive", "Q"}, 1, "not one of A to P"},
    {{"newpart", "X", "1M", "--type", "swap", "--drive", "D"}, 1, "only a +3DOS partition"},
    {{"newpart", "X", "16M"}, 1, "no free space of 16 MB"},
    {{"newpart", "X", "1M", "--type", "fat"}, 2, "--type is plus3dos or swap"},
    {{"newpart", "X", "0M"}, 2, "1M to 16M"},
    {{"delpart", "PLUSIDEDOS"}, 1, "is the system partition"},
    {{"delpart", "NONE"}, 1, "no partition named \"NONE\""},
    {{"renpart", "A", "b"}, 1, "is taken"},
    {{"renpart", "A", " A"}, 1, "must not begin with a blank"},
    {{"renpart", "plusidedos", "X"}, 1, "is the system partition"},
    {{"renpart", "A", "plusidedos"}, 1, "is taken"},
    {{"drive", "B", "c"}, 1, "already mapped to partition \"A\""},
    {{"drive", "S", "D"}, 1, "not a +3DOS partition"},
    {{"drive", "B", "Z"}, 1, "not one of A to P"},
    {{"drive", "B", "1"}, 2, "not a drive letter"},
    {{"drive", "PLUSIDEDOS", "C"}, 1, "is the system partition"},
    {{"empty", "S"}, 1, "not a +3DOS partition"},
    {{"empty", "PLUSIDEDOS"}, 1, "is the system partition"},
    {{"newpart", "X", "1M"}, 1, "damaged partition table", true},
    {{"delpart", "A"}, 1, "damaged partition table", true},
    {{"renpart", "A", "X"}, 1, "damaged partition table", true},
    {{"drive", "A", "-"}, 1, "damaged partition table", true},
    {{"empty", "A"}, 1, "damaged partition table", true},
};

// The 512-byte table sector k of an image whose table starts at LBA 0: in
// every format the tool writes, its bytes lie together after the header.
std::vector<uint8_t> tableBytes(const std::string& image)
{
    const auto b = readFile(image);
    const size_t dofs = std::string(b.begin(), b.begin() + 6) == "RS-IDE" ? p3tool::le16(&b[9]) : 0;
    return std::vector<uint8_t>(b.begin() + long(dofs), b.begin() + long(dofs) + 1024);
}

// Fields of showptable -backend that do not depend on the sector size:
// name, type, attr, size in bytes.
std::vector<std::string> partitions(const std::string& image)
{
    std::vector<std::string> rows;
    const auto l = lines(toolOk({image, "showptable", "-backend"}));
    for (size_t i = 2; i < l.size(); ++i) {
        const auto f = fields(l[i]);
        rows.push_back(f[0] + "," + f[1] + "," + f[2] + "," + f[9]);
    }
    return rows;
}

// The partition records of showptable -backend.
std::vector<std::string> rows(const std::string& showptable)
{
    const auto l = lines(showptable);
    return std::vector<std::string>(l.begin() + 2, l.end());
}

std::vector<uint8_t> get(const std::string& image, const std::string& partitionAndFile, const std::string& name)
{
    TempDir out;
    const ToolRun r = tool({image, "get", partitionAndFile, out.path + "/"});
    return r.code == 0 ? readFile(out / name) : std::vector<uint8_t>{};
}

}  // namespace

TEST(PartitionEdit, RefusalsWriteNothing)
{
    TempDir dir;
    const std::string image = dir / "d.raw";
    toolOk({image, "create", "--size", "4M"});
    toolOk({image, "newpart", "A", "1M", "--drive", "C"});
    toolOk({image, "newpart", "B", "1M"});
    toolOk({image, "newpart", "S", "1M", "--type", "swap"});
    const auto sound = readFile(image);
    // Slot 5 (unused): free space over B's tracks.
    auto damaged = sound;
    std::copy(sound.begin() + 64 * 2 + 0x11, sound.begin() + 64 * 2 + 0x1B, damaged.begin() + 64 * 5 + 0x11);
    damaged[64 * 5 + 0x10] = 0xFF;
    for (const Refusal& r : kRefusals) {
        const std::string label = r.args[0] + " " + r.args[1];
        writeFile(image, r.damaged ? damaged : sound);
        std::vector<std::string> args{image};
        args.insert(args.end(), r.args.begin(), r.args.end());
        const ToolRun run = tool(args);
        EXPECT_EQ(run.code, r.code) << label << ": " << run.err;
        EXPECT_NE(run.err.find(r.says), std::string::npos) << label << ": " << run.err;
        EXPECT_EQ(lines(run.err).size(), 1u) << label;
        EXPECT_EQ(run.out, "") << label;
        EXPECT_TRUE(readFile(image) == (r.damaged ? damaged : sound)) << label << " wrote to the medium";
    }
}

struct Format {
    const char* label;
    std::vector<std::string> options;
};

class PartitionFormats : public ::testing::TestWithParam<Format> {};

const Format kFormats[] = {
    {"hdf11", {}}, {"hdf10", {"--hdf10"}}, {"raw", {"--raw"}}, {"halved", {"--halved"}}};

TEST_P(PartitionFormats, EveryChangeIsLaidOutAsTheRomsDoAndPassesFsck)
{
    TempDir dir;
    const std::string image = dir / "d.hdf";
    std::vector<std::string> create{image, "create", "--size", "64M"};
    create.insert(create.end(), GetParam().options.begin(), GetParam().options.end());
    toolOk(create);
    toolOk({image, "newpart", "A", "1M", "--drive", "c"});
    toolOk({image, "newpart", "S", "1M", "--type", "swap"});
    toolOk({image, "newpart", "B", "5M"});
    toolOk({image, "newpart", "C", "9M"});
    const auto one = randomBytes(3000, 1), two = randomBytes(70000, 2), three = randomBytes(9000, 3);
    writeFile(dir / "one", one);
    writeFile(dir / "two", two);
    writeFile(dir / "three", three);
    toolOk({image, "put", dir / "one", "A:ONE.BIN"});
    toolOk({image, "put", dir / "two", "B:TWO.BIN"});
    toolOk({image, "put", dir / "three", "C:THREE.BIN"});
    toolOk({image, "renpart", "B", "Beta Games"});
    toolOk({image, "drive", "beta games", "d"});
    toolOk({image, "drive", "BETA GAMES", "E"});
    toolOk({image, "drive", "A", "-"});
    toolOk({image, "delpart", "S"});  // between two partitions: free space of its own
    toolOk({image, "delpart", "C"});  // merged with the free space after it
    toolOk({image, "newpart", "N", "1M"});  // fills S's tracks exactly
    toolOk({image, "empty", "A"});

    const auto t = tableBytes(image);
    auto entry = [&](unsigned i) { return &t[64 * i]; };
    auto track = [&](unsigned i, unsigned at) { return p3tool::le16(entry(i) + at) * 16u + entry(i)[at + 2]; };
    // A right after the system partition; N in S's slot and tracks; BETA;
    // then one free-space entry to the end of the disk in C's slot.
    EXPECT_EQ(track(1, 0x11), track(0, 0x14) + 1);
    EXPECT_EQ(std::string(entry(2), entry(2) + 16), "N               ");
    EXPECT_EQ(track(2, 0x11), track(1, 0x14) + 1);
    EXPECT_EQ(std::string(entry(3), entry(3) + 16), "Beta Games      ");
    EXPECT_EQ(entry(4)[0x10], 0xFF);
    EXPECT_EQ(track(4, 0x11), track(3, 0x14) + 1);
    EXPECT_EQ(p3tool::le16(entry(4) + 0x14) + 1u, p3tool::le16(entry(0) + 0x20));
    EXPECT_EQ(entry(4)[0x16] + 1u, entry(0)[0x22]);
    for (unsigned i = 0; i < 0x10; ++i)
        EXPECT_EQ(entry(4)[i], 0) << "free-space name byte " << i;
    for (unsigned i = 0x1B; i < 0x40; ++i)
        EXPECT_EQ(entry(4)[i], 0) << "free-space byte " << i;
    for (unsigned i = 64 * 5; i < 1024; ++i)
        ASSERT_EQ(t[i], 0) << "unused slots hold zeros only, byte " << i;
    // Drive letters, and the XDPB the +3e gives each size.
    EXPECT_EQ(entry(1)[0x3C], 0);
    EXPECT_EQ(entry(3)[0x3C], 'E');
    EXPECT_EQ(entry(2)[0x3C], 0);
    for (const auto& [slot, mb] : {std::pair{1u, 1u}, {2u, 1u}, {3u, 5u}}) {
        uint8_t x[28] = {};
        p3tool::DiskParams::plus3e(mb).toXdpb(x);
        x[0x12] = uint8_t(16 * mb);
        x[0x13] = 0x80;
        x[0x16] = 0x02;
        EXPECT_TRUE(std::equal(x, x + 28, entry(slot) + 0x20)) << "XDPB of slot " << slot;
        EXPECT_EQ(entry(slot)[0x10], 3);
    }

    // 256/16/32 of 512-byte sectors, or of 256-byte ones on an 8-bit disk.
    const uint64_t sectorBytes = GetParam().options == std::vector<std::string>{"--halved"} ? 256 : 512;
    const uint64_t trackBytes = 32 * sectorBytes;
    EXPECT_EQ(partitions(image),
              (std::vector<std::string>{"PLUSIDEDOS,1,," + std::to_string(trackBytes), "A,3,,1048576", "N,3,,1048576",
                                        "Beta Games,3,E:," + std::to_string(5 << 20),
                                        ",255,," + std::to_string(256 * 16 * trackBytes - trackBytes - (7 << 20))}));
    toolOk({image, "check"});
    for (const char* p : {"A", "N", "Beta Games"})
        CpmTools(image, p).fsck();
    EXPECT_EQ(lines(toolOk({image, "dir", "A", "-backend"})).size(), 1u);
    EXPECT_EQ(get(image, "BETA GAMES:TWO.BIN", "TWO.BIN"), two);
    toolOk({image, "put", dir / "three", "N:THREE.BIN"});
    EXPECT_EQ(get(image, "N:THREE.BIN", "THREE.BIN"), three);
}

INSTANTIATE_TEST_SUITE_P(Formats, PartitionFormats, ::testing::ValuesIn(kFormats),
                         [](const auto& info) { return std::string(info.param.label); });

struct Cut {
    const char* label;
    std::vector<std::string> prepare;  // newpart of 1M partitions before the change
    std::vector<std::string> args;     // the change, after the medium
    // The change needs entries in two table sectors, so it takes several
    // writes: cut off between them, the partitions are as before or after
    // and nothing overlaps, but free space may be listed apart or not at all.
    bool crossesSectors = false;
};

const Cut kCuts[] = {
    {"newpart", {}, {"newpart", "N", "4M"}},
    {"newpartSwap", {}, {"newpart", "N", "1M", "--type", "swap"}},
    {"newpartFullSector", {"P4", "P5", "P6"}, {"newpart", "N", "1M"}, true},
    {"delpartMerging", {}, {"delpart", "B"}},
    {"delpartAcrossSectors", {"P4", "P5", "P6", "P7"}, {"delpart", "P7"}, true},
    {"delpartBetween", {}, {"delpart", "S"}},
    {"renpart", {}, {"renpart", "A", "APPS"}},
    {"drive", {}, {"drive", "A", "d"}},
    {"empty", {}, {"empty", "A"}},
};

TEST(PartitionEdit, ACutAtEveryWriteLeavesTheTableBeforeOrAfter)
{
    Disarm disarm;
    TempDir dir;
    const std::string image = dir / "d.raw";
    toolOk({image, "create", "--size", "12M"});
    toolOk({image, "newpart", "A", "1M", "--drive", "C"});
    // Twenty files: A's directory entries span two sectors.
    std::vector<std::vector<uint8_t>> files;
    for (unsigned i = 0; i < 20; ++i) {
        files.push_back(randomBytes(600 + 900 * i, 10 + i));
        writeFile(dir / "f", files.back());
        toolOk({image, "put", dir / "f", "A:F" + std::to_string(i) + ".BIN"});
    }
    toolOk({image, "newpart", "S", "1M", "--type", "swap"});
    toolOk({image, "newpart", "B", "2M"});
    writeFile(dir / "f", files[3]);
    toolOk({image, "put", dir / "f", "B:KEEP.BIN"});
    const auto base = readFile(image);
    // Byte ranges of A and B in the image.
    std::vector<std::pair<uint64_t, uint64_t>> kept;
    for (const auto& row : rows(toolOk({image, "showptable", "-backend"})))
        if (fields(row)[0] == "A" || fields(row)[0] == "B")
            kept.emplace_back(std::stoull(fields(row)[7]) * 512, (std::stoull(fields(row)[8]) + 1) * 512);
    ASSERT_EQ(kept.size(), 2u);
    CpmTools(image, "A").fsck();
    CpmTools(image, "B").fsck();

    for (const Cut& c : kCuts) {
        writeFile(image, base);
        for (const auto& name : c.prepare)
            toolOk({image, "newpart", name, "1M"});
        const auto pristine = readFile(image);
        const std::string before = toolOk({image, "showptable", "-backend"});
        std::vector<std::string> args{image};
        args.insert(args.end(), c.args.begin(), c.args.end());
        p3tool::WriteFaults::failAfter(1u << 30);
        toolOk(args);
        const uint64_t writes = p3tool::WriteFaults::writesSeen();
        p3tool::WriteFaults::disarm();
        const auto after = rows(toolOk({image, "showptable", "-backend"}));
        if (c.args[0] != "empty")
            EXPECT_NE(rows(before), after) << c.label;
        auto partitionsOnly = [](std::vector<std::string> r) {
            r.erase(std::remove_if(r.begin(), r.end(), [](const std::string& x) { return fields(x)[1] == "255"; }),
                    r.end());
            return r;
        };
        ASSERT_GE(writes, c.crossesSectors ? 2u : 1u) << c.label;
        // Free space is listed merged: no free-space entry ends where another begins.
        for (const auto& x : after)
            for (const auto& y : after)
                if (fields(x)[1] == "255" && fields(y)[1] == "255")
                    EXPECT_NE(std::stoull(fields(x)[8]) + 1, std::stoull(fields(y)[7])) << c.label;

        for (uint64_t k = 0; k < writes; ++k) {
            writeFile(image, pristine);
            p3tool::WriteFaults::failAfter(k);
            const ToolRun r = tool(args);
            p3tool::WriteFaults::disarm();
            EXPECT_EQ(r.code, 1) << c.label << " cut after " << k;
            toolOk({image, "check"});
            const std::string text = toolOk({image, "showptable", "-backend"});
            const auto now = rows(text);
            const bool between = c.crossesSectors && (partitionsOnly(now) == partitionsOnly(rows(before)) ||
                                                      partitionsOnly(now) == partitionsOnly(after));
            EXPECT_TRUE(now == rows(before) || now == after || between)
                << c.label << " cut after " << k << ":\n" << text;
            // A's and B's bytes untouched, except that emptying A leaves
            // each of its files whole or gone; a new partition sound.
            const auto bytes = readFile(image);
            EXPECT_TRUE(std::equal(bytes.begin() + long(kept[1].first), bytes.begin() + long(kept[1].second),
                                   pristine.begin() + long(kept[1].first)))
                << c.label << " cut after " << k << " changed B";
            if (c.args[0] != "empty") {
                EXPECT_TRUE(std::equal(bytes.begin() + long(kept[0].first), bytes.begin() + long(kept[0].second),
                                       pristine.begin() + long(kept[0].first)))
                    << c.label << " cut after " << k << " changed A";
            } else {
                for (unsigned i = 0; i < 20; ++i) {
                    const std::string name = "F" + std::to_string(i) + ".BIN";
                    const auto back = get(image, "A:" + name, name);
                    if (!back.empty())
                        EXPECT_EQ(back, files[i]) << c.label << " cut after " << k << ": " << name;
                }
                CpmTools(image, "A").fsck();
            }
            for (const auto& row : now)
                if (fields(row)[1] == "3" && fields(row)[0] != "A" && fields(row)[0] != "B" && fields(row)[0] != "APPS")
                    CpmTools(image, fields(row)[0]).fsck();
        }
    }
}
