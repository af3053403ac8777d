// check: every kind of fault it looks for is found and reported, and a
// sound medium passes.
#include <gtest/gtest.h>

#include "plus3_header.h"
#include "test_support.h"

using namespace tooltest;

namespace {

struct Fault {
    const char* label;
    unsigned entry;  // directory slot to patch: A.BIN 0-2, C.BIN 3
    unsigned offset;
    std::vector<uint8_t> bytes;
    const char* reported;
};

class CheckTest : public ::testing::TestWithParam<Fault> {
protected:
    void SetUp() override
    {
        image = dir / "d.raw";
        toolOk({image, "create", "--size", "16M"});
        toolOk({image, "newpart", "P", "1M"});
        writeFile(dir / "a", randomBytes(40000, 1));
        // A header whose total length is five bytes more than header + data.
        auto h = p3tool::Plus3Header::forData(3, 3000, 0, 0);
        h.totalLength += 5;
        const auto hb = h.bytes();
        std::vector<uint8_t> b(hb.begin(), hb.end());
        const auto data = randomBytes(3005, 2);
        b.insert(b.end(), data.begin(), data.end());
        writeFile(dir / "b", b);
        writeFile(dir / "c", randomBytes(10, 3));
        CpmTools cpm(image, "P");
        cpm.put(dir / "a", "A.BIN");
        cpm.put(dir / "c", "C.BIN");
        directory = std::stoull(fields(lines(toolOk({image, "showptable", "-backend"}))[3])[7]) * 512;
    }
    TempDir dir;
    std::string image;
    uint64_t directory = 0;
};

// Blocks of A.BIN with 2 KB blocks: entry 0 holds 8 pointers of 2 bytes.
const Fault kFaults[] = {
    {"ownedTwice", 3, 16, {0}, "is owned twice"},  // C.BIN's first pointer := A.BIN's first (patched below)
    {"directoryBlock", 3, 16, {3, 0}, "lies in the directory"},
    {"pastTheEnd", 3, 16, {0x00, 0x04}, "lies past the last block 511"},
    {"recordCount", 3, 15, {0x81}, "record count 129 is over 128"},
    {"notFull", 0, 15, {0x10}, "is not full although later extents follow"},
    {"heldTwice", 1, 12, {0}, "is held twice"},
};

}  // namespace

TEST_P(CheckTest, FindsTheFault)
{
    const Fault& f = GetParam();
    // C.BIN sits in slot 3 here (A.BIN takes 0-2).
    std::vector<uint8_t> bytes = f.bytes;
    if (std::string(f.label) == "ownedTwice") {
        const auto all = readFile(image);
        bytes.assign(all.begin() + long(directory + 16), all.begin() + long(directory + 18));
    }
    patchFile(image, directory + 32 * f.entry + f.offset, bytes);
    const ToolRun r = tool({image, "check", "P"});
    EXPECT_EQ(r.code, 3);
    EXPECT_NE(r.out.find(f.reported), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("fault(s) found"), std::string::npos);
    EXPECT_EQ(r.out.rfind("P: ", 0), 0u);
}

INSTANTIATE_TEST_SUITE_P(Faults, CheckTest, ::testing::ValuesIn(kFaults),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(CheckTest, SoundPartitionPassesAndHeaderLengthsAreChecked)
{
    EXPECT_EQ(toolOk({image, "check"}), "partition table: no faults\r\nP: no faults\r\n");
    CpmTools(image, "P").put(dir / "b", "B.BIN");
    const ToolRun r = tool({image, "check"});
    EXPECT_EQ(r.code, 3);
    EXPECT_NE(r.out.find("P: 0:B.BIN: its +3DOS header gives a total length of 3133 bytes for 3000 bytes of data"),
              std::string::npos)
        << r.out;
}

TEST_F(CheckTest, OverlappingPartitionsAreFound)
{
    // The free-space entry (slot 2) made to begin inside P.
    patchFile(image, 2 * 64 + 0x11, {0, 0, 2});
    const ToolRun r = tool({image, "check"});
    EXPECT_EQ(r.code, 3);
    EXPECT_NE(r.out.find("partition table: partition entries 1 (\"P\") and 2 (\"\") overlap"), std::string::npos)
        << r.out;
}
