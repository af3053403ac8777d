// newpart, delpart, renpart, drive and empty: what they refuse leaves the
// medium untouched; what they make is laid out as the +3e lays it out,
// passes check and fsck.cpm and reads the same in every image format; and a
// medium cut off at any of their writes keeps a sound table.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "bytes.h"
#include "cpm_params.h"
#include "storage.h"
#include "test_support.h"

using namespace tooltest;

namespace {

struct Disarm {
    ~Disarm() { p3tool::WriteFaults::disarm(); }
};

// The medium, then the words of a command line.
std::vector<std::string> command(const std::string& image, const std::string& words)
{
    std::vector<std::string> args{image};
    std::istringstream in(words);
    for (std::string w; in >> w;)
        args.push_back(w == "''" ? "" : w);
    return args;
}

// The partition records of showptable -backend.
std::vector<std::string> rows(const std::string& image)
{
    const auto l = lines(toolOk({image, "showptable", "-backend"}));
    return std::vector<std::string>(l.begin() + 2, l.end());
}

std::vector<uint8_t> get(const std::string& image, const std::string& partition, const std::string& name)
{
    TempDir out;
    const ToolRun r = tool({image, "get", partition + ":" + name, out.path + "/"});
    return r.code == 0 ? readFile(out / name) : std::vector<uint8_t>{};
}

struct Refusal {
    const char* words;
    int code;
    const char* says;
    bool damaged = false;  // a free-space entry laid over partition B first
};

const Refusal kRefusals[] = {
    {"newpart '' 1M", 1, "1 to 16 characters"},
    {"newpart b 1M", 1, "is taken: \"B\""},
    {"newpart X 1M --drive c", 1, "drive C: is already mapped to partition \"A\""},
    {"newpart X 1M --drive Q", 1, "not one of A to P"},
    {"newpart X 1M --type swap --drive D", 1, "only a +3DOS partition"},
    {"newpart X 16M", 1, "no free space of 16 MB"},
    {"newpart X 1M --type fat", 2, "--type is plus3dos or swap"},
    {"delpart PLUSIDEDOS", 1, "is the system partition"},
    {"delpart NONE", 1, "no partition named \"NONE\""},
    {"renpart A b", 1, "is taken"},
    {"renpart A plusidedos", 1, "is taken"},
    {"renpart plusidedos X", 1, "is the system partition"},
    {"drive B c", 1, "already mapped to partition \"A\""},
    {"drive S D", 1, "not a +3DOS partition"},
    {"drive B Z", 1, "not one of A to P"},
    {"drive B 1", 2, "not a drive letter"},
    {"empty S", 1, "not a +3DOS partition"},
    {"empty PLUSIDEDOS", 1, "is the system partition"},
    {"newpart X 1M", 1, "damaged partition table", true},
    {"delpart A", 1, "damaged partition table", true},
    {"renpart A X", 1, "damaged partition table", true},
    {"drive A -", 1, "damaged partition table", true},
    {"empty A", 1, "damaged partition table", true},
};

}  // namespace

TEST(PartitionEdit, RefusalsWriteNothing)
{
    TempDir dir;
    const std::string image = dir / "d.raw";
    toolOk({image, "create", "--size", "4M"});
    toolOk(command(image, "newpart A 1M --drive C"));
    toolOk(command(image, "newpart B 1M"));
    toolOk(command(image, "newpart S 1M --type swap"));
    const auto sound = readFile(image);
    auto damaged = sound;  // unused slot 5 := free space over B's tracks
    std::copy(sound.begin() + 64 * 2 + 0x11, sound.begin() + 64 * 2 + 0x1B, damaged.begin() + 64 * 5 + 0x11);
    damaged[64 * 5 + 0x10] = 0xFF;
    for (const Refusal& r : kRefusals) {
        writeFile(image, r.damaged ? damaged : sound);
        const ToolRun run = tool(command(image, r.words));
        EXPECT_EQ(run.code, r.code) << r.words << ": " << run.err;
        EXPECT_NE(run.err.find(r.says), std::string::npos) << r.words << ": " << run.err;
        EXPECT_EQ(lines(run.err).size(), 1u) << r.words;
        EXPECT_TRUE(readFile(image) == (r.damaged ? damaged : sound)) << r.words << " wrote to the medium";
    }
}

class PartitionFormats : public ::testing::TestWithParam<const char*> {};

