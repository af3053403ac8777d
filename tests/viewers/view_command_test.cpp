// The view command with a fake disk tool: its refusals in order, the formatter
// it runs for each mode and type, the window it opens and the local copy it
// leaves behind (none).
#include "view_gui_fixture.h"

#include "ansi_text.h"
#include "backend_checks.h"
#include "formatters.h"

#include <QAction>
#include <QPlainTextEdit>

namespace {

QString Shown(const QByteArrayList& lines)
{
    return AnsiToQString(lines.join('\n'));
}

// A BASIC program of two lines, followed by a variables area.
const QByteArray kProgram("\x00\x0A\x05\x00\xF5\"hi\"\r\x00\x14\x02\x00\xFB\r", 16);
const QByteArray kVariables("\x61\x00\x00\x05\x00\x00\x80", 7);
const QByteArray kBytes("ABCDEFGHIJKLMNOPQRS\x7F\x80\r\n", 23);

using ViewCommandTest = ViewGuiTest;

TEST_F(ViewCommandTest, RefusesInOrderWithoutRunningTheTool)
{
    struct Case
    {
        const char* what;
        std::function<void()> setUp;
        void (TFormMain::*command)();
        QString message;
    };
    const std::vector<FileListRow> files{Row("A", "Bytes", "70,000"), Row("B", "Bytes", "10")};
    FileListRow partitionRow = Row("P", "+3DOS", "");
    const std::vector<Case> cases{
        {"tool missing", [this] { form->ToolPath = path("none/3E.EXE"); }, &TFormMain::ViewBASICcode1Click,
         kBackendMissingText},
        {"no node", [] {}, &TFormMain::AsList1Click, "No partition selected."},
        {"no rows", [this] { showRows("P", {}, {}); }, &TFormMain::AsText1Click, "No files in partition."},
        {"no selection", [&] { showRows("P", files, {}); }, &TFormMain::AsData1Click,
         "No file selected."},
        {"partitions, two selected", [&] { showRows("P", {partitionRow, partitionRow}, {0, 1}); },
         &TFormMain::ViewBASICcode1Click, "Invalid operation."},
        {"two selected, one too big", [&] { showRows("P", files, {0, 1}); }, &TFormMain::AsBinary1Click,
         "Only one file can be viewed at a time."},
        {"too big, not BASIC", [&] { showRows("P", files, {0}); }, &TFormMain::AsBASIC1Click,
         "File too big (>64K)."},
        {"not BASIC", [&] { showRows("P", files, {1}); }, &TFormMain::AsBASIC1Click,
         "This file cannot be viewed as BASIC."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TFormMain& f = makeViewForm();
        c.setUp();
        (f.*c.command)();
        EXPECT_EQ(prompts->errors(), QStringList{c.message});
        EXPECT_TRUE(viewWindows().isEmpty());
        EXPECT_TRUE(toolLog().isEmpty());
    }
    EXPECT_TRUE(privateTempFiles().isEmpty());
}

TEST_F(ViewCommandTest, EachEntryShowsItsFormatOnce)
{
    struct Case
    {
        const char* action;
        int row;
        QString text;
    };
    const QByteArray program = kProgram + kVariables;
    const QByteArray bytes65536(65536, '\x2A');
    const QByteArray array("\x01\x02\x00\x01\x00\x00\x02\x00\x00", 9);
    const std::vector<Case> cases{
        // Automatic: by type; a program is listed without its variables.
        {"ViewBASICcode1", 0, Shown(BasicListing(kProgram))},
        {"ToolButton14Action", 1, Shown(HexDumpLines(kBytes))},
        {"ViewBASICcode2", 2, Shown(HexDumpLines(kBytes))},  // headerless: from byte 0
        {"ViewBASICcode1", 3, Shown(ListLines(array))},
        {"ViewBASICcode1", 4, QString()},
        {"ViewBASICcode1", 5, Shown(HexDumpLines(bytes65536))},
        // Forced: the whole real size, whatever the type.
        {"AsBASIC1", 0, Shown(BasicListing(kProgram))},
        {"AsBinary1", 0, Shown(HexDumpLines(program))},
        {"AsText1", 1, Shown(TextLines(kBytes))},
        {"AsList1", 2, Shown(ListLines(kBytes))},
        {"AsData1", 4, Shown(DataLoaderLines(kBytes))},
        // The next automatic view chooses by type again.
        {"ViewBASICcode1", 0, Shown(BasicListing(kProgram))},
    };
    TFormMain& f = makeViewForm();
    addSource("PROG", program);
    addSource("CODE", kBytes);
    addSource("RAW", kBytes, false);
    addSource("ARR", array);
    addSource("ODD.X", kBytes);
    addSource("BIG", bytes65536);
    showRows("GAMES", {Row("PROG", "Program", "23", "10", "16"), Row("CODE", "Bytes", "23"),
                       Row("RAW", "Headerless", "23"), Row("ARR", "Number Array", "9", "33024"),
                       Row("ODD.X", "Unknown (7)", "23"), Row("BIG", "Bytes", QLocale().toString(65536))},
             {});
    const QStringList names{"PROG", "CODE", "RAW", "ARR", "ODD.X", "BIG"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.action);
        for (int r : f.SelectedRows())
            f.ListView()->selectRow(r, false);
        f.ListView()->selectRow(c.row, true);
        auto* action = f.findChild<QAction*>(c.action);
        ASSERT_NE(action, nullptr);
        const int before = viewWindows().size();
        action->trigger();
        ASSERT_EQ(viewWindows().size(), before + 1);
        TFormView* window = viewWindows().last();
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->windowTitle(), "File View - GAMES:" + names[c.row]);
        EXPECT_EQ(window->Text(), c.text);
        EXPECT_EQ(window->Memo1()->textCursor().position(), 0);
        EXPECT_EQ(window->FontPoints(), 8);
        EXPECT_EQ(window->Memo1()->font().family(), QString("Courier New"));
        // The tool got the file into a folder of the private temporary
        // folder, which holds nothing afterwards.
        const QStringList args = toolLog().last().split('|');
        ASSERT_GE(args.size(), 4);
        EXPECT_EQ(args.mid(1, 2), (QStringList{"get", "GAMES:" + names[c.row]}));
        EXPECT_TRUE(args[3].startsWith(PrivateTempFolder() + "/")) << args[3].toStdString();
        EXPECT_TRUE(args[3].endsWith("/"));
        EXPECT_TRUE(privateTempFiles().isEmpty());
    }
    EXPECT_TRUE(prompts->errors().isEmpty());
    // Every window stays; the newest is on top of the main window.
    EXPECT_EQ(viewWindows().size(), static_cast<int>(cases.size()));
    EXPECT_TRUE(viewWindows().first()->windowFlags() & Qt::WindowStaysOnTopHint);
}

