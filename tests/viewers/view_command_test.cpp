// The view command with a fake disk tool: its refusals in order, the format
// each entry shows, the window it opens and the local copy (never left).
#include "view_gui_fixture.h"

#include "ansi_text.h"
#include "backend_checks.h"
#include "formatters.h"
#include "screen_image.h"
#include "screen_view.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QTest>

namespace {

using ViewCommandTest = ViewGuiTest;

TEST_F(ViewCommandTest, RefusesInOrderWithoutRunningTheTool)
{
    const std::vector<FileListRow> files{Row("A", "Bytes", "70,000"), Row("B", "Bytes", "10")};
    const std::vector<FileListRow> partitions{Row("P", "+3DOS", ""), Row("Q", "+3DOS", "")};
    const std::vector<std::tuple<std::function<void()>, const char*, QString>> cases{
        {[this] { form->ToolPath = path("none/3E.EXE"); }, "ViewBASICcode1", kBackendMissingText},
        {[] {}, "AsList1", "No partition selected."},
        {[this] { showRows({}, {}); }, "AsText1", "No files in partition."},
        {[&] { showRows(files, {}); }, "AsData1", "No file selected."},
        {[&] { showRows(partitions, {0, 1}); }, "ViewBASICcode1", "Invalid operation."},
        {[&] { showRows(files, {0, 1}); }, "AsBinary1", "Only one file can be viewed at a time."},
        {[&] { showRows(files, {0}); }, "AsBASIC1", "File too big (>64K)."},
        {[&] { showRows(files, {1}); }, "AsBASIC1", "This file cannot be viewed as BASIC."},
    };
    for (const auto& [setUp, action, message] : cases) {
        makeFakeToolForm();
        setUp();
        TriggerEntry(*form, action);
        EXPECT_EQ(prompts->errors(), QStringList{message});
        EXPECT_TRUE(viewWindows().isEmpty());
    }
    EXPECT_TRUE(toolLog().isEmpty());
}

TEST_F(ViewCommandTest, EachEntryOpensAWindowInItsFormat)
{
    // A Bytes file of exactly 64K is shown whole.
    QByteArray data(65536, '\0');
    for (int i = 0; i < data.size(); ++i)
        data[i] = char(i % 253);
    const auto shown = [&](QByteArrayList (*format)(QByteArrayView)) { return AnsiToQString(format(data).join('\n')); };
    const auto action = [this](const char* name) { return [this, name] { TriggerEntry(*form, name); }; };
    const std::vector<std::pair<std::function<void()>, QString>> cases{
        {action("ViewBASICcode1"), shown(HexDumpLines)},
        {action("ToolButton14"), shown(HexDumpLines)},
        {action("PopupMenu2/ViewBASICcode1"), shown(HexDumpLines)},
        {[this] { QTest::keyRelease(form->ListView()->currentView(), Qt::Key_Return, Qt::ControlModifier); },
         shown(HexDumpLines)},
        {[this] {
             QAbstractItemView* list = form->ListView()->currentView();
             QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                                list->visualRect(form->ListModel().index(0, 0)).center());
         },
         shown(HexDumpLines)},
        {action("AsBinary1"), shown(HexDumpLines)},
        {action("AsText1"), shown(TextLines)},
        {action("AsList1"), shown(ListLines)},
        {action("AsData1"), shown(DataLoaderLines)},
    };
    makeFakeToolForm();
    addSource("BIG.BIN", QByteArray(128, 'H') + data);
    showRows({Row("BIG.BIN", "Bytes", QLocale().toString(65536))}, {0});
    form->show();
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        const auto& [open, text] = cases[i];
        const int before = viewWindows().size();
        open();
        ASSERT_EQ(viewWindows().size(), before + 1);
        TFormView* window = viewWindows().last();
        EXPECT_EQ(window->windowTitle(), QString("File View - GAMES:BIG.BIN"));
        EXPECT_EQ(window->Text(), text);
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->Memo1()->textCursor().position(), 0);
        // The copy went to a folder of the private temporary folder, which
        // holds nothing afterwards.
        const QStringList args = toolLog().last().split('|');
        EXPECT_EQ(args.mid(1, 2), (QStringList{"get", "GAMES:BIG.BIN"}));
        EXPECT_TRUE(args.value(3).startsWith(PrivateTempFolder() + "/") && args.value(3).endsWith("/"));
        EXPECT_TRUE(privateTempFiles().isEmpty());
    }
    EXPECT_EQ(viewWindows().size(), static_cast<int>(cases.size()));
    EXPECT_TRUE(prompts->errors().isEmpty());
}

TEST_F(ViewCommandTest, AScreenIsShownAsAPicture)
{
    // A 6912-byte Bytes file shows as a picture by itself and through
    // "as Picture"; a file of another size is refused as a picture.
    QByteArray screen(6912, '\0');
    for (int i = 0; i < screen.size(); ++i)
        screen[i] = char((i * 37) % 251);
    makeFakeToolForm();
    addSource("SCREEN.SCR", QByteArray(128, 'H') + screen);
    addSource("BIG.BIN", QByteArray(128, 'H') + QByteArray(7000, 'x'));
    showRows({Row("SCREEN.SCR", "Bytes", QLocale().toString(6912)), Row("BIG.BIN", "Bytes", QLocale().toString(7000))},
             {0});
    form->show();
    for (const char* entry : {"ViewBASICcode1", "AsPicture1"}) {
        SCOPED_TRACE(entry);
        TriggerEntry(*form, entry);
        ASSERT_FALSE(viewWindows().isEmpty());
        ScreenView* picture = viewWindows().last()->PictureView();
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->PictureToSave(false), RenderScreen(screen));
    }
    selectOnly(1);
    TriggerEntry(*form, "AsPicture1");
    EXPECT_EQ(prompts->errors(), QStringList{"This file cannot be viewed as a picture."});
    EXPECT_EQ(viewWindows().size(), 2);
}

TEST_F(ViewCommandTest, AFailedReadLeavesNoWindowAndNoCopy)
{
    makeFakeToolForm({}, true);
    addSource("SHORT", QByteArray(130, 'x'));
    showRows({Row("SHORT", "Bytes", "10"), Row("GONE", "Bytes", "10"), Row("ODD", "Unknown (7)", "10")}, {0});
    form->findChild<QAction*>("AsText1")->trigger();
    selectOnly(1);
    form->findChild<QAction*>("ViewBASICcode1")->trigger();
    EXPECT_EQ(prompts->errors(), (QStringList{"Read beyond end of file", "File not found"}));
    EXPECT_TRUE(viewWindows().isEmpty());
    EXPECT_TRUE(privateTempFiles().isEmpty());
    // An unknown type opens an empty window, here in the Spectrum font.
    selectOnly(2);
    form->Viewers().viewSelectedFile(ViewMode::Automatic);
    ASSERT_EQ(viewWindows().size(), 1);
    EXPECT_EQ(viewWindows().first()->windowTitle(), QString("File View - GAMES:ODD"));
    EXPECT_EQ(viewWindows().first()->Text(), QString());
    EXPECT_EQ(viewWindows().first()->Memo1()->font().family(), QString("Zx Spectrum"));
    EXPECT_EQ(viewWindows().first()->FontPoints(), 6);
}

}  // namespace
