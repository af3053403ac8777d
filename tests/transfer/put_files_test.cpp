// Putting files: the five put commands, dropped files, the copy-operation
// dialog and the wiring of every entry of these commands.
#include "change_fixture.h"

#include "conflict_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>

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

QString Described(const FileDialogRequest& r)
{
    return QStringList{r.title, r.defaultSuffix, r.fileName, r.filter}.join('|') +
           (r.multiple ? "|several" : "|one");
}

// Drives the copy-operation dialog: types an address after clicking into its
// field (unless `address` is null), clicks "Binary mode" when asked, then
// clicks `button`.
ScriptedPrompts::DialogScript CopyOperation(const QString& address, bool thenBinary = false,
                                            const char* button = "BitBtn1")
{
    return [=](QDialog& dialog) {
        auto& form = static_cast<TFormCopyOperation&>(dialog);
        if (!address.isNull()) {
            QTest::mouseClick(form.NumEdit, Qt::LeftButton);
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
    for (const char* address : {"", "32768"}) {
        openMedium({"ONE"}, {}, "ONE");
        const QStringList files{hostFile("zeta.bin", "z"), hostFile("My Program.bas", "10 REM"),
                                hostFile("a", "a")};
        prompts->answerOpenFiles(files);
        if (*address)
            prompts->answerInput(address);
        *address ? form->Transfer().putFilesAtAddress()
                 : form->Transfer().putFilesWithHeader();
        EXPECT_EQ(Described(prompts->fileRequests().value(0)),
                  "Put files to transfer||*.*|All Files (*.*)|*.*|several");
        const QString end = *address ? QString("|") + address + "|" : "|";
        EXPECT_EQ(runs(), (QStringList{"putbin|" + files[0] + "|ONE:ZETA.BIN" + end,
                                       "putbin|" + files[1] + "|ONE:MY_PRO~1.BAS" + end,
                                       "putbin|" + files[2] + "|ONE:A" + end}));
        EXPECT_EQ(columnTexts(FileListModel::ColName),
                  (QStringList{"ZETA.BIN", "MY_PRO~1.BAS", "A"}));
        EXPECT_EQ(form->OpenDialogFolder, path("host"));
        EXPECT_TRUE(prompts->errors().isEmpty());
    }
    // The address box, and cancelling it.
    EXPECT_EQ(prompts->records().value(1).caption + "|" + prompts->records().value(1).text,
              "3eHarnwick|Please type the start address for all files");
    clearRuns();
    prompts->answerOpenFiles({path("host/a")}).cancelInput();
    form->Transfer().putFilesAtAddress();
    EXPECT_TRUE(runs().isEmpty());
}

TEST_F(PutTest, ATakenNameIsReplacedOnlyWhenTheUserSaysSo)
{
    // button, files afterwards, content of GAME.BAS, status panel 2 (the
    // fresh listing when every file was put)
    const std::tuple<QString, QStringList, QByteArray, QString> cases[] = {
        {"Replace", {"GAME.BAS"}, "new", "1 files, total 3 bytes, 128 allocated"},
        {"Skip", {"GAME.BAS"}, "old", "Copy completed: 0 file(s) copied, 1 skipped"},
        {"KeepBoth", {"GAME.BAS", "GAME1.BAS"}, "old", "2 files, total 6 bytes, 256 allocated"},
        {"Cancel", {"GAME.BAS"}, "old", "Copy cancelled: 0 of 1 file(s) copied"},
    };
    for (const auto& [button, files, content, status] : cases) {
        SCOPED_TRACE(button.toStdString());
        openMedium({"ONE"}, {"GAME.BAS", "old"}, "ONE");
        conflictQuestions.clear();
        prompts->answerOpenFiles({hostFile("game.bas", "new")});
        answerConflict(button);
        form->Transfer().putFilesBinary();
        EXPECT_EQ(conflictQuestions, QStringList{"A file named GAME.BAS already exists in ONE."});
        EXPECT_EQ(filesIn("ONE"), files);
        EXPECT_EQ(contentOf("ONE", "GAME.BAS"), content);
        if (button == "KeepBoth")
            EXPECT_EQ(contentOf("ONE", "GAME1.BAS"), "new");
        EXPECT_EQ(form->StatusPanel(2), status);
        EXPECT_TRUE(prompts->errors().isEmpty());
    }
}

TEST_F(PutTest, CollidingHostNamesBecomeTwoFilesAndOneAnswerCanStandForAll)
{
    openMedium({"ONE"}, {"A.BIN", "a", "B.BIN", "b"}, "ONE");
    prompts->answerOpenFiles({hostFile("My Program 1.bas", "1"), hostFile("My Program 2.bas", "2"),
                              hostFile("a.bin", "A"), hostFile("b.bin", "B"),
                              hostFile("c.bin", "C")});
    answerConflict("Skip", true);
    form->Transfer().putFilesBinary();
    EXPECT_EQ(conflictQuestions, QStringList{"A file named A.BIN already exists in ONE."});
    EXPECT_EQ(filesIn("ONE"),
              (QStringList{"A.BIN", "B.BIN", "C.BIN", "MY_PRO~1.BAS", "MY_PRO~2.BAS"}));
    EXPECT_EQ(contentOf("ONE", "MY_PRO~1.BAS") + contentOf("ONE", "MY_PRO~2.BAS") +
                  contentOf("ONE", "A.BIN") + contentOf("ONE", "B.BIN"),
              "12ab");
    EXPECT_EQ(form->StatusPanel(2), "Copy completed: 3 file(s) copied, 2 skipped");
}

TEST(ConflictDialog, EachButtonGivesItsAnswer)
{
    ConflictQuestion question;
    question.text = NameConflicts::QuestionText("GAME.BAS", "ONE");
    question.offered = {ConflictAnswer::Replace, ConflictAnswer::Skip, ConflictAnswer::KeepBoth,
                        ConflictAnswer::Cancel};
    question.remaining = 2;
    // button, "apply to all" ticked, answer, apply to all (Cancel never stands for all)
    const std::tuple<const char*, bool, ConflictAnswer, bool> cases[] = {
        {"Replace", true, ConflictAnswer::Replace, true},
        {"Skip", false, ConflictAnswer::Skip, false},
        {"KeepBoth", true, ConflictAnswer::KeepBoth, true},
        {"Cancel", true, ConflictAnswer::Cancel, false},
    };
    for (const auto& [button, all, answer, forAll] : cases) {
        SCOPED_TRACE(button);
        ConflictDialog dialog(question);
        dialog.show();
        auto* box = dialog.findChild<QDialogButtonBox*>();
        ASSERT_NE(box, nullptr);
        ASSERT_EQ(box->buttons().size(), 4);
        auto* clicked = box->findChild<QPushButton*>(button);
        ASSERT_NE(clicked, nullptr);
        EXPECT_EQ(clicked->text(), ConflictAnswerCaption(answer));
        dialog.findChild<QCheckBox*>("ApplyToAll")->setChecked(all);
        clicked->click();
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.reply().answer, answer);
        EXPECT_EQ(dialog.reply().applyToAll, forAll);
    }
    // Closed without a button: Cancel. The last file: no "apply to all".
    question.remaining = 0;
    ConflictDialog closed(question);
    closed.show();
    EXPECT_FALSE(closed.findChild<QCheckBox*>("ApplyToAll")->isVisible());
    closed.close();
    EXPECT_EQ(closed.reply().answer, ConflictAnswer::Cancel);
}

TEST_F(PutTest, AnAddressTheToolRefusesIsReportedAndNothingIsCompleted)
{
    openMedium({"ONE"}, {"KEEP", "k"}, "ONE");
    const QString file = hostFile("f.bin", "f");
    prompts->answerOpenFiles({file}).answerInput("not a number");
    form->Transfer().putFilesAtAddress();
    EXPECT_EQ(runs(), QStringList{"putbin|" + file + "|ONE:F.BIN|not|a|number|"});
    EXPECT_TRUE(form->StatusPanel(2).startsWith("Copy failed, 1 of 1 not copied: " + file));
    EXPECT_TRUE(prompts->errors().value(0).startsWith("These files were not copied:\r\n" + file));
    EXPECT_EQ(columnTexts(FileListModel::ColName), QStringList{"KEEP"});
}

TEST_F(PutTest, TapeAndDiskImagesArePutWholeAndAFailingImageLeavesTheList)
{
    openMedium({"ONE"}, {"OLD", "x"}, "ONE");
    const QString tape =
        hostFile("t.tap", TapeBlock(0, TapeHeaderPayload({"tapefile", "Bytes", 3, 32768, 0})) +
                              TapeBlock(0xFF, "abc"));
    prompts->answerOpenFiles({tape, hostFile("other.tap", "")});
    form->Transfer().putTapeContents();
    EXPECT_EQ(runs(), (QStringList{"puttap|" + tape + "|ONE|--list|",
                                   "puttap|" + tape + "|ONE|--names|TAPEFILE.BIN|"}));
    EXPECT_EQ(columnTexts(FileListModel::ColName).size(), 2);
    // The same tape again: its name is taken now, so the user is asked.
    for (const auto& [button, files] :
         {std::pair{"Skip", QStringList{"OLD", "TAPEFILE.BIN"}},
          std::pair{"KeepBoth", QStringList{"OLD", "TAPEFIL1.BIN", "TAPEFILE.BIN"}}}) {
        prompts->answerOpenFiles({tape});
        answerConflict(button);
        form->Transfer().putTapeContents();
        EXPECT_EQ(conflictQuestions.takeFirst(),
                  "A file named TAPEFILE.BIN already exists in ONE.");
        EXPECT_EQ(filesIn("ONE"), files);
    }
    EXPECT_EQ(runs().filter("--names").value(1), "puttap|" + tape + "|ONE|--names|TAPEFIL1.BIN|");
    clearRuns();

    const QString dsk = path("floppy.dsk");
    ASSERT_EQ(QProcess::execute("dskform", {"-type", "dsk", "-format", "pcw180", dsk}), 0);
    ASSERT_EQ(QProcess::execute("cpmcp", {"-T", "dsk", "-f", "pcw", dsk, hostFile("d", "disk"),
                                          "0:DISKFILE.BIN"}),
              0);
    prompts->answerOpenFiles({dsk});
    form->Transfer().putFloppyContents();
    EXPECT_EQ(runs().value(1), "putdsk|" + dsk + "|ONE|--names|DISKFILE.BIN|");
    EXPECT_EQ(columnTexts(FileListModel::ColName).value(3), "DISKFILE.BIN");
    EXPECT_EQ(Described(prompts->fileRequests().value(0)),
              "Open tape image|tap|*.tap|Zx Spectrum Tape Files (*.tap)|*.tap|All Files "
              "(*.*)|*.*|several");
    EXPECT_EQ(Described(prompts->fileRequests().value(3)),
              "Open disk image|dsk|*.dsk|Zx Spectrum Disk Images (*.dsk)|*.dsk|All Files "
              "(*.*)|*.*|several");

    const QStringList before = columnTexts(FileListModel::ColName);
    prompts->answerOpenFiles({hostFile("broken.tap", "not a tape")});
    form->Transfer().putTapeContents();
    EXPECT_TRUE(form->StatusPanel(2).startsWith("Fatal Error: "));
    EXPECT_EQ(columnTexts(FileListModel::ColName), before);
}

TEST(CopyOperation, GivesTheCommandAndACheckedAddress)
{
    // typed (null: nothing), "Binary mode" clicked afterwards, button, command|address
    const std::tuple<QString, bool, const char*, const char*> cases[] = {
        {{}, false, "BitBtn1", "put|"},      {"32768", false, "BitBtn1", "putbin|32768"},
        {"0", false, "BitBtn1", "putbin|0"}, {"65535", false, "BitBtn1", "putbin|65535"},
        {"65536", false, "BitBtn1", "|0"},   {"-1", false, "BitBtn1", "|0"},
        {"100", true, "BitBtn1", "put|"},    {"100", false, "BitBtn2", "|"},
    };
    for (const auto& [typed, thenBinary, button, expected] : cases) {
        SCOPED_TRACE(typed.toStdString() + " " + button);
        ScriptedPrompts scripted;
        TFormCopyOperation dialog(scripted);
        EXPECT_EQ(dialog.windowTitle() + " " + dialog.RadioButton1->text(),
                  "Specify copy operation Binary mode (no header)");
        EXPECT_TRUE(dialog.RadioButton1->isChecked() && !dialog.NumEdit->isReadOnly());
        dialog.show();
        CopyOperation(typed, thenBinary, button)(dialog);
        EXPECT_EQ(dialog.Command + "|" + dialog.Address, expected);
        const bool invalid = QString(expected) == "|0";
        EXPECT_EQ(scripted.records().size(), invalid ? 1 : 0);
        EXPECT_EQ(scripted.records().value(0).text, invalid ? "Address invalid." : "");
        EXPECT_EQ(dialog.NumEdit->text().isEmpty(), typed.isNull() || thenBinary);
        EXPECT_FALSE(dialog.isVisible());
    }
}

TEST_F(PutTest, DroppedFilesArePutAfterTheDialogShowingEachCopy)
{
    openMedium({"ONE"}, {}, "ONE");
    const QString first = hostFile("first.scr", "1");
    const QString second = hostFile("second.bin", "2");
    recordShown();
    // Only local files are taken from a drop; folders are left out.
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(first), QUrl::fromLocalFile(path("host")),
                  QUrl("http://example.com/x"), QUrl::fromLocalFile(second)});
    QDragEnterEvent enter(QPoint(9, 9), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form->ListView(), &enter);
    QDropEvent drop(QPointF(9, 9), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    prompts->answerDialog(CopyOperation("32768"));
    QCoreApplication::sendEvent(form->ListView(), &drop);
    EXPECT_EQ(runs(), (QStringList{"putbin|" + first + "|ONE:FIRST.SCR|32768|",
                                   "putbin|" + second + "|ONE:SECOND.BIN|32768|"}));
    const QStringList status = shownTexts("StatusPanel2");
    const qsizetype copying = status.indexOf("Copying " + first + " to ONE");
    EXPECT_GE(copying, 0);
    EXPECT_EQ(status.value(copying + 1), "Copying " + second + " to ONE");
    EXPECT_EQ(columnTexts(FileListModel::ColName), (QStringList{"FIRST.SCR", "SECOND.BIN"}));

    clearRuns();
    prompts->answerDialog(CopyOperation("70000")).clickInDialog("BitBtn2");
    form->PJCtrlDropFilesDropFiles({first});
    form->PJCtrlDropFilesDropFiles({first});
    EXPECT_TRUE(runs().isEmpty());
}