TEST_F(ViewCommandTest, AFailedReadShowsItsErrorAndLeavesNoCopy)
{
    TFormMain& f = makeViewForm();
    addSource("SHORT", "abc");
    showRows("P", {Row("SHORT", "Bytes", "10"), Row("GONE", "Bytes", "10")}, {0});
    f.findChild<QAction*>("AsText1")->trigger();
    f.ListView()->selectRow(0, false);
    f.ListView()->selectRow(1, true);
    f.findChild<QAction*>("ViewBASICcode1")->trigger();
    EXPECT_EQ(prompts->errors(), (QStringList{"Read beyond end of file", "File not found"}));
    EXPECT_TRUE(viewWindows().isEmpty());
    EXPECT_EQ(toolLog().size(), 2);
    EXPECT_TRUE(privateTempFiles().isEmpty());
}

TEST_F(ViewCommandTest, TheSpectrumFontIsUsedWhenChosen)
{
    TFormMain& f = makeViewForm(true);
    addSource("CODE", kBytes);
    showRows("P", {Row("CODE", "Bytes", "23")}, {0});
    f.ViewBASICcode1Click();
    ASSERT_EQ(viewWindows().size(), 1);
    EXPECT_EQ(viewWindows().first()->Memo1()->font().family(), QString("Zx Spectrum"));
    EXPECT_EQ(viewWindows().first()->FontPoints(), 6);
}

}  // namespace
