// Cards as a desktop user meets them: the IDEDOS disk inside a PC partition
// of type 7F, media handed over as an open descriptor, and (as root) loop
// devices standing in for card readers: scan, reads and writes, a mounted
// partition, a user who may not open the device.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "test_support.h"

using namespace tooltest;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes slice(const Bytes& b, uint64_t from, uint64_t length) { return Bytes(b.begin() + from, b.begin() + from + length); }

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// A card shared with a PC: a PC partition table, a FAT-sized partition in
// slot 1 and the IDEDOS disk in a type-7F partition in slot 2; every other
// byte random, so that any stray write shows.
struct SharedLayout {
    const char* label;
    uint32_t fatStart, fatSectors, idedosStart, idedosSectors;
    std::vector<std::string> createOptions;
    bool hdfHeader;  // the whole card wrapped in an HDF
};

const uint64_t kDiskSectors = 16384;  // the IDEDOS disk: 8 MB, 32/16/32

const SharedLayout kShared[] = {
    {"afterFat", 2048, 8192, 10240, kDiskSectors, {}, false},
    {"tableAtHead1", 2048, 8192, 10240, kDiskSectors, {"--table-at-head1"}, false},
    // Starts where a whole-disk table at C0/H1 could be: must still count from 63.
    {"withinFirstTrack", 1, 62, 63, kDiskSectors, {}, false},
    {"inHdf", 2048, 8192, 10240, kDiskSectors, {}, true},
    // The partition ends before the disk its table describes.
    {"shorterThanItsDisk", 2048, 8192, 10240, kDiskSectors / 2, {}, false},
};

// Returns the offset of the IDEDOS disk in the file.
uint64_t writeSharedDisk(const std::string& path, const Bytes& idedos, const SharedLayout& l)
{
    const uint64_t sectors = uint64_t(l.idedosStart) + l.idedosSectors + 2048;
    Bytes card = randomBytes(size_t(sectors * 512), 99);
    std::fill(card.begin(), card.begin() + 0x1BE, 0);
    auto entry = [&](int slot, uint8_t type, uint32_t first, uint32_t count) {
        uint8_t* e = &card[0x1BE + 16 * slot];
        std::fill(e, e + 16, 0);
        e[4] = type;
        for (int i = 0; i < 4; ++i) {
            e[8 + i] = uint8_t(first >> (8 * i));
            e[12 + i] = uint8_t(count >> (8 * i));
        }
    };
    entry(0, 0x0C, l.fatStart, l.fatSectors);
    entry(1, 0x7F, l.idedosStart, l.idedosSectors);
    entry(2, 0, 0, 0);
    entry(3, 0, 0, 0);
    card[0x1FE] = 0x55;
    card[0x1FF] = 0xAA;
    const uint64_t at = uint64_t(l.idedosStart) * 512;
    std::copy(idedos.begin(), idedos.begin() + std::min<uint64_t>(idedos.size(), uint64_t(l.idedosSectors) * 512),
              card.begin() + at);
    uint64_t dofs = 0;
    if (l.hdfHeader) {
        TempDir t;
        toolOk({t / "h.hdf", "create", "--size", "8M"});
        const Bytes hdf = readFile(t / "h.hdf");
        dofs = hdf[9] | (hdf[10] << 8);
        card.insert(card.begin(), hdf.begin(), hdf.begin() + dofs);
    }
    writeFile(path, card);
    return dofs + at;
}

void PrintTo(const SharedLayout& l, std::ostream* os) { *os << l.label; }

class SharedDisk : public ::testing::TestWithParam<SharedLayout> {};

}  // namespace

