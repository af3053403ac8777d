// The tool never loses a file: writes cut off at any point, damaged tables
// and file systems, two writers at once, gets that are killed.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <algorithm>
#include <sys/file.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "storage.h"
#include "test_support.h"

using namespace tooltest;

namespace {

struct Disarm {
    ~Disarm() { p3tool::WriteFaults::disarm(); }
};

// A 16 MB raw image, partition P of 10 MB (8 KB blocks, 64 KB per entry),
// free space after it. BIG.BIN has 18 entries over two directory sectors;
// FILE.BIN, OTHER.BIN and S0..S11 fill the second sector, so FILE.BIN
// cannot grow in place.
class Safety : public ::testing::Test {
protected:
    void SetUp() override
    {
        image = dir / "d.raw";
        toolOk({image, "create", "--size", "16M"});
        toolOk({image, "newpart", "P", "10M"});
        add("BIG.BIN", randomBytes(18 * 65536 - 5000, 1));
        add("FILE.BIN", randomBytes(40000, 2));
        add("OTHER.BIN", randomBytes(5000, 3));
        for (int i = 0; i < 12; ++i)
            add("S" + std::to_string(i), randomBytes(100, unsigned(10 + i)));
        pristine = readFile(image);
    }
    void add(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        writeFile(dir / "in", bytes);
        toolOk({image, "put", dir / "in", "P:" + name});
    }
    // The file's bytes as get gives them; "absent" when there is none.
    std::string get(const std::string& name)
    {
        TempDir out;
        const ToolRun r = tool({image, "get", "P:" + name, out.path + "/"});
        if (r.code != 0)
            return r.err.find("no file named") != std::string::npos ? "absent" : "get failed: " + r.err;
        const auto bytes = readFile(out / name);
        return std::string(bytes.begin(), bytes.end());
    }
    void restore() { writeFile(image, pristine); }
    TempDir dir;
    std::string image;
    std::vector<uint8_t> pristine;
};

std::string withoutLine(const std::string& text, const std::string& start)
{
    std::string kept;
    for (const auto& l : lines(text))
        if (l.rfind(start, 0) != 0)
            kept += l + "\n";
    return kept;
}

}  // namespace

