// The properties dialog (what each label shows for each kind of row) and the
// partition details window.
#include "view_gui_fixture.h"

#include "backend_checks.h"
#include "browser_commands.h"
#include "properties_texts.h"

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QLocale>
#include <QTest>

namespace {

TEST(PropertiesTextsTest, EachFileTypeShowsItsFacts)
{
    struct Case
    {
        const char* type;
        const char* realSize;
        const char* start;
        QStringList shown;  // LblType, Label7 ("" hidden), LblBasic, LblRSize, LblVars, Label9 shown
    };
    const Case cases[] = {
        {"Bytes", " 6,912", "16,384", {"Bytes (SCREEN$)", "Start Address:", "16,384", "6,912 bytes", "", "0"}},
        {"Bytes", " 6,913", "16,384", {"Bytes", "Start Address:", "16,384", "6,913 bytes", "", "0"}},
        {"Bytes", " 6,912", "16,385", {"Bytes", "Start Address:", "16,385", "6,912 bytes", "", "0"}},
        {"Program", "100", "10", {"Program", "Basic Autostart:", "10", "100 bytes", "1,234", "1"}},
        {"Program", "100", "32,768", {"Program", "Basic Autostart:", "None", "100 bytes", "1,234", "1"}},
        // The array's name is the high byte of Start: 129 is A, 193 is A$.
        {"Number Array", "18", "33,024", {"Number Array", "Variable:", "A", "3 elements, 18 bytes", "", "0"}},
        {"Character Array", "13", "49,408", {"Character Array", "Variable:", "A$", "10 elements (13 bytes)", "", "0"}},
        {"Headerless", "5", "0", {"Headerless", "", "", "5 bytes", "", "0"}},
        {"Unknown (9)", "5", "77", {"Unknown (9)", "Start:", "77", "5 bytes", "", "1"}},
    };
    for (const Case& c : cases) {
        const PropertiesTexts t =
            FilePropertiesTexts(Row("NAME.BIN", c.type, c.realSize, c.start, " 1,234 "), "GAMES ");
        EXPECT_EQ((QStringList{t.type, t.label7Visible ? t.label7 : "", t.basic, t.realSize, t.vars,
                               t.label9Visible ? "1" : "0"}),
                  c.shown);
        EXPECT_EQ((QStringList{t.name, t.attr, t.version, t.partition, t.diskSize, t.hdSize}),
                  (QStringList{"NAME.BIN", "-R-A", "1.0", "GAMES ", "7 bytes", "8 bytes"}));
    }
}

class PropertiesGuiTest : public ViewGuiTest
{
protected:
    void SetUp() override
    {
        ViewGuiTest::SetUp();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void TearDown() override
    {
        QLocale::setDefault(QLocale::c());
        ViewGuiTest::TearDown();
    }

    // Runs `open` and returns what the dialog showed: label name -> text,
    // "hidden" for a hidden label, ">" before a right-aligned value.
    QMap<QString, QString> openProperties(const std::function<void()>& open)
    {
        QMap<QString, QString> shown;
        prompts->answerDialog([&](QDialog& dialog) {
            EXPECT_EQ(dialog.windowTitle(), QString("Properties"));
            // Laid out: every value label gets the room its text needs.
            dialog.layout()->activate();
            EXPECT_FALSE(dialog.findChild<QLabel*>("ImgType")->pixmap().isNull());
            shown["TxtName"] = dialog.findChild<QLineEdit*>("TxtName")->text();
            for (QLabel* label : dialog.findChildren<QLabel*>()) {
                const QString text = label->isVisible() ? label->text() : "hidden";
                const bool column = (label->alignment() & Qt::AlignRight) != 0;
                if (label->isVisible())
                    EXPECT_GE(label->width(), label->sizeHint().width()) << label->objectName().toStdString();
                shown[label->objectName()] = (column ? ">" : "") + text;
            }
            return static_cast<int>(QDialog::Accepted);
        });
        open();
        EXPECT_TRUE(prompts->allAnswersUsed());
        return shown;
    }
};

TEST_F(PropertiesGuiTest, RefusesInOrder)
{
    const std::vector<FileListRow> rows{Row("A", "Bytes", "1"), Row("B", "Bytes", "1")};
    const std::vector<std::pair<std::function<void()>, QString>> cases{
        {[] {}, "No partition selected."},
        {[&] { showRows({}, {}); }, "No files in partition."},
        {[&] { showRows(rows, {}); }, "No file selected."},
        {[&] { showRows(rows, {0, 1}); }, "Invalid operation."},
    };
    for (const auto& [setUp, message] : cases) {
        makeFakeToolForm();
        setUp();
        form->Browser().showProperties();
        EXPECT_EQ(prompts->errors(), QStringList{message});
    }
}

TEST_F(PropertiesGuiTest, AltEnterShowsAFileAndAPartitionRowShowsItsSpace)
{
    // The partition is 1 MiB; its files take 2048 + 1024 bytes on disk.
    makeFakeToolForm("case \"$2\" in\n"
                     "showptable) printf '1024,16,63\\r\\n2,30\\r\\nSYS,1,,0,0,0,1,1,2,512\\r\\n"
                     "GAMES,3,,0,2,15,3,100,200,1048576\\r\\n';;\n"
                     "dir) printf 'hdr\\r\\nA,2,,1,0,2048,3,9,0,0\\r\\nB,1,,1,0,1024,3,9,0,0\\r\\n';;\n"
                     "esac");
    showRows({Row("SCR", "Bytes", " 6,912", "16,384")}, {0});
    QMap<QString, QString> shown = openProperties([this] {
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        form->ListView()->currentView()->setFocus();
        QTest::keyClick(form->ListView()->currentView(), Qt::Key_Return, Qt::AltModifier);
    });
    EXPECT_EQ((QStringList{shown["TxtName"], shown["LblType"], shown["LblPartition"], shown["Label7"],
                           shown["Label9"], shown["Label2"]}),
              (QStringList{"SCR", "Bytes (SCREEN$)", "GAMES", "Start Address:", "hidden", "File Type: "}));

    showRows({FileListRow{{"GAMES", "1,048,576", "", "", "1 MB", "+3DOS", "", " 0/2 ", "15/3", "100", "200"}, 1}},
             {0}, "disk.hdf");
    shown = openProperties([this] { form->findChild<QAction*>("Properties1")->trigger(); });
    const QStringList labels{"LblType", "LblVersion", "Label11", "LblPartition", "Label3", "LblDiskSize", "Label1",
                             "LblHDSize", "Label5", "LblRSize", "Label7", "LblBasic", "Label9", "LblVars"};
    QStringList texts;
    for (const QString& name : labels)
        texts << shown[name];
    EXPECT_EQ(texts, (QStringList{"+3DOS partition", "None", "Size:", ">1,048,576 bytes", "Used Space:",
                                  ">3,072 bytes", "Free Space:", ">1,045,504 bytes", "CH Begin:", "0/2", "CH End:",
                                  "15/3", "hidden", ""}));
}

using DetailsTest = PropertiesGuiTest;

TEST_F(DetailsTest, ShowTheToolsTextInANewWindowEachTime)
{
    makeFakeToolForm("[ \"$2\" = showpentry ] && case \"$3\" in\n"
                     "GAMES) printf 'Name: GAMES\\r\\nType: +3DOS\\r\\n';;\n"
                     "BAD) printf 'no such partition\\r\\n' >&2;;\n"
                     "esac");
    form->Browser().showPartitionDetails();
    showRows({}, {}, "GAMES");
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QTest::keyClick(form.get(), Qt::Key_P, Qt::ControlModifier);
    for (const char* node : {"EMPTY", "BAD"}) {
        showRows({}, {}, node);
        TriggerEntry(*form, "PopupMenu1/Showpartitiondetails1");
    }
    form->ToolPath = path("missing/3E.EXE");
    form->Browser().showPartitionDetails();

    EXPECT_EQ(prompts->errors(), (QStringList{"No partition selected.", kBackendMissingText}));
    QStringList shown;
    for (TFormView* window : viewWindows())
        shown << window->windowTitle() + "=" + window->Text() + (window->isVisible() ? "" : " hidden");
    EXPECT_EQ(shown, (QStringList{"Show Partitition Details (GAMES)=Name: GAMES\nType: +3DOS\n",
                                  "Show Partitition Details (EMPTY)=No information available for partition."}));
    EXPECT_EQ(form->StatusPanel(2), QString("Fatal Error: no such partition\r\n"));
}

}  // namespace