TEST_P(SharedDisk, CommandsWorkInsideThePartitionAndNothingOutsideChanges)
{
    const SharedLayout& l = GetParam();
    TempDir dir;
    const std::string alone = dir / "alone.raw", card = dir / "card.img";
    std::vector<std::string> create{alone, "create", "--size", "8M"};
    create.insert(create.end(), l.createOptions.begin(), l.createOptions.end());
    toolOk(create);
    toolOk({alone, "newpart", "GAMES", "2M"});
    const uint64_t at = writeSharedDisk(card, readFile(alone), l);
    const uint64_t length = uint64_t(l.idedosSectors) * 512;
    const Bytes before = readFile(card);

    EXPECT_TRUE(contains(toolOk({card, "showptable"}), "in PC partition 2 (type 7F), starting at LBA " +
                                                            std::to_string(l.idedosStart) + " of the medium"));
    EXPECT_EQ(toolOk({card, "showptable", "-backend"}), toolOk({alone, "showptable", "-backend"}));
    writeFile(dir / "f.bin", randomBytes(30000, 5));
    const std::vector<std::vector<std::string>> writes{{"newpart", "MORE", "1M"}, {"put", dir / "f.bin", "GAMES:F.BIN"}};
    for (const auto& w : writes) {
        std::vector<std::string> onAlone{alone}, onCard{card};
        onAlone.insert(onAlone.end(), w.begin(), w.end());
        onCard.insert(onCard.end(), w.begin(), w.end());
        toolOk(onAlone);
        const ToolRun r = tool(onCard);
        if (l.idedosSectors < kDiskSectors) {
            // Free space reaching past the partition: refused, never written.
            EXPECT_NE(r.code, 0) << w[0];
            break;
        }
        EXPECT_EQ(r.code, 0) << w[0] << ": " << r.err;
    }
    const Bytes after = readFile(card);
    if (l.idedosSectors < kDiskSectors) {
        EXPECT_EQ(after, before);
        return;
    }
    EXPECT_EQ(slice(after, 0, at), slice(before, 0, at));
    EXPECT_EQ(slice(after, at + length, after.size() - at - length), slice(before, at + length, after.size() - at - length));
    EXPECT_EQ(slice(after, at, length), readFile(alone));
}

