// The properties dialog (what each label shows for each kind of row) and the
// partition details window.
#include "gui_fixture.h"

#include "backend_checks.h"
#include "file_list_model.h"
#include "form_properties.h"
#include "form_view.h"
#include "properties_texts.h"

#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTest>
#include <QTreeWidget>

namespace {

FileListRow Row(const QString& type, const QString& realSize, const QString& start, const QString& vars = "0",
                int icon = 18)
{
    FileListRow row;
    row.cells = {"NAME.BIN", "    7", "-R-A", "1.0", "    8", type, realSize, start, vars, "", ""};
    row.icon = icon;
    return row;
}

// The values that differ between file types.
struct FileCase
{
    const char* type;
    const char* realSize;
    const char* start;
    const char* shownType;
    const char* label7;  // "" when hidden
    const char* basic;
    const char* realSizeText;
    const char* vars;
    bool label9;
};

void PrintTo(const FileCase& c, std::ostream* os)
{
    *os << c.type << " " << c.realSize << " at " << c.start;
}

class FilePropertiesTest : public testing::TestWithParam<FileCase>
{
};

TEST_P(FilePropertiesTest, ShowTheFactsOfTheType)
{
    const FileCase& c = GetParam();
    const PropertiesTexts t = FilePropertiesTexts(Row(c.type, c.realSize, c.start, " 1,234 "), "GAMES ");
    EXPECT_EQ(t.type, QString(c.shownType));
    EXPECT_EQ(t.label7Visible, *c.label7 != '\0');
    if (t.label7Visible) {
        EXPECT_EQ(t.label7, QString(c.label7));
    }
    EXPECT_EQ(t.basic, QString(c.basic));
    EXPECT_EQ(t.realSize, QString(c.realSizeText));
    EXPECT_EQ(t.vars, QString(c.vars));
    EXPECT_EQ(t.label9Visible, c.label9);
    // The same for every type.
    EXPECT_EQ(t.name, QString("NAME.BIN"));
    EXPECT_EQ(t.attr, QString("-R-A"));
    EXPECT_EQ(t.version, QString("1.0"));
    EXPECT_EQ(t.partition, QString("GAMES "));
    EXPECT_EQ(t.diskSize, QString("7 bytes"));
    EXPECT_EQ(t.hdSize, QString("8 bytes"));
    EXPECT_EQ(t.label11, QString("Partition:"));
    EXPECT_FALSE(t.sizesRightAligned);
}

INSTANTIATE_TEST_SUITE_P(
    Types, FilePropertiesTest,
    testing::Values(
        FileCase{"Bytes", " 6,912", "16,384", "Bytes (SCREEN$)", "Start Address:", "16,384", "6,912 bytes", "", false},
        FileCase{"Bytes", " 6,913", "16,384", "Bytes", "Start Address:", "16,384", "6,913 bytes", "", false},
        FileCase{"Bytes", " 6,912", "16,385", "Bytes", "Start Address:", "16,385", "6,912 bytes", "", false},
        FileCase{"Program", "100", "10", "Program", "Basic Autostart:", "10", "100 bytes", "1,234", true},
        FileCase{"Program", "100", "32,768", "Program", "Basic Autostart:", "None", "100 bytes", "1,234", true},
        FileCase{"Program", "100", "32,767", "Program", "Basic Autostart:", "32,767", "100 bytes", "1,234", true},
        // The array's name is the high byte of Start: 129 is A, 193 is A$.
        FileCase{"Number Array", "18", "33,024", "Number Array", "Variable:", "A", "3 elements, 18 bytes", "", false},
        FileCase{"Character Array", "13", "49,408", "Character Array", "Variable:", "A$", "10 elements (13 bytes)", "",
                 false},
        FileCase{"Headerless", "5", "0", "Headerless", "", "", "5 bytes", "", false},
        FileCase{"Unknown (9)", "5", "77", "Unknown (9)", "Start:", "77", "5 bytes", "", true}));

class PropertiesGuiTest : public GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void TearDown() override
    {
        QLocale::setDefault(QLocale::c());
        GuiTest::TearDown();
    }