TEST_F(PutTest, EveryMenuEntryButtonAndPopUpEntryRunsItsCommand)
{
    openMedium({"ONE"}, {"F", "f", "G", "g"}, "ONE");
    const QString file = hostFile("w.bin", "w");
    const auto answerFile = [&] { prompts->answerOpenFiles({file}); };
    // From the second put on, W.BIN is there: the question comes after the file dialog.
    const auto answerPutAt = [&](const QString& address) {
        answerFile();
        if (!address.isEmpty())
            prompts->answerInput(address);
        if (filesIn("ONE").contains("W.BIN"))
            answerConflict("Replace");
    };
    const auto answerPut = [&] { answerPutAt({}); };
    struct Wiring
    {
        QStringList actions;
        std::function<void()> answer;
        QString seen; // the first run (the host file as H), else the first message
    };
    const Wiring wirings[] = {
        {{"Putfilestandard1", "PopupMenu2/Putfilestandard1", "ToolButtonPutBinary"},
         answerPut,
         "put|H|ONE:W.BIN|"},
        {{"Putfile3DOS1", "PopupMenu2/Putfile3DOS1"}, answerPut, "putbin|H|ONE:W.BIN|"},
        {{"Putfilesinstandardmodetoaspecificaddress1",
          "PopupMenu2/Putfilesinstandardmodetoaspecificaddress1"},
         [&] { answerPutAt("7"); },
         "putbin|H|ONE:W.BIN|7|"},
        {{"Putalltapecontents1", "PopupMenu2/Putalltapecontents1", "ToolButtonPutTape"},
         answerFile,
         "puttap|H|ONE|"},
        {{"Putalldiskcontents1", "PopupMenu2/Putalldiskcontents1"}, answerFile, "putdsk|H|ONE|"},
        {{"Deleteselectedfiles2", "PopupMenu2/Deleteselectedfiles2", "ToolButtonDelete"},
         [&] { prompts->answerConfirm(Prompts::Answer::No); },
         "Are you sure you want to delete selected file(s)?"},
        {{"Rname1", "PopupMenu2/Rname1"}, [] {}, "Only one file can be renamed at a time."},
        {{"Cut1", "PopupMenu2/Cut1"}, [] {}, "cut ONE:F ONE:G"},
        {{"Copy1", "PopupMenu2/Copy1", "ToolButton9"}, [] {}, "get|ONE:F|"},
        {{"Paste1", "PopupMenu2/Paste1", "ToolButton11"},
         [&] { form->Transfer().FileClipboard = {"ONE:NOPE"}; },
         "get|ONE:NOPE|"},
    };
    for (const Wiring& wiring : wirings) {
        for (const QString& action : wiring.actions) {
            clearRuns();
            prompts->clearRecords();
            form->Transfer().FileClipboard.clear();
            form->Transfer().ClipboardMode = TransferCommands::ClipboardModes::None;
            selectRows({0, 1});
            wiring.answer();
            TriggerEntry(*form, action);
            QString seen = runs().value(0).replace(file, "H");
            if (seen.isEmpty() && !prompts->records().isEmpty())
                seen = prompts->records().first().text;
            if (seen.isEmpty() && form->Transfer().ClipboardMode == TransferCommands::ClipboardModes::Cut)
                seen = "cut " + form->Transfer().FileClipboard.join(' ');
            EXPECT_TRUE(seen.startsWith(wiring.seen))
                << action.toStdString() << ": " << seen.toStdString();
        }
    }
}

} // namespace
