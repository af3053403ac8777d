// Putting files: the five put commands, dropped files and the copy-operation
// dialog, against the real tool behind the logging wrapper.
#include "change_fixture.h"

#include "file_list_model.h"
#include "form_copy_operation.h"
#include "tape_writer.h"

#include <QAction>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QUrl>

namespace {

using PutTest = ChangeTest;

// Drives the copy-operation dialog: optionally clicks "+3DOS" / types an
// address / clicks "Binary mode", then clicks the button named `button`.
ScriptedPrompts::DialogScript CopyOperation(const QString& address, bool thenBinary = false,
                                            const char* button = "BitBtn1")
{
    return [=](QDialog& dialog) {
        auto& form = static_cast<TFormCopyOperation&>(dialog);
        if (!address.isNull()) {
            QTest::mouseClick(form.NumEdit, Qt::LeftButton);
            form.NumEdit->clear();
            QTest::keyClicks(form.NumEdit, address);
        }
        if (thenBinary)
            form.RadioButton1->click();
        dialog.findChild<QPushButton*>(button)->click();
        return dialog.result();
    };
}

TEST_F(PutTest, ChosenFilesArePutInDialogOrderUnderTheirShortNames)
{
    const QByteArray data("0123456789");
    struct Case
    {
        void (TFormMain::*command)();
        const char* verb;
        const char* address; // null: no address asked
    };
    for (const Case& c :
         {Case{&TFormMain::Putfilestandard1Click, "put", nullptr},
          Case{&TFormMain::Putfile3DOS1Click, "putbin", nullptr},
          Case{&TFormMain::Putfilesinstandardmodetoaspecificaddress1Click, "putbin", "32768"}}) {
        SCOPED_TRACE(c.verb);
        openMedium({"ONE"}, {}, "ONE");
        const QStringList files{hostFile("zeta.bin", data), hostFile("My Program.bas", data),
                                hostFile("a", data)};
        prompts->answerOpenFiles(files);
        if (c.address)
            prompts->answerInput(c.address);
        (form.get()->*c.command)();

        const FileDialogRequest request = prompts->fileRequests().value(0);
        EXPECT_EQ(request.title, "Put files to transfer");
        EXPECT_EQ(request.filter, "All Files (*.*)|*.*");
        EXPECT_EQ(request.fileName, "*.*");
        EXPECT_TRUE(request.defaultSuffix.isEmpty() && request.multiple);
        if (c.address) {
            EXPECT_EQ(prompts->inputRequests().value(0).caption, "3eHarnwick");
            EXPECT_EQ(prompts->inputRequests().value(0).prompt,
                      "Please type the start address for all files");
        }
        const QString tail = c.address ? QString(c.address) + "|" : QString();
        EXPECT_EQ(runs(),
                  (QStringList{QString(c.verb) + "|" + files[0] + "|ONE:ZETA.BIN|" + tail,
                               QString(c.verb) + "|" + files[1] + "|ONE:MY_PRO~1.BAS|" + tail,
                               QString(c.verb) + "|" + files[2] + "|ONE:A|" + tail}));
        EXPECT_EQ(columnTexts(FileListModel::ColName),
                  (QStringList{"ZETA.BIN", "MY_PRO~1.BAS", "A"}));
        EXPECT_EQ(form->OpenDialogFolder, path("host"));
        EXPECT_TRUE(prompts->errors().isEmpty()) << prompts->errors().join('\n').toStdString();
    }
}

TEST_F(PutTest, AnAddressTheToolRefusesIsReportedNotCompleted)
{
    openMedium({"ONE"}, {"KEEP", "x"}, "ONE");
    const QString file = hostFile("f.bin", "data");
    prompts->answerOpenFiles({file}).answerInput("not a number");
    form->Putfilesinstandardmodetoaspecificaddress1Click();
    EXPECT_EQ(runs(), QStringList{"putbin|" + file + "|ONE:F.BIN|not|a|number|"});
    EXPECT_TRUE(form->StatusPanel(2).startsWith("Copy failed, 1 of 1 not copied: " + file + ": "));
    ASSERT_EQ(prompts->errors().size(), 1);
    EXPECT_TRUE(prompts->errors()[0].startsWith("These files were not copied:\r\n" + file + ": "));
    EXPECT_EQ(columnTexts(FileListModel::ColName), QStringList{"KEEP"});
}

TEST_F(PutTest, CancellingTheDialogOrTheAddressRunsNothing)
{
    openMedium({"ONE"}, {}, "ONE");
    prompts->answerOpenFiles({});
    form->Putfile3DOS1Click();
    prompts->answerOpenFiles({hostFile("f", "x")}).cancelInput();
    form->Putfilesinstandardmodetoaspecificaddress1Click();
    EXPECT_TRUE(runs().isEmpty());
    EXPECT_TRUE(prompts->allAnswersUsed());
}

TEST_F(PutTest, TapeAndDiskImagesArePutWholeAndAFailingImageLeavesTheList)
{
    openMedium({"ONE"}, {"OLD", "x"}, "ONE");
    TapeFileFacts facts{"tapefile", "Bytes", 3, 32768, 0};
    const QString tape =
        hostFile("t.tap", TapeBlock(0, TapeHeaderPayload(facts)) + TapeBlock(0xFF, "abc"));
    prompts->answerOpenFiles({tape, hostFile("other.tap", "")});
    form->Putalltapecontents1Click();
    EXPECT_EQ(prompts->fileRequests().value(0).title, "Open tape image");
    EXPECT_EQ(prompts->fileRequests().value(0).defaultSuffix, "tap");
    EXPECT_EQ(prompts->fileRequests().value(0).fileName, "*.tap");
    EXPECT_EQ(prompts->fileRequests().value(0).filter,
              "Zx Spectrum Tape Files (*.tap)|*.tap|All Files (*.*)|*.*");
    EXPECT_EQ(runs(), QStringList{"puttap|" + tape + "|ONE|"});
    EXPECT_EQ(filesIn("ONE").size(), 2);
    EXPECT_EQ(columnTexts(FileListModel::ColName).size(), 2);

    const QString dsk = path("floppy.dsk");
    ASSERT_EQ(QProcess::execute("dskform", {"-type", "dsk", "-format", "pcw180", dsk}), 0);
    ASSERT_EQ(QProcess::execute("cpmcp", {"-T", "dsk", "-f", "pcw", dsk,
                                          hostFile("d1", "disk file"), "0:DISKFILE.BIN"}),
              0);
    clearRuns();
    prompts->answerOpenFiles({dsk});
    form->Putalldiskcontents1Click();
    EXPECT_EQ(prompts->fileRequests().value(1).title, "Open disk image");
    EXPECT_EQ(prompts->fileRequests().value(1).defaultSuffix, "dsk");
    EXPECT_EQ(prompts->fileRequests().value(1).filter,
              "Zx Spectrum Disk Images (*.dsk)|*.dsk|All Files (*.*)|*.*");
    EXPECT_EQ(runs(), QStringList{"putdsk|" + dsk + "|ONE|"});
    EXPECT_TRUE(columnTexts(FileListModel::ColName).contains("DISKFILE.BIN"));

    const QStringList before = columnTexts(FileListModel::ColName);
    prompts->answerOpenFiles({hostFile("broken.tap", "not a tape")});
    form->Putalltapecontents1Click();
    EXPECT_TRUE(form->StatusPanel(2).startsWith("Fatal Error: "));
    EXPECT_EQ(columnTexts(FileListModel::ColName), before);
}

TEST(CopyOperation, GivesTheCommandAndACheckedAddress)
{
    struct Case
    {
        QString typed; // null: nothing typed
        bool thenBinary;
        const char* button;
        const char* command;
        const char* address;
        bool invalid;
    };
    const Case cases[] = {
        {{}, false, "BitBtn1", "put", "", false},
        {"32768", false, "BitBtn1", "putbin", "32768", false},
        {"0", false, "BitBtn1", "putbin", "0", false},
        {"65535", false, "BitBtn1", "putbin", "65535", false},
        {"65536", false, "BitBtn1", "", "0", true},
        {"-1", false, "BitBtn1", "", "0", true},
        {"100", true, "BitBtn1", "put", "", false},
        {"100", false, "BitBtn2", "", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString() + " " + c.button);
        ScriptedPrompts scripted;
        TFormCopyOperation dialog(scripted);
        EXPECT_EQ(dialog.windowTitle(), "Specify copy operation");
        EXPECT_EQ(dialog.size(), QSize(285, 116));
        EXPECT_TRUE(dialog.RadioButton1->isChecked());
        EXPECT_FALSE(dialog.NumEdit->isReadOnly());
        dialog.show();
        CopyOperation(c.typed, c.thenBinary, c.button)(dialog);
        EXPECT_EQ(dialog.Command, c.command);
        EXPECT_EQ(dialog.Address, c.address);
        EXPECT_EQ(scripted.records().size(), c.invalid ? 1 : 0);
        if (c.invalid) {
            EXPECT_EQ(scripted.records()[0].text, "Address invalid.");
        }
        if (c.thenBinary) {
            EXPECT_TRUE(dialog.NumEdit->text().isEmpty() && dialog.NumEdit->isReadOnly());
        }
        EXPECT_FALSE(dialog.isVisible());
    }
}

TEST_F(PutTest, DroppedFilesArePutAfterTheDialogShowingEachCopy)
{
    openMedium({"ONE"}, {}, "ONE");
    const QString first = hostFile("first.scr", "1");
    const QString second = hostFile("second.bin", "2");
    recordShown();

    // A drop onto the list: only local files are taken, and only after the dialog.
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(first), QUrl::fromLocalFile(path("host")),
                  QUrl("http://example.com/x"), QUrl::fromLocalFile(second)});
    QWidget* target = form->ListView();
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    prompts->answerDialog(CopyOperation("32768"));
    QCoreApplication::sendEvent(target, &drop);
    EXPECT_EQ(runs(), (QStringList{"putbin|" + first + "|ONE:FIRST.SCR|32768|",
                                   "putbin|" + second + "|ONE:SECOND.BIN|32768|"}));
    EXPECT_TRUE(shownTexts("StatusPanel2").contains("Copying " + first + " to ONE"));
    EXPECT_LT(shownTexts("StatusPanel2").indexOf("Copying " + first + " to ONE"),
              shownTexts("StatusPanel2").indexOf("Copying " + second + " to ONE"));
    EXPECT_EQ(columnTexts(FileListModel::ColName), (QStringList{"FIRST.SCR", "SECOND.BIN"}));

    clearRuns();
    prompts->answerDialog(CopyOperation("70000"));
    form->PJCtrlDropFilesDropFiles({first});
    prompts->clickInDialog("BitBtn2");
    form->PJCtrlDropFilesDropFiles({first});
    EXPECT_TRUE(runs().isEmpty());
}