    // A window whose tool is a fake answering with `script`.
    TFormMain& makeFakeToolForm(const QString& script)
    {
        writeSettings({{"3ePos", writeFakeTool("props", script)}, {"Check3EUpdates", 0}});
        return makeForm();
    }

    void showRows(const std::vector<FileListRow>& rows, const QList<int>& selected, const QString& node = "GAMES")
    {
        const QSignalBlocker block(form->TreeView());
        auto* item = new QTreeWidgetItem(QStringList{node});
        form->TreeView()->addTopLevelItem(item);
        form->SelectNode(item);
        form->ListModel().clear();
        form->ListModel().appendRows(rows);
        for (int r : selected)
            form->ListView()->selectRow(r, true);
    }

    // Opens the dialog and returns label name -> text (hidden labels as
    // "hidden", right-aligned 180-pixel values marked ">").
    QMap<QString, QString> openProperties(const std::function<void()>& open = {})
    {
        QMap<QString, QString> shown;
        prompts->answerDialog([&](QDialog& dialog) {
            EXPECT_EQ(dialog.windowTitle(), QString("Properties"));
            EXPECT_EQ(dialog.size(), QSize(361, 464));
            EXPECT_FALSE(dialog.findChild<QLabel*>("ImgType")->pixmap().isNull());
            shown["TxtName"] = dialog.findChild<QLineEdit*>("TxtName")->text();
            for (QLabel* label : dialog.findChildren<QLabel*>()) {
                QString text = label->isVisible() ? label->text() : "hidden";
                if (label->alignment() & Qt::AlignRight && label->width() == 180)
                    text = ">" + text;
                shown[label->objectName()] = text;
            }
            return static_cast<int>(QDialog::Accepted);
        });
        if (open)
            open();
        else
            form->Properties1Click();
        EXPECT_TRUE(prompts->allAnswersUsed());
        return shown;
    }
};

TEST_F(PropertiesGuiTest, RefusesInOrder)
{
    const std::vector<FileListRow> rows{Row("Bytes", "1", "0"), Row("Bytes", "1", "0")};
    const std::vector<std::pair<std::function<void()>, QString>> cases{
        {[] {}, "No partition selected."},
        {[&] { showRows({}, {}); }, "No files in partition."},
        {[&] { showRows(rows, {}); }, "No file selected."},
        {[&] { showRows(rows, {0, 1}); }, "Invalid operation."},
    };
    for (const auto& [setUp, message] : cases) {
        makeFakeToolForm("exit 0");
        setUp();
        form->Properties1Click();
        EXPECT_EQ(prompts->errors(), QStringList{message});
        EXPECT_TRUE(prompts->allAnswersUsed());
    }
}

TEST_F(PropertiesGuiTest, AFileRowFillsTheDialog)
{
    makeFakeToolForm("exit 0");
    showRows({Row("Bytes", " 6,912", "16,384")}, {0});
    // Alt+Enter in the list.
    const QMap<QString, QString> shown = openProperties([this] {
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        QWidget* list = form->ListView()->currentView();
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Return, Qt::AltModifier);
    });
    EXPECT_EQ(shown["TxtName"], QString("NAME.BIN"));
    EXPECT_EQ(shown["LblType"], QString("Bytes (SCREEN$)"));
    EXPECT_EQ(shown["LblPartition"], QString("GAMES"));
    EXPECT_EQ(shown["LblDiskSize"], QString("7 bytes"));
    EXPECT_EQ(shown["Label7"], QString("Start Address:"));
    EXPECT_EQ(shown["Label9"], QString("hidden"));
    EXPECT_EQ(shown["Label2"], QString("File Type: "));
}

