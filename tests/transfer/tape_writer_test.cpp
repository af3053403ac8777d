#include "tape_listing.h"
#include "tape_writer.h"
#include "transfer_error.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int v : values)
        bytes.append(static_cast<char>(v));
    return bytes;
}

// Bytes 0, 1, 2, ... (mod 256), optionally scrambled so no two files match.
QByteArray Pattern(qint64 size, quint32 seed = 0)
{
    QByteArray bytes(size, Qt::Uninitialized);
    quint32 x = seed;
    for (qint64 i = 0; i < size; ++i) {
        x = x * 1103515245u + 12345u;
        bytes[i] = static_cast<char>(seed ? (x >> 16) : i);
    }
    return bytes;
}

const QByteArray kTzxSignature = QByteArray("ZXTape!") + Bytes({0x1A, 0x01, 0x14});

class TapeWriterTest : public ::testing::Test
{
protected:
    QString at(const QString& name) const { return dir.filePath(name); }

    QString hostFile(const QString& name, const QByteArray& bytes) const
    {
        QFile file(at(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }

    QByteArray contents(const QString& name) const
    {
        QFile file(at(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        return file.readAll();
    }

    // Writes one tape holding the given files, each with its own data.
    void writeTape(const QString& tapeName, const QList<TapeFileFacts>& files,
                   const QList<QByteArray>& data)
    {
        TapeWriter tape(at(tapeName));
        for (qsizetype i = 0; i < files.size(); ++i)
            ASSERT_TRUE(tape.append(files[i], hostFile("got", data[i])).written());
        tape.close();
    }

    QTemporaryDir dir;
};

const TapeFileFacts kRunBas{"RUN.BAS", "Program", 234, 10, 200};

} // namespace

// --- Bytes written -------------------------------------------------------

TEST_F(TapeWriterTest, ProgramHeaderAndDataBlockAreByteExactInTap)
{
    writeTape("games.tap", {kRunBas}, {Pattern(234)});
    const QByteArray header = Bytes({0x13, 0x00, 0x00, 0x00}) + "RUN.BAS   " +
                              Bytes({0xEA, 0x00, 0x0A, 0x00, 0xC8, 0x00, 0x3F});
    const QByteArray data = Bytes({0xEC, 0x00, 0xFF}) + Pattern(234) + Bytes({0xFE});
    EXPECT_EQ(contents("games.tap"), header + data);
}

TEST_F(TapeWriterTest, EmptyFileGivesLengthTwoAndChecksumFF)
{
    writeTape("empty.tap", {{"EMPTY", "Bytes", 0, 32768, 0}}, {QByteArray()});
    EXPECT_EQ(contents("empty.tap").mid(21), Bytes({0x02, 0x00, 0xFF, 0xFF}));
}

TEST_F(TapeWriterTest, NewTzxStartsWithSignatureAndPrefixesEveryBlock)
{
    for (const QString name : {"GAMES.TZX", "games.tzx"}) {
        writeTape(name, {kRunBas}, {Pattern(234)});
        const QByteArray tape = contents(name);
        const QByteArray prefix = Bytes({0x10, 0xE8, 0x03});
        EXPECT_EQ(tape.left(10), kTzxSignature) << name.toStdString();
        EXPECT_EQ(tape.mid(10, 3), prefix);
        EXPECT_EQ(tape.mid(13, 2), Bytes({0x13, 0x00}));
        EXPECT_EQ(tape.mid(34, 3), prefix);
        EXPECT_EQ(tape.mid(37, 2), Bytes({0xEC, 0x00}));
        EXPECT_EQ(tape.size(), 10 + 3 + 21 + 3 + 238);
    }
}

TEST_F(TapeWriterTest, NameFieldIsFirstTenCharactersPaddedWithBlanks)
{
    EXPECT_EQ(TapeNameField("FILENAME.BAS"), QByteArray("FILENAME.B"));
    EXPECT_EQ(TapeNameField("A"), QByteArray("A         "));
    EXPECT_EQ(TapeNameField(""), QByteArray("          "));
    EXPECT_EQ(TapeNameField("PadRight  "), QByteArray("PadRight  "));
}

TEST_F(TapeWriterTest, TypeByteComesFromTheExactTypeText)
{
    const std::pair<const char*, int> cases[] = {
        {"Program", 0},    {"Number Array", 1}, {"Character Array", 2}, {"Bytes", 3},
        {"Headerless", 3}, {"Unknown (7)", 3},  {"program", 3},         {"", 3},
    };
    for (const auto& [text, byte] : cases)
        EXPECT_EQ(TapeTypeByte(text), byte) << text;
}

TEST_F(TapeWriterTest, NumbersAreStoredAsTheirLow16Bits)
{
    const QByteArray payload = TapeHeaderPayload({"X", "Bytes", 65533, 65536 + 10, -1});
    EXPECT_EQ(payload.mid(11), Bytes({0xFD, 0xFF, 0x0A, 0x00, 0xFF, 0xFF}));
}

// --- Opening and appending ----------------------------------------------

TEST_F(TapeWriterTest, ExistingTapeIsAppendedToWithoutSecondSignature)
{
    for (const QString name : {"more.tzx", "more.tap"}) {
        writeTape(name, {kRunBas}, {Pattern(234)});
        const QByteArray first = contents(name);
        {
            TapeWriter tape(at(name));
            EXPECT_FALSE(tape.startedNewTape());
            ASSERT_TRUE(
                tape.append({"SCREEN", "Bytes", 6912, 16384, 0}, hostFile("got", Pattern(6912, 3)))
                    .written());
        } // closed by the destructor
        const QByteArray both = contents(name);
        EXPECT_TRUE(both.startsWith(first));
        EXPECT_EQ(both.count(QByteArray("ZXTape!")), name.endsWith("tzx") ? 1 : 0);

        const TapeListing listing = ListTape(at(name));
        ASSERT_TRUE(listing.accepted) << listing.text.toStdString();
        ASSERT_EQ(listing.blocks.size(), 4) << listing.text.toStdString();
        EXPECT_EQ(listing.blocks[0].name, QByteArray("RUN.BAS   "));
        EXPECT_EQ(listing.blocks[2].name, QByteArray("SCREEN    "));
        EXPECT_EQ(listing.blocks[3].length, 6914);
    }
}

TEST_F(TapeWriterTest, EmptyExistingTzxIsBegunWithSignature)
{
    hostFile("blank.tzx", {});
    writeTape("blank.tzx", {kRunBas}, {Pattern(234)});
    EXPECT_TRUE(contents("blank.tzx").startsWith(kTzxSignature));
    EXPECT_TRUE(ListTape(at("blank.tzx")).accepted);
}

TEST_F(TapeWriterTest, TapeThatCannotBeCreatedIsReported)
{
    EXPECT_THROW(TapeWriter(at("no/such/folder/x.tap")), TransferError);
}

// --- Checked by tzxlist ---------------------------------------------------

TEST_F(TapeWriterTest, TzxlistReadsEveryFileWithPassingChecksums)
{
    // Sizes around the 16000-byte copy buffer, and the largest a block holds.
    const QList<TapeFileFacts> files = {
        {"RUN.BAS", "Program", 234, 10, 200},  {"FILENAME.BAS", "Bytes", 16000, 32768, 0},
        {"B16001", "Headerless", 16001, 0, 0}, {"NUMBERS", "Number Array", 40000, 0x8100, 0},
        {"Unknown", "Unknown (9)", 0, 0, 0},   {"BIGGEST", "Bytes", kMaxTapeDataLength, 0, 0},
    };
    QList<QByteArray> data;
    for (qsizetype i = 0; i < files.size(); ++i)
        data.append(Pattern(files[i].length, static_cast<quint32>(i + 1)));

    for (const QString name : {"all.tap", "all.tzx"}) {
        writeTape(name, files, data);
        const TapeListing listing = ListTape(at(name));
        ASSERT_TRUE(listing.accepted) << listing.text.toStdString();
        ASSERT_EQ(listing.blocks.size(), 2 * files.size()) << listing.text.toStdString();
        for (qsizetype i = 0; i < files.size(); ++i) {
            const ListedBlock& header = listing.blocks[2 * i];
            const ListedBlock& body = listing.blocks[2 * i + 1];
            EXPECT_EQ(header.type, 0x10);
            EXPECT_EQ(header.name, TapeNameField(files[i].name));
            EXPECT_EQ(header.length, 19);
            EXPECT_EQ(body.length, files[i].length + 2) << files[i].name.toStdString();
            EXPECT_TRUE(header.checksumPass && body.checksumPass) << files[i].name.toStdString();
        }
    }
}

// --- Files whose bytes disagree with "Real Size" --------------------------

TEST_F(TapeWriterTest, ShortFileIsReportedAndWritesNoBlock)
{
    TapeWriter tape(at("short.tzx"));
    ASSERT_TRUE(tape.append(kRunBas, hostFile("got", Pattern(234))).written());
    const TapeAppendResult result =
        tape.append({"SHORT", "Bytes", 300, 0, 0}, hostFile("got", Pattern(299)));
    EXPECT_EQ(result.status, TapeAppendResult::Status::ShortFile);
    EXPECT_EQ(result.fileBytes, 299);
    EXPECT_TRUE(result.message.contains("SHORT")) << result.message.toStdString();
    ASSERT_TRUE(tape.append({"AFTER", "Bytes", 5, 0, 0}, hostFile("got", Pattern(5))).written());
    tape.close();

    const TapeListing listing = ListTape(at("short.tzx"));
    ASSERT_TRUE(listing.accepted) << listing.text.toStdString();
    ASSERT_EQ(listing.blocks.size(), 4);
    EXPECT_EQ(listing.blocks[2].name, QByteArray("AFTER     "));
}

TEST_F(TapeWriterTest, LongerFileGivesOnlyItsRealSize)
{
    TapeWriter tape(at("long.tap"));
    const TapeAppendResult result =
        tape.append({"PADDED", "Bytes", 100, 0, 0}, hostFile("got", Pattern(256)));
    tape.close();
    ASSERT_TRUE(result.written());
    EXPECT_EQ(result.surplusBytes, 156);
    EXPECT_EQ(contents("long.tap").mid(21, 103), Bytes({102, 0, 0xFF}) + Pattern(100));
    EXPECT_TRUE(ListTape(at("long.tap")).accepted);
}

TEST_F(TapeWriterTest, HeaderBytesAreSkippedAndCountAgainstNothing)
{
    // A got file: 128 header bytes, then the data.
    const QByteArray got = QByteArray(128, 'H') + Pattern(100);
    TapeWriter tape(at("skip.tap"));
    ASSERT_TRUE(tape.append({"CODE", "Bytes", 100, 0, 0}, hostFile("got", got), 128).written());
    // A file of fewer bytes than header + "Real Size" is short; one shorter than the
    // header itself too.
    EXPECT_EQ(tape.append({"SHORT", "Bytes", 100, 0, 0}, hostFile("s", got.left(227)), 128).status,
              TapeAppendResult::Status::ShortFile);
    EXPECT_EQ(tape.append({"TINY", "Bytes", 1, 0, 0}, hostFile("t", got.left(20)), 128).status,
              TapeAppendResult::Status::ShortFile);
    tape.close();
    EXPECT_EQ(contents("skip.tap").mid(21), Bytes({102, 0, 0xFF}) + Pattern(100) +
                                                 contents("skip.tap").right(1));
    EXPECT_EQ(ListTape(at("skip.tap")).blocks.size(), 2);
}

TEST_F(TapeWriterTest, SizeThatNoBlockCanHoldIsRefused)
{
    TapeWriter tape(at("big.tap"));
    for (qint64 size : {kMaxTapeDataLength + 1, qint64(70000), qint64(-1)}) {
        const TapeAppendResult result =
            tape.append({"BIG", "Bytes", size, 0, 0}, hostFile("got", Pattern(70000)));
        EXPECT_EQ(result.status, TapeAppendResult::Status::TooLarge) << size;
    }
    tape.close();
    EXPECT_TRUE(contents("big.tap").isEmpty());
}

TEST_F(TapeWriterTest, MissingHostFileThrowsAndLeavesTapeAsItWas)
{
    TapeWriter tape(at("miss.tap"));
    EXPECT_THROW((void)tape.append(kRunBas, at("not-there")), TransferError);
    tape.close();
    EXPECT_TRUE(contents("miss.tap").isEmpty());
}

TEST_F(TapeWriterTest, FailedWriteTakesTapeBackToItsLastWholeFile)
{
    // A file-size limit makes the tape's write fail part way through a block.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const QString data = hostFile("got", Pattern(40000, 5));
    {
        TapeWriter tape(at("full.tap"));
        ASSERT_TRUE(tape.append(kRunBas, hostFile("first", Pattern(234))).written());
        rlimit limited = saved;
        limited.rlim_cur = 20000;
        setrlimit(RLIMIT_FSIZE, &limited);
        EXPECT_THROW((void)tape.append({"TOOBIG", "Bytes", 40000, 0, 0}, data), TransferError);
        setrlimit(RLIMIT_FSIZE, &saved);
    }
    std::signal(SIGXFSZ, SIG_DFL);
    EXPECT_EQ(contents("full.tap").size(), 21 + 238);
    EXPECT_EQ(ListTape(at("full.tap")).blocks.size(), 2);
}