// Every write command cut off after each of its writes: a reader sees the
// old state or the new one, never neither and never a part; the next write
// command finishes or undoes what was left, and check and fsck.cpm are
// clean afterwards. Nothing else changes.
TEST_F(Safety, ACommandCutOffAtAnyWriteLeavesTheOldStateOrTheNew)
{
    Disarm disarm;
    writeFile(dir / "one", randomBytes(30000, 4));
    writeFile(dir / "multi", randomBytes(200000, 5));
    writeFile(dir / "huge", randomBytes(8 * 1024 * 1024, 6));
    // A tape with one 20000-byte CODE file, a +3 floppy with one file.
    std::vector<uint8_t> tape;
    auto block = [&](uint8_t flag, const std::vector<uint8_t>& payload) {
        const size_t n = payload.size() + 2;
        tape.push_back(uint8_t(n));
        tape.push_back(uint8_t(n >> 8));
        uint8_t sum = flag;
        tape.push_back(flag);
        for (uint8_t b : payload) {
            tape.push_back(b);
            sum ^= b;
        }
        tape.push_back(sum);
    };
    const auto code = randomBytes(20000, 7);
    block(0x00, {3, 'T', 'A', 'P', 'E', 'F', 'I', 'L', 'E', ' ', ' ', 0x20, 0x4E, 0x00, 0x80, 0x00, 0x80});
    block(0xFF, code);
    writeFile(dir / "t.tap", tape);
    writeFile(dir / "floppy", randomBytes(20000, 8));
    std::string output;
    ASSERT_EQ(shell(dir.path, "dskform -type dsk -format pcw180 f.dsk && cpmcp -T dsk -f pcw f.dsk floppy 0:DSKFILE.BIN",
                    &output),
              0)
        << output;

    struct Case {
        const char* what;
        std::vector<std::string> args;
        std::string target;  // empty: the partition table
    };
    const Case cases[] = {
        {"replace by a one-sector file", {"put", dir / "one", "P:FILE.BIN"}, "FILE.BIN"},
        {"replace by a multi-sector file", {"put", dir / "multi", "P:FILE.BIN"}, "FILE.BIN"},
        {"replace by an 8 MB file", {"put", dir / "huge", "P:FILE.BIN"}, "FILE.BIN"},
        {"new 8 MB file", {"put", dir / "huge", "P:HUGE.BIN"}, "HUGE.BIN"},
        {"delete over two sectors", {"del", "P:BIG.BIN"}, "BIG.BIN"},
        {"puttap", {"puttap", dir / "t.tap", "P"}, "TAPEFILE.BIN"},
        {"putdsk", {"putdsk", dir / "f.dsk", "P"}, "DSKFILE.BIN"},
        {"newpart", {"newpart", "Q", "2M"}, ""},
    };
    // The table, the track after it and P's directory (two 8 KB blocks).
    const auto table = lines(toolOk({image, "showptable", "-backend"}));
    const uint64_t metadataEnd = std::stoull(fields(table[3])[7]) * 512 + 16384;
    std::set<std::string> checkedMetadata;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> args{image};
        args.insert(args.end(), c.args.begin(), c.args.end());
        auto state = [&] { return c.target.empty() ? toolOk({image, "showptable", "-backend"}) : get(c.target); };
        auto rest = [&] {
            return withoutLine(toolOk({image, "dir", "P", "-backend"}), c.target + ",") + get("OTHER.BIN") +
                   (c.target == "BIG.BIN" ? "" : get("BIG.BIN"));
        };
        restore();
        const std::string oldState = state(), oldRest = rest();
        p3tool::WriteFaults::failAfter(1u << 30);
        toolOk(args);
        const uint64_t writes = p3tool::WriteFaults::writesSeen();
        p3tool::WriteFaults::disarm();
        const std::string newState = state();
        ASSERT_NE(oldState, newState);
        for (uint64_t k = 0; k < writes; ++k) {
            SCOPED_TRACE("cut off after write " + std::to_string(k));
            restore();
            p3tool::WriteFaults::failAfter(k);
            const ToolRun r = tool(args);
            p3tool::WriteFaults::disarm();
            EXPECT_EQ(r.code, 1);
            const std::string seen = state();
            EXPECT_TRUE(seen == oldState || seen == newState) << seen.substr(0, 200);
            EXPECT_EQ(rest(), oldRest);
            // The next write command resolves whatever was left staged.
            EXPECT_EQ(tool({image, "del", "P:NOSUCH.X"}).code, 1);
            EXPECT_EQ(state(), seen);
            // check and fsck.cpm read the table and the directory only: run
            // them once for each state of those (the data writes before
            // anything points at them all leave the same).
            std::string metadata(metadataEnd, '\0');
            std::ifstream(image, std::ios::binary).read(metadata.data(), std::streamsize(metadataEnd));
            if (!checkedMetadata.insert(metadata).second)
                continue;
            const std::string checked = toolOk({image, "check"});
            EXPECT_EQ(checked.find("interrupted"), std::string::npos) << checked;
            CpmTools(image, "P").fsck();
        }
    }
}

