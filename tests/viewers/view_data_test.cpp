#include "formatters.h"
#include "view_fixtures.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using FileFormatter = std::function<QByteArrayList(const QString&, const QString&, quint32)>;
using MemoryFormatter = std::function<QByteArrayList(QByteArrayView)>;

struct TypedFormatter
{
    const char* name;
    FileFormatter fromFile;
    MemoryFormatter fromBytes;
};

void PrintTo(const TypedFormatter& f, std::ostream* os)
{
    *os << f.name;
}

class TypedFormatterTest : public testing::TestWithParam<TypedFormatter>
{
protected:
    viewtest::LocalCopies copies_;
};

// A local copy whose header bytes differ from its data, so the lines show
// where the reading began.
const QByteArray kHeader(128, 'H');
const QByteArray kData = "data\rmore";

TEST_P(TypedFormatterTest, ReadsAfterTheHeaderUnlessHeaderless)
{
    const QString path = copies_.Write("COPY", kHeader + kData);
    const auto& f = GetParam();
    EXPECT_EQ(f.fromFile(path, "Bytes", kData.size()), f.fromBytes(kData));
    EXPECT_EQ(f.fromFile(path, "Program", 4), f.fromBytes(kData.left(4)));
    // Type names are compared exactly: only "Headerless" is read from byte 0.
    EXPECT_EQ(f.fromFile(path, "headerless", kData.size()), f.fromBytes(kData));
    EXPECT_EQ(f.fromFile(path, "Headerless", 130), f.fromBytes(kHeader + "da"));
}

TEST_P(TypedFormatterTest, FailsWithTheReadErrorAndNoLines)
{
    const auto& f = GetParam();
    const auto message = [&](const QString& path, const QString& type, quint32 count) {
        try {
            f.fromFile(path, type, count);
        } catch (const FormatterError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    const QString path = copies_.Write("COPY", kHeader + kData);
    EXPECT_EQ(message(copies_.Path("MISSING"), "Bytes", 1), "File not found");
    EXPECT_EQ(message(path, "Bytes", kData.size() + 1), "Read beyond end of file");
    EXPECT_EQ(message(path, "Headerless", 128 + kData.size() + 1), "Read beyond end of file");
    EXPECT_EQ(message(copies_.Write("SHORT", "abc"), "Bytes", 0), "Read beyond end of file");
    EXPECT_EQ(message(copies_.Path(QString()), "Bytes", 1), "I/O error 21");  // a folder
    EXPECT_EQ(message(path, "Bytes", 65537), "File too big (>64K).");
}

INSTANTIATE_TEST_SUITE_P(
    Formatters, TypedFormatterTest,
    testing::Values(TypedFormatter{"HexDump", FormatHexDump, HexDumpLines},
                    TypedFormatter{"Text", FormatText, TextLines},
                    TypedFormatter{"List", FormatList, ListLines},
                    TypedFormatter{"Data", FormatData, DataLoaderLines}),
    [](const testing::TestParamInfo<TypedFormatter>& info) { return info.param.name; });

TEST(ReadViewData, ReadsAllSixtyFourKilobytes)
{
    viewtest::LocalCopies copies;
    QByteArray data(65536, 'a');
    data[0] = 'F';
    data[65535] = 'L';
    const QString path = copies.WriteWithHeader("BIG", data + "beyond");
    EXPECT_EQ(ReadViewData(path, true, kMaxViewBytes), data);
}

}  // namespace