INSTANTIATE_TEST_SUITE_P(Layouts, SharedDisk, ::testing::ValuesIn(kShared),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(Descriptor, MediaPassedOpenAreUsedAsTheyAre)
{
    TempDir dir;
    const std::string image = dir / "d.hdf";
    toolOk({image, "create", "--size", "8M"});
    toolOk({image, "newpart", "GAMES", "1M"});
    writeFile(dir / "f.bin", randomBytes(3000, 2));
    struct Case {
        int flags;  // -1: a descriptor number not open
        std::vector<std::string> command;
        int code;
        std::string message;
    };
    const Case cases[] = {
        {O_RDONLY, {"dir", "GAMES", "-backend"}, 0, ""},
        {O_RDONLY, {"put", dir / "f.bin", "GAMES:F.BIN"}, 1, "was opened read-only; this command writes"},
        {O_WRONLY, {"dir", "GAMES"}, 1, "was opened for writing only"},
        {-1, {"dir", "GAMES"}, 1, "is not a descriptor left open for this program"},
        {O_RDWR, {"put", dir / "f.bin", "GAMES:F.BIN"}, 0, ""},
    };
    for (const Case& c : cases) {
        const Bytes before = readFile(image);
        const int fd = c.flags < 0 ? 250 : ::open(image.c_str(), c.flags | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        std::vector<std::string> args{"/dev/fd/" + std::to_string(fd)};
        args.insert(args.end(), c.command.begin(), c.command.end());
        const ToolRun r = tool(args);
        EXPECT_EQ(r.code, c.code) << c.command[0] << " " << c.flags << ": " << r.err;
        EXPECT_TRUE(contains(r.err, c.message)) << r.err;
        if (c.flags >= 0) {
            EXPECT_EQ(::fcntl(fd, F_GETFD), FD_CLOEXEC) << "the caller's descriptor stays open";
            ::close(fd);
        }
        if (c.code != 0) {
            EXPECT_EQ(readFile(image), before);
        }
    }
    EXPECT_EQ(readFile(dir / "f.bin"), [&] {
        TempDir out;
        toolOk({image, "get", "GAMES:F.BIN", out.path + "/"});
        return readFile(out / "F.BIN");
    }());
}

TEST(Descriptor, APassedDescriptorIsLockedForTheRunOnly)
{
    TempDir dir;
    const std::string image = dir / "d.hdf";
    toolOk({image, "create", "--size", "8M"});
    toolOk({image, "newpart", "GAMES", "1M"});
    writeFile(dir / "f.bin", randomBytes(1000, 8));
    const int passed = ::open(image.c_str(), O_RDWR | O_CLOEXEC);
    const int other = ::open(image.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(passed, 0);
    ASSERT_GE(other, 0);
    const std::string medium = "/dev/fd/" + std::to_string(passed);
    // Another program reading: the write through the descriptor waits, then gives up.
    ASSERT_EQ(::flock(other, LOCK_SH), 0);
    const ToolRun busy = tool({medium, "put", dir / "f.bin", "GAMES:F.BIN"});
    EXPECT_EQ(busy.code, 1);
    EXPECT_TRUE(contains(busy.err, "medium is busy")) << busy.err;
    ::flock(other, LOCK_UN);
    toolOk({medium, "put", dir / "f.bin", "GAMES:F.BIN"});
    // The caller still has the open file, but no lock is left on it.
    EXPECT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
    ::close(passed);
    ::close(other);
}

namespace {

// Root only: loop devices over images, always detached again.
class LoopDevices : public ::testing::Test {
protected:
    struct Loop {
        std::string device;
        ~Loop()
        {
            if (!device.empty())
                shell("/", "losetup -d " + device);
        }
    };
    struct Mount {
        std::string point;
        ~Mount() { unmount(); }
        void unmount()
        {
            if (!point.empty() && shell("/", "umount '" + point + "' || umount -l '" + point + "'") == 0)
                point.clear();
        }
    };

    void SetUp() override
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "loop devices need root";
        ::chmod(dir.path.c_str(), 0755);  // the unprivileged runs read host files here
    }
    // Attaches an image; with partitions, their nodes exist on return. Skips
    // the test when loop devices are not permitted here.
    void attach(Loop& loop, const std::string& image, bool partitions)
    {
        std::string out;
        if (shell("/", std::string("losetup -f --show ") + (partitions ? "-P " : "") + "'" + image + "'", &out) != 0)
            GTEST_SKIP() << "losetup not permitted: " << out;
        loop.device = out.substr(0, out.find('\n'));
        // Without udev the partitions may need adding by hand.
        if (partitions && ::access((loop.device + "p1").c_str(), F_OK) != 0)
            shell("/", "partx -a " + loop.device);
    }
    ToolRun asNobody(const std::string& arguments)
    {
        std::string out;
        const int code = shell(dir.path, "setpriv --reuid=nobody --regid=nogroup --clear-groups " +
                                             std::string(HARNWICK_TOOL_EXE) + " " + arguments, &out);
        return ToolRun{code, out, out};
    }
    TempDir dir;
};

}  // namespace

TEST_F(LoopDevices, ScanReadWriteAndFlushThroughTheDevice)
{
    const std::string image = dir / "card.raw";
    toolOk({image, "create", "--size", "16M"});
    toolOk({image, "newpart", "GAMES", "2M"});
    Loop loop;
    attach(loop, image, false);
    if (HasFatalFailure() || IsSkipped())
        return;

    ::unsetenv("HARNWICK_SCAN_EXTRA");
    bool listed = false;
    for (const auto& line : lines(toolOk({"scan", "-backend"})))
        if (fields(line)[0] == loop.device) {
            listed = true;
            EXPECT_EQ(fields(line)[1], std::to_string(16 * 1024 * 1024));
            EXPECT_EQ(fields(line)[5], "1");
        }
    EXPECT_TRUE(listed);
    EXPECT_TRUE(contains(toolOk({loop.device, "showptable"}), "Layout: block device"));

    const Bytes data = randomBytes(100000, 3);
    writeFile(dir / "big.bin", data);
    toolOk({loop.device, "put", dir / "big.bin", "GAMES:BIG.BIN"});
    TempDir out;
    toolOk({loop.device, "get", "GAMES:BIG.BIN", out.path + "/"});
    EXPECT_EQ(readFile(out / "BIG.BIN"), data);
    // Flushed: the image behind the device holds the file when the command ends.
    TempDir fromImage;
    toolOk({image, "get", "GAMES:BIG.BIN", fromImage.path + "/"});
    EXPECT_EQ(readFile(fromImage / "BIG.BIN"), data);
}

TEST_F(LoopDevices, SharedCardWithAMountedPartitionRefusesWritesUntilUnmounted)
{
    TempDir work;
    toolOk({work / "alone.raw", "create", "--size", "8M"});
    toolOk({work / "alone.raw", "newpart", "GAMES", "2M"});
    const std::string card = dir / "card.img";
    const SharedLayout& l = kShared[0];
    const uint64_t at = writeSharedDisk(card, readFile(work / "alone.raw"), l);
    const uint64_t length = uint64_t(l.idedosSectors) * 512;
    Loop loop;
    attach(loop, card, true);
    if (HasFatalFailure() || IsSkipped())
        return;
    const std::string fat = loop.device + "p1";
    ASSERT_EQ(::access(fat.c_str(), F_OK), 0) << "no partition nodes for " << loop.device;

    Mount mount;
    mount.point = dir / "fat card";  // listed as fat\040card in the mount table
    ::mkdir(mount.point.c_str(), 0755);
    std::string out;
    // A kernel without FAT support mounts the same partition as ext2: what
    // is tested is the refusal, not the file system.
    if (shell("/", "mkfs.vfat " + fat + " && mount -t vfat " + fat + " '" + mount.point + "'", &out) != 0 &&
        shell("/", "mkfs.ext2 -q " + fat + " && mount " + fat + " '" + mount.point + "'", &out) != 0) {
        mount.point.clear();
        GTEST_SKIP() << "cannot mount a partition here: " << out;
    }

    EXPECT_TRUE(contains(toolOk({loop.device, "showptable"}), "in PC partition 2 (type 7F), starting at LBA 10240"));
    writeFile(dir / "f.bin", randomBytes(5000, 4));
    const Bytes idedosBefore = slice(readFile(card), at, length);
    for (const std::vector<std::string>& write :
         {std::vector<std::string>{"put", dir / "f.bin", "GAMES:F.BIN"}, {"newpart", "MORE", "1M"}, {"delpart", "GAMES"}}) {
        std::vector<std::string> args{loop.device};
        args.insert(args.end(), write.begin(), write.end());
        const ToolRun r = tool(args);
        EXPECT_EQ(r.code, 1) << write[0];
        EXPECT_TRUE(contains(r.err, "device " + loop.device + " is in use: mounted at " + mount.point + " (" + fat + ")"))
            << r.err;
    }
    EXPECT_EQ(lines(toolOk({loop.device, "dir", "GAMES", "-backend"})).size(), 1u);  // reading goes on
    EXPECT_EQ(slice(readFile(card), at, length), idedosBefore);

    mount.unmount();
    ASSERT_TRUE(mount.point.empty());
    const Bytes outsideBefore = readFile(card);
    toolOk({loop.device, "put", dir / "f.bin", "GAMES:F.BIN"});
    const Bytes after = readFile(card);
    EXPECT_EQ(slice(after, 0, at), slice(outsideBefore, 0, at));
    EXPECT_EQ(slice(after, at + length, after.size() - at - length),
              slice(outsideBefore, at + length, after.size() - at - length));
    EXPECT_EQ(lines(toolOk({card, "dir", "GAMES", "-backend"})).size(), 2u);
}

TEST_F(LoopDevices, AUserWithoutAccessIsToldWhatToDoAndAPassedDescriptorWorks)
{
    const std::string image = dir / "card.raw";
    toolOk({image, "create", "--size", "8M"});
    toolOk({image, "newpart", "GAMES", "1M"});
    writeFile(dir / "f.bin", randomBytes(2000, 6));
    ::chmod((dir / "f.bin").c_str(), 0644);
    Loop loop;
    attach(loop, image, false);
    if (HasFatalFailure() || IsSkipped())
        return;
    ::chmod(loop.device.c_str(), 0600);
    const std::string& dev = loop.device;

    struct Case {
        std::string arguments;
        int code;
        std::string message;
    };
    const Case cases[] = {
        {dev + " dir GAMES", 1,
         "cannot open device " + dev + " for reading: Permission denied; add yourself to the disk group, or run with udisks2"},
        {dev + " put f.bin GAMES:F.BIN", 1, "cannot open device " + dev + " for writing: Permission denied; add yourself"},
        {"/dev/fd/7 put f.bin GAMES:F.BIN 7<" + dev, 1, "/dev/fd/7 was opened read-only"},
        {"/dev/fd/7 put f.bin GAMES:F.BIN 7<>" + dev, 0, ""},
        {"/dev/fd/7 dir GAMES -backend 7<" + dev, 0, "F.BIN,"},
    };
    for (const Case& c : cases) {
        const ToolRun r = asNobody(c.arguments);
        EXPECT_EQ(r.code, c.code) << c.arguments << "\n" << r.out;
        EXPECT_TRUE(contains(r.out, c.message)) << c.arguments << "\n" << r.out;
    }
}