TEST_F(PropertiesGuiTest, APartitionRowShowsItsUsedAndFreeSpace)
{
    // The partition is 1 MiB; its files take 2048 + 1024 bytes on disk.
    makeFakeToolForm("case \"$2\" in\n"
                     "showptable) printf '1024,16,63\\r\\n2,30\\r\\nSYS,1,,0,0,0,1,1,2,512\\r\\n"
                     "GAMES,3,,0,2,15,3,100,200,1048576\\r\\n';;\n"
                     "dir) printf 'hdr\\r\\nA,2,,1,0,2048,3,9,0,0\\r\\nB,1,,1,0,1024,3,9,0,0\\r\\n';;\n"
                     "esac");
    FileListRow row;
    row.cells = {"GAMES", "1,048,576", "", "", "1 MB", "+3DOS", "", " 0/2 ", "15/3", "100", "200"};
    row.icon = 1;
    showRows({row}, {0}, "disk.hdf");
    ASSERT_TRUE(form->ListShowsPartitions());
    const QMap<QString, QString> shown = openProperties();
    EXPECT_EQ(shown["LblType"], QString("+3DOS partition"));
    EXPECT_EQ(shown["LblVersion"], QString("None"));
    EXPECT_EQ(shown["Label11"], QString("Size:"));
    EXPECT_EQ(shown["LblPartition"], QString(">1,048,576 bytes"));
    EXPECT_EQ(shown["Label3"], QString("Used Space:"));
    EXPECT_EQ(shown["LblDiskSize"], QString(">3,072 bytes"));
    EXPECT_EQ(shown["Label1"], QString("Free Space:"));
    EXPECT_EQ(shown["LblHDSize"], QString(">1,045,504 bytes"));
    EXPECT_EQ(shown["Label5"], QString("CH Begin:"));
    EXPECT_EQ(shown["LblRSize"], QString("0/2"));
    EXPECT_EQ(shown["Label7"], QString("CH End:"));
    EXPECT_EQ(shown["LblBasic"], QString("15/3"));
    EXPECT_EQ(shown["Label9"], QString("hidden"));
    EXPECT_EQ(shown["LblVars"], QString(""));
}

using DetailsTest = PropertiesGuiTest;

TEST_F(DetailsTest, ShowsTheToolsTextInANewWindowEachTime)
{
    makeFakeToolForm("[ \"$2\" = showpentry ] || exit 1\n"
                     "case \"$3\" in\n"
                     "GAMES) printf 'Name: GAMES\\r\\nType: +3DOS\\r\\n';;\n"
                     "BAD) printf 'no such partition\\r\\n' >&2;;\n"
                     "esac");
    showRows({}, {}, "GAMES");
    form->Showpartitiondetails1Click();
    showRows({}, {}, "EMPTY");
    form->findChild<QAction*>("Showpartitiondetails2")->trigger();
    showRows({}, {}, "BAD");
    form->Showpartitiondetails1Click();

    const QList<TFormView*> windows = form->findChildren<TFormView*>();
    ASSERT_EQ(windows.size(), 2);
    EXPECT_EQ(windows[0]->windowTitle(), QString("Show Partitition Details (GAMES)"));
    EXPECT_EQ(windows[0]->Text(), QString("Name: GAMES\nType: +3DOS\n"));
    EXPECT_EQ(windows[1]->windowTitle(), QString("Show Partitition Details (EMPTY)"));
    EXPECT_EQ(windows[1]->Text(), QString("No information available for partition."));
    EXPECT_TRUE(windows[0]->isVisible() && windows[1]->isVisible());
    EXPECT_EQ(form->StatusPanel(2), QString("Fatal Error: no such partition\r\n"));
    EXPECT_TRUE(prompts->errors().isEmpty());
}

TEST_F(DetailsTest, NeedsTheToolAndASelectedNode)
{
    makeFakeToolForm("exit 0");
    form->Showpartitiondetails1Click();
    form->ToolPath = path("missing/3E.EXE");
    showRows({}, {});
    form->Showpartitiondetails1Click();
    EXPECT_EQ(prompts->errors(), (QStringList{"No partition selected.", kBackendMissingText}));
    EXPECT_TRUE(form->findChildren<TFormView*>().isEmpty());
}

}  // namespace