// Damage built by hand: every write command refuses with one line that
// points at check, and the image stays byte for byte as it was.
TEST_F(Safety, EveryWriteRefusesADamagedMedium)
{
    // The table is at LBA 0: system (slot 0, C0/H0), P (slot 1, from C0/H1),
    // free space (slot 2); slot 3 is unused. P's directory: 2 blocks.
    const auto table = lines(toolOk({image, "showptable", "-backend"}));
    const uint64_t directory = std::stoull(fields(table[3])[7]) * 512;
    auto slotOf = [&](const std::string& name) -> uint64_t {
        for (uint64_t at = directory; at < directory + 512 * 32; at += 32)
            if (pristine[at] == 0 && std::string(pristine.begin() + long(at) + 1, pristine.begin() + long(at) + 12) == name)
                return at;
        ADD_FAILURE() << "no entry " << name;
        return 0;
    };
    const uint64_t file = slotOf("FILE    BIN"), other = slotOf("OTHER   BIN");
    const std::vector<uint8_t> sharedBlock{pristine[file + 16], pristine[file + 17]};
    const std::vector<uint8_t> spaces(16, ' ');
    struct Damage {
        const char* what;
        uint64_t offset;
        std::vector<uint8_t> bytes;
        const char* words;  // in check's report
        bool inTable;       // newpart, which writes no file system, refuses only these
    };
    const Damage damages[] = {
        // type, start cylinder, start head, end cylinder, end head
        {"free entry over the table", 3 * 64 + 0x10, {0xFF, 0, 0, 0, 0, 0, 0}, "overlap", true},
        {"free entry over a partition", 3 * 64 + 0x10, {0xFF, 0, 0, 2, 0, 0, 3}, "overlap", true},
        {"overlapping partitions", 3 * 64 + 0x10, {0x03, 0, 0, 5, 0, 0, 6}, "overlap", true},
        {"partition past the disk", 1 * 64 + 0x14, {0x84, 0x03}, "past the end", true},
        {"directory covering data", file + 16, {0x01, 0x00}, "lies in the directory", false},
        {"cross-linked blocks", other + 16, sharedBlock, "owned twice", false},
    };
    writeFile(dir / "x", randomBytes(100, 9));
    writeFile(dir / "t.tap", {0x13, 0x00, 0x00, 3, 'T', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', 1, 0, 0, 0x80, 0, 0x80,
                              0x55, 0x03, 0x00, 0xFF, 0x42, 0xBD});
    std::string output;
    ASSERT_EQ(shell(dir.path, "dskform -type dsk -format pcw180 f.dsk && cpmcp -T dsk -f pcw f.dsk x 0:X.BIN", &output), 0)
        << output;
    const std::vector<std::vector<std::string>> writes = {
        {"put", dir / "x", "P:NEW.BIN"}, {"putbin", dir / "x", "P:NEW.BIN"}, {"del", "P:OTHER.BIN"},
        {"puttap", dir / "t.tap", "P"},  {"putdsk", dir / "f.dsk", "P"},  {"newpart", "Q", "1M"},
    };
    for (const Damage& d : damages) {
        SCOPED_TRACE(d.what);
        restore();
        if (d.offset == 3 * 64 + 0x10)
            patchFile(image, 3 * 64, spaces);
        patchFile(image, d.offset, d.bytes);
        const auto before = readFile(image);
        const ToolRun checked = tool({image, "check"});
        EXPECT_EQ(checked.code, 3);
        EXPECT_NE(checked.out.find(d.words), std::string::npos) << checked.out;
        for (const auto& w : writes) {
            if (w[0] == "newpart" && !d.inTable)
                continue;
            std::vector<std::string> args{image};
            args.insert(args.end(), w.begin(), w.end());
            const ToolRun r = tool(args);
            EXPECT_EQ(r.code, 1) << w[0];
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
            EXPECT_NE(r.err.find("check"), std::string::npos) << w[0] << ": " << r.err;
            EXPECT_EQ(readFile(image), before) << w[0];
        }
    }
}

namespace {

pid_t spawnTool(const std::vector<std::string>& args)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::dup2(null, 2);
        std::vector<char*> argv{const_cast<char*>(HARNWICK_TOOL_EXE)};
        for (const auto& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(HARNWICK_TOOL_EXE, argv.data());
        ::_exit(127);
    }
    return pid;
}

