// The view command and the partition details against the real disk tool, on
// an image it made and filled.
#include "view_gui_fixture.h"

#include "ansi_text.h"
#include "browser_commands.h"
#include "formatters.h"
#include "plus3dos_header.h"

namespace {

QString Shown(const QByteArrayList& lines)
{
    return AnsiToQString(lines.join('\n'));
}

// `data` behind a 128-byte +3DOS header of the type and parameters given,
// which the tool's put stores as it is.
QByteArray Plus3File(int type, const QByteArray& data, quint16 param1, quint16 param2)
{
    return testfixture::Plus3DosHeader(type, quint16(data.size()), param1, param2) + data;
}

using ViewRealToolTest = ViewGuiTest;

TEST_F(ViewRealToolTest, ViewsEachTypeOfARealPartition)
{
    // 10 PRINT "A"+CHR 144: 20 GO TO 10, then a variables area.
    const QByteArray program("\x00\x0A\x06\x00\xF5\"A\x90\"\r\x00\x14\x07\x00\xEC" "10\x0E\x00\x00\x0A\x00\x00\r", 23);
    const QByteArray variables("\x61\x00\x00\x05\x00\x00\x80", 7);
    const QByteArray screen = QByteArray("\x01\xFE\x7F", 3).repeated(2304);
    const QByteArray array = QByteArray("\x01\x02\x00", 3) + QByteArray(10, '\x01');
    const QString image = makeImage("disk.hdf", {"GAMES"});
    for (const auto& [name, bytes] : std::vector<std::pair<QString, QByteArray>>{
             {"PROG", Plus3File(0, program + variables, 10, program.size())},
             {"SCREEN", Plus3File(3, screen, 16384, 32768)},
             {"ARR", Plus3File(1, array, 0x8100, 0)},
             {"RAW.TXT", "Plain\r\ntext\x7F\xB7"}}) {
        QFile host(path(name));
        ASSERT_TRUE(host.open(QIODevice::WriteOnly) && host.write(bytes) == bytes.size());
        host.close();
        runTool({image, "put", host.fileName(), "GAMES:" + name});
    }
    makeForm();
    form->OpenMedium(image);
    form->SelectNode(treeNode("GAMES"));
    const QStringList names = columnTexts(0);
    const QStringList types = columnTexts(5);
    const std::vector<std::tuple<QString, QString, ViewMode, QString>> views{
        {"PROG", "Program", ViewMode::Automatic, Shown(BasicListing(program))},
        {"PROG", "Program", ViewMode::HexDump, Shown(HexDumpLines(program + variables))},
        {"SCREEN", "Bytes", ViewMode::Automatic, Shown(HexDumpLines(screen))},
        {"ARR", "Number Array", ViewMode::Automatic, Shown(ListLines(array))},
        {"RAW.TXT", "Headerless", ViewMode::Automatic, Shown(HexDumpLines("Plain\r\ntext\x7F\xB7"))},
    };
    for (const auto& [name, type, mode, text] : views) {
        const int row = names.indexOf(name);
        ASSERT_GE(row, 0) << name.toStdString();
        EXPECT_EQ(types[row], type);
        selectOnly(row);
        form->Viewers().viewSelectedFile(mode);
        ASSERT_FALSE(viewWindows().isEmpty());
        EXPECT_EQ(viewWindows().last()->windowTitle(), "File View - GAMES:" + name);
        EXPECT_EQ(viewWindows().last()->Text(), text) << name.toStdString();
    }
    EXPECT_EQ(viewWindows().size(), static_cast<int>(views.size()));
    EXPECT_TRUE(prompts->errors().isEmpty());
    EXPECT_TRUE(privateTempFiles().isEmpty());

    form->Browser().showPartitionDetails();
    EXPECT_EQ(viewWindows().last()->windowTitle(), QString("Show Partitition Details (GAMES)"));
    EXPECT_TRUE(viewWindows().last()->Text().startsWith("Partition: GAMES\n"));
}

}  // namespace