TEST_F(PutTest, EveryMenuEntryButtonAndPopUpEntryRunsItsCommand)
{
    openMedium({"ONE"}, {"F", "f", "G", "g"}, "ONE");
    const QString file = hostFile("w.bin", "w");
    const auto answerFile = [&] { prompts->answerOpenFiles({file}); };
    struct Wiring
    {
        QStringList actions;
        std::function<void()> answer;
        QString seen; // the first run (the host file as H), else the first message
    };
    const Wiring wirings[] = {
        {{"Putfilestandard1", "Putfilestandard2", "ToolButtonPutBinaryAction"},
         answerFile,
         "put|H|ONE:W.BIN|"},
        {{"Putfile3DOS1", "Putfile3DOS2"}, answerFile, "putbin|H|ONE:W.BIN|"},
        {{"Putfilesinstandardmodetoaspecificaddress1", "Putfilesinstandardmodetoaspecificaddress2"},
         [&] { prompts->answerOpenFiles({file}).answerInput("7"); },
         "putbin|H|ONE:W.BIN|7|"},
        {{"Putalltapecontents1", "Putalltapecontents2", "ToolButtonPutTapeAction"},
         answerFile,
         "puttap|H|ONE|"},
        {{"Putalldiskcontents1", "Putalldiskcontents2"}, answerFile, "putdsk|H|ONE|"},
        {{"Deleteselectedfiles2", "Deleteselectedfiles1", "ToolButtonDeleteAction"},
         [&] { prompts->answerConfirm(Prompts::Answer::No); },
         "Are you sure you want to delete selected file(s)?"},
        {{"Rname1", "Rname2"}, [] {}, "Only one file can be renamed at a time."},
        {{"Cut1", "Cut2"}, [] {}, "cut ONE:F ONE:G"},
        {{"Copy1", "Copy2", "ToolButton9Action"}, [] {}, "get|ONE:F|"},
        {{"Paste1", "Paste2", "ToolButton11Action"},
         [&] { form->FileClipboard = {"ONE:NOPE"}; },
         "get|ONE:NOPE|"},
    };
    for (const Wiring& wiring : wirings) {
        for (const QString& action : wiring.actions) {
            clearRuns();
            prompts->clearRecords();
            form->FileClipboard.clear();
            form->ClipboardMode = TFormMain::ClipboardModes::None;
            selectRows({0, 1});
            wiring.answer();
            form->findChild<QAction*>(action)->trigger();
            QString seen = runs().value(0).replace(file, "H");
            if (seen.isEmpty() && !prompts->records().isEmpty())
                seen = prompts->records().first().text;
            if (seen.isEmpty() && form->ClipboardMode == TFormMain::ClipboardModes::Cut)
                seen = "cut " + form->FileClipboard.join(' ');
            EXPECT_TRUE(seen.startsWith(wiring.seen))
                << action.toStdString() << ": " << seen.toStdString();
        }
    }
}

} // namespace
