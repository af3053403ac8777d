// The view command, the partition details and the properties of a partition
// against the real disk tool, on an image it made, filled by cpmtools.
#include "view_gui_fixture.h"

#include "ansi_text.h"
#include "cpm_filler.h"
#include "formatters.h"

#include <QDialog>
#include <QLabel>
#include <QLocale>

namespace {

QString Shown(const QByteArrayList& lines)
{
    return AnsiToQString(lines.join('\n'));
}

// 10 PRINT "A"+CHR 144: 20 GO TO 10, then a variables area.
const QByteArray kProgram("\x00\x0A\x06\x00\xF5\"A\x90\"\r\x00\x14\x07\x00\xEC" "10\x0E\x00\x00\x0A\x00\x00\r", 23);
const QByteArray kVariables("\x61\x00\x00\x05\x00\x00\x80", 7);

class ViewRealToolTest : public ViewGuiTest
{
protected:
    void SetUp() override
    {
        ViewGuiTest::SetUp();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        m_image = makeImage("disk.hdf", {"GAMES"});
        QDir().mkpath(path("cpm"));
        CpmFiller filler(realToolPath(), m_image, "GAMES", path("cpm"));
        ASSERT_EQ(filler.problem(), QString());
        for (int i = 0; i < 300; ++i)
            m_screen += char(i % 251);
        m_screen = m_screen.repeated(24).left(6912);
        m_array = QByteArray("\x01\x02\x00", 3) + QByteArray(10, '\x01');
        for (const auto& [name, bytes] : std::vector<std::pair<QString, QByteArray>>{
                 {"PROG", Plus3File(0, kProgram + kVariables, 10, kProgram.size())},
                 {"SCREEN", Plus3File(3, m_screen, 16384, 32768)},
                 {"ARR", Plus3File(1, m_array, 0x8100, 0)},
                 {"RAW.TXT", "Plain\r\ntext\x7F\xB7"}}) {
            ASSERT_EQ(filler.put(name, bytes), QString()) << name.toStdString();
        }
        makeForm();
        form->OpenMedium(m_image);
        select("GAMES");
    }
    void TearDown() override
    {
        QLocale::setDefault(QLocale::c());
        ViewGuiTest::TearDown();
    }

    void select(const QString& node)
    {
        QTreeWidgetItem* item = treeNode(node);
        ASSERT_NE(item, nullptr) << node.toStdString();
        form->SelectNode(item);
    }

    // Selects the one row captioned `name` and runs `command`; returns the
    // text of the window it opened.
    QString view(const QString& name, void (TFormMain::*command)())
    {
        const int row = columnTexts(0).indexOf(name);
        EXPECT_GE(row, 0) << name.toStdString();
        for (int r : form->SelectedRows())
            form->ListView()->selectRow(r, false);
        form->ListView()->selectRow(row, true);
        const int before = viewWindows().size();
        (form.get()->*command)();
        if (viewWindows().size() != before + 1) {
            ADD_FAILURE() << "no window for " << name.toStdString();
            return {};
        }
        EXPECT_EQ(viewWindows().last()->windowTitle(), "File View - GAMES:" + name);
        return viewWindows().last()->Text();
    }

    QString m_image;
    QByteArray m_screen;
    QByteArray m_array;
};

TEST_F(ViewRealToolTest, ViewsEachTypeAutomaticallyAndAsForced)
{
    ASSERT_EQ(columnTexts(5), (QStringList{"Program", "Bytes", "Number Array", "Headerless"}));
    EXPECT_EQ(view("PROG", &TFormMain::ViewBASICcode1Click), Shown(BasicListing(kProgram)));
    EXPECT_EQ(view("PROG", &TFormMain::AsBinary1Click), Shown(HexDumpLines(kProgram + kVariables)));
    EXPECT_EQ(view("SCREEN", &TFormMain::ViewBASICcode1Click), Shown(HexDumpLines(m_screen)));
    EXPECT_EQ(view("SCREEN", &TFormMain::AsData1Click), Shown(DataLoaderLines(m_screen)));
    EXPECT_EQ(view("ARR", &TFormMain::ViewBASICcode1Click), Shown(ListLines(m_array)));
    EXPECT_EQ(view("RAW.TXT", &TFormMain::AsText1Click), QString::fromUtf8("Plain\n\u00B7text\u007F\u00B7"));
    EXPECT_EQ(view("RAW.TXT", &TFormMain::AsList1Click).split('\n').first(), QString("00001:  80 (50) P"));
    EXPECT_EQ(view("ARR", &TFormMain::AsBASIC1Click), QString());
    EXPECT_EQ(prompts->errors(), QStringList{"This file cannot be viewed as BASIC."});
    EXPECT_TRUE(privateTempFiles().isEmpty());
}

TEST_F(ViewRealToolTest, DetailsAndPropertiesOfThePartition)
{
    form->Showpartitiondetails1Click();
    ASSERT_EQ(viewWindows().size(), 1);
    EXPECT_EQ(viewWindows().first()->windowTitle(), QString("Show Partitition Details (GAMES)"));
    EXPECT_TRUE(viewWindows().first()->Text().contains("Block size:"));

    // The partition table's row of GAMES: its used bytes are those of the
    // four files' blocks.
    form->Showpartitiontable1Click();
    const int row = columnTexts(0).indexOf("GAMES");
    ASSERT_GE(row, 0);
    form->ListView()->selectRow(row, true);
    QString used;
    QString free;
    prompts->answerDialog([&](QDialog& dialog) {
        used = dialog.findChild<QLabel*>("LblDiskSize")->text();
        free = dialog.findChild<QLabel*>("LblHDSize")->text();
        return static_cast<int>(QDialog::Accepted);
    });
    form->Properties1Click();
    const qint64 size = columnTexts(1)[row].remove(',').trimmed().toLongLong();
    const qint64 usedBytes = used.chopped(6).remove(',').toLongLong();
    EXPECT_GT(usedBytes, 6912 + 128);
    EXPECT_EQ(free, QLocale().toString(size - usedBytes) + " bytes");
}

}  // namespace