TEST_P(PartitionFormats, EveryChangeIsLaidOutAsTheRomsDoAndPassesFsck)
{
    TempDir dir;
    const std::string image = dir / "d.hdf";
    toolOk(command(image, std::string("create --size 64M ") + GetParam()));  // 256/16/32
    for (const char* words : {"newpart A 1M --drive c", "newpart S 1M --type swap", "newpart B 5M", "newpart C 9M"})
        toolOk(command(image, words));
    const auto two = randomBytes(70000, 2);
    writeFile(dir / "two", two);
    toolOk({image, "put", dir / "two", "A:ONE.BIN"});
    toolOk({image, "put", dir / "two", "B:TWO.BIN"});
    toolOk({image, "put", dir / "two", "C:THREE.BIN"});
    toolOk({image, "renpart", "B", "Beta Games"});
    toolOk({image, "drive", "beta games", "d"});
    toolOk({image, "drive", "BETA GAMES", "E"});
    // S between two partitions becomes free space of its own; C merges with
    // the free space after it; N fills S's tracks exactly.
    for (const char* words : {"drive A -", "delpart S", "delpart C", "newpart N 1M", "empty A"})
        toolOk(command(image, words));

    // The table sector, whatever the format: right after the header.
    const auto b = readFile(image);
    const size_t dofs = b[0] == 'R' ? p3tool::le16(&b[9]) : 0;
    const std::vector<uint8_t> t(b.begin() + long(dofs), b.begin() + long(dofs) + 512);
    auto at = [&](unsigned slot, unsigned offset) { return &t[64 * slot + offset]; };
    auto track = [&](unsigned slot, unsigned offset) {
        return p3tool::le16(at(slot, offset)) * 16u + *at(slot, offset + 2);
    };
    // Whole tracks one after another from the system partition on, the free
    // space in C's slot up to the last track; then zeros only.
    for (unsigned slot = 1; slot <= 4; ++slot)
        EXPECT_EQ(track(slot, 0x11), track(slot - 1, 0x14) + 1) << slot;
    EXPECT_EQ(track(4, 0x14), 256u * 16 - 1);
    EXPECT_EQ(std::string(at(2, 0), at(2, 16)), "N               ");
    std::vector<uint8_t> freeEntry(at(4, 0), at(4, 64)), expected(64, 0);
    std::fill(freeEntry.begin() + 0x11, freeEntry.begin() + 0x1B, 0);  // extent
    expected[0x10] = 0xFF;
    EXPECT_EQ(freeEntry, expected);
    EXPECT_TRUE(std::all_of(at(5, 0), t.data() + t.size(), [](uint8_t x) { return x == 0; }));
    EXPECT_EQ(*at(1, 0x3C), 0);
    EXPECT_EQ(*at(3, 0x3C), 'E');
    for (const auto& [slot, mb] : {std::pair{1u, 1u}, {2u, 1u}, {3u, 5u}}) {
        uint8_t x[28] = {};
        p3tool::DiskParams::plus3e(mb).toXdpb(x);
        x[0x12] = uint8_t(16 * mb);  // tracks, 128 sectors each of 512 bytes
        x[0x13] = 0x80;
        x[0x16] = 0x02;
        EXPECT_TRUE(std::equal(x, x + 28, at(slot, 0x20))) << "XDPB of slot " << slot;
    }

    // Sizes in bytes as on a 16-bit disk, the table's track and the free
    // space aside (an 8-bit disk's sectors hold half as much).
    const uint64_t trackBytes = std::string(GetParam()) == "--halved" ? 32 * 256 : 32 * 512;
    EXPECT_EQ(rows(image).size(), 5u);
    std::vector<std::string> kept;
    for (const auto& row : rows(image)) {
        const auto f = fields(row);
        kept.push_back(f[0] + "," + f[1] + "," + f[2] + "," + f[9]);
    }
    EXPECT_EQ(kept, (std::vector<std::string>{"PLUSIDEDOS,1,," + std::to_string(trackBytes), "A,3,,1048576",
                                              "N,3,,1048576", "Beta Games,3,E:," + std::to_string(5 << 20),
                                              ",255,," + std::to_string(4095 * trackBytes - (7 << 20))}));
    toolOk({image, "check"});
    for (const char* p : {"A", "N", "Beta Games"})
        CpmTools(image, p).fsck();
    EXPECT_EQ(lines(toolOk({image, "dir", "A", "-backend"})).size(), 1u);
    EXPECT_EQ(get(image, "BETA GAMES", "TWO.BIN"), two);
    toolOk({image, "put", dir / "two", "N:TWO.BIN"});
    EXPECT_EQ(get(image, "N", "TWO.BIN"), two);
}

INSTANTIATE_TEST_SUITE_P(Formats, PartitionFormats, ::testing::Values("", "--hdf10", "--raw", "--halved"),
                         [](const auto& info) { return std::string(info.param[0] ? info.param + 2 : "hdf11"); });