int waitFor(pid_t pid)
{
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<std::string> folderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* d = ::opendir(folder.c_str());
    while (const dirent* e = ::readdir(d))
        if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
            names.push_back(e->d_name);
    ::closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

// Two programs writing at once take turns: both files arrive. A program
// that holds the medium for longer than 5 s makes a writer give up with
// "medium is busy", having written nothing.
TEST_F(Safety, WritersTakeTurns)
{
    const auto a = randomBytes(300000, 20), b = randomBytes(300000, 21);
    writeFile(dir / "a", a);
    writeFile(dir / "b", b);
    for (int trial = 0; trial < 8; ++trial) {
        restore();
        const pid_t first = spawnTool({image, "put", dir / "a", "P:A.BIN"});
        const pid_t second = spawnTool({image, "put", dir / "b", "P:B.BIN"});
        EXPECT_EQ(waitFor(first), 0);
        EXPECT_EQ(waitFor(second), 0);
        EXPECT_EQ(get("A.BIN"), std::string(a.begin(), a.end())) << trial;
        EXPECT_EQ(get("B.BIN"), std::string(b.begin(), b.end())) << trial;
    }
    toolOk({image, "check"});

    const auto before = readFile(image);
    const int fd = ::open(image.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(fd, LOCK_SH), 0);
    const ToolRun r = toolProcess({image, "del", "P:A.BIN"});
    ::close(fd);
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("medium is busy (another program is writing to it)"), std::string::npos) << r.err;
    EXPECT_EQ(readFile(image), before);
}

// A get killed at any moment leaves nothing in the destination folder but
// the complete file; a temporary left by an older run is removed.
TEST_F(Safety, AKilledGetLeavesNothingBehind)
{
    const auto huge = randomBytes(8 * 1024 * 1024, 22);
    add("HUGE.BIN", huge);
    for (int delayUs : {0, 500, 2000, 5000, 10000, 20000}) {
        TempDir out;
        const pid_t pid = spawnTool({image, "get", "P:HUGE.BIN", out.path + "/"});
        ::usleep(useconds_t(delayUs));
        ::kill(pid, SIGKILL);
        waitFor(pid);
        const auto left = folderEntries(out.path);
        EXPECT_TRUE(left.empty() || (left == std::vector<std::string>{"HUGE.BIN"} && readFile(out / "HUGE.BIN") == huge))
            << delayUs << ": " << (left.empty() ? "" : left.front());
    }
    // A temporary of a program that has ended, and a file to be replaced.
    TempDir out;
    const pid_t ended = ::fork();
    if (ended == 0)
        ::_exit(0);
    waitFor(ended);
    writeFile(out / (".3e-get-" + std::to_string(ended) + "-0"), {1, 2, 3});
    writeFile(out / "FILE.BIN", {4, 5, 6});
    toolOk({image, "get", "P:FILE.BIN", out.path + "/"});
    EXPECT_EQ(folderEntries(out.path), std::vector<std::string>{"FILE.BIN"});
    EXPECT_EQ(get("FILE.BIN").size(), 40000u);
}

// check reports every file get refuses as damaged: the limits live in one
// place.
TEST_F(Safety, CheckReportsWhatGetRefuses)
{
    const auto table = lines(toolOk({image, "showptable", "-backend"}));
    const uint64_t directory = std::stoull(fields(table[3])[7]) * 512;
    uint64_t s0 = 0;
    for (uint64_t at = directory; at < directory + 512 * 32 && s0 == 0; at += 32)
        if (pristine[at] == 0 && std::string(pristine.begin() + long(at) + 1, pristine.begin() + long(at) + 12) == "S0         ")
            s0 = at;
    ASSERT_NE(s0, 0u);
    struct Case {
        const char* what;
        uint64_t offset;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        // Extent 543 (EX 31, S2 16): the entry claims about 8.5 MB.
        {"extent numbers past 8 MB", s0 + 12, {0x1F, 0x00, 0x10}},
        // Extent 2047: 32 MB.
        {"extent numbers claiming 32 MB", s0 + 12, {0x1F, 0x00, 0x3F}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        restore();
        patchFile(image, c.offset, c.bytes);
        const std::string refused = get("S0");
        EXPECT_NE(refused.find("damaged file S0"), std::string::npos) << refused.substr(0, 100);
        const ToolRun checked = tool({image, "check"});
        EXPECT_EQ(checked.code, 3);
        EXPECT_NE(checked.out.find("0:S0: it claims"), std::string::npos) << checked.out;
    }
}
