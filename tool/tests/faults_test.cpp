// Writes that fail part way (a simulated I/O error in the image layer):
// whatever write fails, the medium passes check and the file that was there
// is either still the old one or already the new one.
#include <gtest/gtest.h>

#include "storage.h"
#include "test_support.h"

using namespace tooltest;

namespace {

struct Disarm {
    ~Disarm() { p3tool::WriteFaults::disarm(); }
};

class Faults : public ::testing::Test {
protected:
    void SetUp() override
    {
        image = dir / "d.raw";
        toolOk({image, "create", "--size", "8M"});
        toolOk({image, "newpart", "P", "4M"});
        old = randomBytes(40000, 1);
        other = randomBytes(5000, 2);
        writeFile(dir / "old", old);
        writeFile(dir / "other", other);
        toolOk({image, "put", dir / "old", "P:FILE.BIN"});
        toolOk({image, "put", dir / "other", "P:OTHER.BIN"});
        writeFile(dir / "pristine", readFile(image));
    }
    std::vector<uint8_t> get(const std::string& name)
    {
        TempDir out;
        const ToolRun r = tool({image, "get", "P:" + name, out.path + "/"});
        return r.code == 0 ? readFile(out / name) : std::vector<uint8_t>{};
    }
    // Writes the command makes when nothing fails.
    uint64_t writesOf(const std::vector<std::string>& args)
    {
        p3tool::WriteFaults::failAfter(1u << 30);
        toolOk(args);
        const uint64_t n = p3tool::WriteFaults::writesSeen();
        p3tool::WriteFaults::disarm();
        writeFile(image, readFile(dir / "pristine"));
        return n;
    }
    TempDir dir;
    std::string image;
    std::vector<uint8_t> old, other;
};

}  // namespace

TEST_F(Faults, ReplacingSurvivesAFailureAtEveryWrite)
{
    Disarm disarm;
    const auto newer = randomBytes(50000, 3);
    writeFile(dir / "new", newer);
    const std::vector<std::string> put{image, "put", dir / "new", "P:FILE.BIN"};
    const uint64_t writes = writesOf(put);
    ASSERT_GE(writes, 2u);  // data, then one directory sector
    for (uint64_t k = 0; k < writes; ++k) {
        writeFile(image, readFile(dir / "pristine"));
        p3tool::WriteFaults::failAfter(k);
        const ToolRun r = tool(put);
        p3tool::WriteFaults::disarm();
        EXPECT_EQ(r.code, 1) << k;
        EXPECT_NE(r.err.find("I/O error"), std::string::npos) << r.err;
        toolOk({image, "check"});
        // The directory sector is the last write: before it, the old file.
        EXPECT_EQ(get("FILE.BIN"), old) << "failure at write " << k;
        EXPECT_EQ(get("OTHER.BIN"), other);
    }
}

TEST_F(Faults, ANewFileIsThereWholeOrNotAtAll)
{
    Disarm disarm;
    writeFile(dir / "new", randomBytes(20000, 4));
    const std::vector<std::string> put{image, "putbin", dir / "new", "P:NEW.BIN"};
    const uint64_t writes = writesOf(put);
    for (uint64_t k = 0; k < writes; ++k) {
        writeFile(image, readFile(dir / "pristine"));
        p3tool::WriteFaults::failAfter(k);
        EXPECT_EQ(tool(put).code, 1);
        p3tool::WriteFaults::disarm();
        toolOk({image, "check"});
        EXPECT_EQ(lines(toolOk({image, "dir", "P", "-backend"})).size(), 3u) << k;
    }
}

TEST_F(Faults, StagedReplacementKeepsOneWholeFileAtEveryStep)
{
    Disarm disarm;
    // Fill slots so that FILE.BIN's replacement cannot share one sector:
    // FILE.BIN (3 entries) and OTHER.BIN take slots 0-3; twelve more files
    // take 4-15, and the new file needs four entries.
    for (int i = 0; i < 12; ++i) {
        writeFile(dir / "s", randomBytes(50, unsigned(10 + i)));
        toolOk({image, "put", dir / "s", "P:S" + std::to_string(i)});
    }
    writeFile(dir / "pristine", readFile(image));
    const auto newer = randomBytes(60000, 5);
    writeFile(dir / "new", newer);
    const std::vector<std::string> put{image, "put", dir / "new", "P:FILE.BIN"};
    const uint64_t writes = writesOf(put);
    // Data, the journal's record and entry, the staged entries (sector 1),
    // the commit, the release of the old ones (sector 0), the take-over and
    // the journal's removal (sector 1).
    ASSERT_GE(writes, 6u);
    bool replaced = false, sawPending = false;
    for (uint64_t k = 0; k < writes; ++k) {
        writeFile(image, readFile(dir / "pristine"));
        p3tool::WriteFaults::failAfter(k);
        EXPECT_EQ(tool(put).code, 1);
        p3tool::WriteFaults::disarm();
        // check says what is left and what the next write does with it.
        const std::string checked = toolOk({image, "check"});
        sawPending = sawPending || checked.find("an interrupted replace of FILE.BIN (committed): the next write "
                                                "finishes it") != std::string::npos;
        // Cut off before the commit, the old file; from the commit on, the
        // new one.
        const auto seen = get("FILE.BIN");
        EXPECT_EQ(seen, replaced ? newer : seen == newer ? newer : old) << "failure at write " << k;
        replaced = seen == newer;
        // The next write finishes or undoes the staged change; no copy is
        // left under another user number.
        EXPECT_EQ(tool({image, "del", "P:NOSUCH.X"}).code, 1);
        EXPECT_EQ(get("FILE.BIN"), seen);
        CpmTools cpm(image, "P");
        cpm.fsck();
        std::string output;
        cpm.run("cpmls -f {def} {img} '1:*.*' '15:*.*'", &output);
        EXPECT_EQ(output.find("file"), std::string::npos) << output;
    }
    EXPECT_TRUE(replaced);
    EXPECT_TRUE(sawPending);
    writeFile(image, readFile(dir / "pristine"));
    toolOk(put);
    EXPECT_EQ(get("FILE.BIN"), newer);
    toolOk({image, "check"});
}

TEST_F(Faults, DeletingIsOneSectorWrite)
{
    Disarm disarm;
    EXPECT_EQ(writesOf({image, "del", "P:FILE.BIN"}), 1u);
    p3tool::WriteFaults::failAfter(0);
    EXPECT_EQ(tool({image, "del", "P:FILE.BIN"}).code, 1);
    p3tool::WriteFaults::disarm();
    EXPECT_EQ(get("FILE.BIN"), old);
}