namespace {

struct Cut {
    const char* prepare;  // 1 MB partitions made before the change
    const char* words;
    // The change needs entries in two table sectors, so it takes several
    // writes: cut off between them, the partitions are as before or after
    // and nothing overlaps, but free space may be listed apart or not at all.
    bool crossesSectors = false;
};

const Cut kCuts[] = {
    {"", "newpart N 4M"},
    {"", "newpart N 1M --type swap"},
    {"P4 P5 P6", "newpart N 1M", true},
    {"", "delpart B"},  // merging with the free space after it
    {"", "delpart S"},
    {"P4 P5 P6 P7", "delpart P7", true},
    {"", "renpart A APPS"},
    {"", "drive A d"},
    {"", "empty A"},
};

std::vector<std::string> withoutFreeSpace(std::vector<std::string> r)
{
    r.erase(std::remove_if(r.begin(), r.end(), [](const std::string& x) { return fields(x)[1] == "255"; }), r.end());
    return r;
}

}  // namespace

TEST(PartitionEdit, ACutAtEveryWriteLeavesTheTableBeforeOrAfter)
{
    Disarm disarm;
    TempDir dir;
    const std::string image = dir / "d.raw";
    toolOk({image, "create", "--size", "12M"});
    toolOk(command(image, "newpart A 1M --drive C"));
    std::vector<std::vector<uint8_t>> files;  // twenty: A's directory spans two sectors
    for (unsigned i = 0; i < 20; ++i) {
        files.push_back(randomBytes(600 + 900 * i, 10 + i));
        writeFile(dir / "f", files.back());
        toolOk({image, "put", dir / "f", "A:F" + std::to_string(i) + ".BIN"});
    }
    toolOk(command(image, "newpart S 1M --type swap"));
    toolOk(command(image, "newpart B 2M"));
    toolOk({image, "put", dir / "f", "B:KEEP.BIN"});
    const auto base = readFile(image);
    const auto baseRows = rows(image);
    auto bytesOf = [&](const std::vector<uint8_t>& image, unsigned row) {
        const auto f = fields(baseRows[row]);
        return std::vector<uint8_t>(image.begin() + long(std::stoull(f[7]) * 512),
                                    image.begin() + long((std::stoull(f[8]) + 1) * 512));
    };

    for (const Cut& c : kCuts) {
        writeFile(image, base);
        std::istringstream names(c.prepare);
        for (std::string name; names >> name;)
            toolOk({image, "newpart", name, "1M"});
        const auto pristine = readFile(image);
        const auto before = rows(image);
        p3tool::WriteFaults::failAfter(1u << 30);
        toolOk(command(image, c.words));
        const uint64_t writes = p3tool::WriteFaults::writesSeen();
        p3tool::WriteFaults::disarm();
        const auto after = rows(image);
        ASSERT_GE(writes, c.crossesSectors ? 2u : 1u) << c.words;
        // Free space is listed merged: no free-space entry ends where another begins.
        for (const auto& x : after)
            for (const auto& y : after)
                if (fields(x)[1] == "255" && fields(y)[1] == "255") {
                    EXPECT_NE(std::stoull(fields(x)[8]) + 1, std::stoull(fields(y)[7])) << c.words;
                }

        for (uint64_t k = 0; k < writes; ++k) {
            writeFile(image, pristine);
            p3tool::WriteFaults::failAfter(k);
            EXPECT_EQ(tool(command(image, c.words)).code, 1) << c.words << " cut after " << k;
            p3tool::WriteFaults::disarm();
            toolOk({image, "check"});
            const auto now = rows(image);
            EXPECT_TRUE(now == before || now == after ||
                        (c.crossesSectors && (withoutFreeSpace(now) == withoutFreeSpace(before) ||
                                              withoutFreeSpace(now) == withoutFreeSpace(after))))
                << c.words << " cut after " << k;
            // B's bytes untouched, and A's unless it is emptied: then each
            // of its files is whole or gone.
            const auto bytes = readFile(image);
            EXPECT_TRUE(bytesOf(bytes, 3) == bytesOf(pristine, 3)) << c.words << " cut after " << k;
            const bool emptying = std::string(c.words) == "empty A";
            if (!emptying) {
                EXPECT_TRUE(bytesOf(bytes, 1) == bytesOf(pristine, 1)) << c.words << " cut after " << k;
            }
            for (unsigned i = 0; emptying && i < 20; ++i) {
                const auto back = get(image, "A", "F" + std::to_string(i) + ".BIN");
                EXPECT_TRUE(back.empty() || back == files[i]) << "cut after " << k << ": F" << i;
            }
            for (const auto& row : now) {
                const auto f = fields(row);
                if (f[1] == "3" && (emptying || (f[0] != "A" && f[0] != "APPS" && f[0] != "B")))
                    CpmTools(image, f[0]).fsck();
            }
        }
    }
}
