// The BASIC commands in the main window, end to end with the real disk tool:
// a text file put from the host, the program edited and saved, and the
// questions asked before a name that exists is replaced.
#include "basic_code_edit.h"
#include "basic_tool_steps.h"
#include "drop_offers.h"
#include "file_list_model.h"
#include "form_basic_editor.h"
#include "form_put_basic.h"
#include "gui_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextCursor>

namespace {

class BasicCommandsTest : public GuiTest
{
protected:
    QString hostText(const QString& name, const QByteArray& text)
    {
        QDir().mkpath(path("host"));
        QFile file(path("host/" + name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
        return file.fileName();
    }
    // The put dialog answered with `name` and OK.
    static ScriptedPrompts::DialogScript PutAs(const QString& name)
    {
        return [name](QDialog& dialog) {
            auto& put = static_cast<TFormPutBasic&>(dialog);
            put.NameEdit()->setText(name);
            EXPECT_TRUE(put.IsAcceptable()) << name.toStdString();
            dialog.accept();
            return dialog.result();
        };
    }
    QString listed(const QString& file)
    {
        ToolRunner tool = form->Tool();
        tool.outFile = path("list.out");
        tool.errFile = path("list.err");
        QString text;
        EXPECT_EQ(ListBasicProgram(tool, "GAMES", file, &text), QString());
        return text;
    }
    // The drop question answered with `button` (BtnTake, BtnPlain,
    // BtnCancel); its text is added to `asked`.
    static ScriptedPrompts::DialogScript Offer(QStringList* asked, const char* button,
                                               bool forAll = true, bool remember = false)
    {
        return [=](QDialog& dialog) {
            auto& offer = dynamic_cast<TFormDropOffer&>(dialog);
            *asked << offer.Question->text();
            offer.ChkAll->setChecked(forAll);
            offer.ChkRemember->setChecked(remember);
            offer.findChild<QPushButton*>(button)->click();
            return dialog.result();
        };
    }
    // The type column by file name.
    QMap<QString, QString> listedTypes() const
    {
        QMap<QString, QString> types;
        const QStringList names = columnTexts(FileListModel::ColName);
        const QStringList kinds = columnTexts(FileListModel::ColType);
        for (qsizetype i = 0; i < names.size(); ++i)
            types.insert(names[i], kinds.value(i));
        return types;
    }
    void openGames(const QString& imageName)
    {
        const QString image = makeImage(imageName, {"GAMES"});
        makeForm();
        form->OpenMedium(image);
        form->SelectNode(treeNode("GAMES"));
    }
    void selectFile(const QString& name)
    {
        const int row = columnTexts(FileListModel::ColName).indexOf(name);
        ASSERT_GE(row, 0) << name.toStdString();
        form->ListView()->selectionModel()->clearSelection();
        form->ListView()->selectRow(row, true);
    }
};

TEST_F(BasicCommandsTest, PutTextThenEditAndSaveInTheWindow)
{
    const QString image = makeImage("disk.hdf", {"GAMES"});
    runTool({image, "put", hostText("data", "data"), "GAMES:DATA.BIN"});
    makeForm();
    form->OpenMedium(image);
    form->SelectNode(treeNode("GAMES"));

    // Two texts: one is stored, the faulty one is reported by its file and
    // line and not stored.
    const QString good = hostText("hello.bas", "10 PRINT \"PRINT\"\n20 GO TO 10\n");
    const QString bad = hostText("bad.txt", "10 PRINT \\{300}\n");
    prompts->answerOpenFiles({good, bad}).answerDialog(PutAs("HELLO.BAS")).answerDialog(PutAs("BAD"));
    TriggerEntry(*form, "PutBASICtext1");
    EXPECT_EQ(prompts->fileRequests().value(0).filter,
              "BASIC text (*.bas;*.txt)|*.bas;*.txt|All Files (*.*)|*.*");
    ASSERT_EQ(prompts->errors().size(), 1);
    EXPECT_TRUE(prompts->errors()[0].startsWith(QDir::toNativeSeparators(bad)));
    EXPECT_TRUE(prompts->errors()[0].contains("line 1")) << prompts->errors()[0].toStdString();
    EXPECT_EQ(columnTexts(FileListModel::ColName).filter("HELLO.BAS").size(), 1);
    EXPECT_EQ(columnTexts(FileListModel::ColName).filter("BAD").size(), 0);
    EXPECT_EQ(listed("HELLO.BAS"), "10 PRINT \"PRINT\"\n20 GO TO 10");

    // Putting over it asks; "No" keeps the program.
    prompts->clearRecords();
    prompts->answerOpenFiles({hostText("other.bas", "10 STOP\n")})
        .answerDialog(PutAs("HELLO.BAS"))
        .answerConfirm(Prompts::Answer::No);
    TriggerEntry(*form, "PutBASICtext1");
    EXPECT_TRUE(prompts->allAnswersUsed());
    EXPECT_EQ(listed("HELLO.BAS"), "10 PRINT \"PRINT\"\n20 GO TO 10");

    // Only a program is edited.
    prompts->clearRecords();
    selectFile("DATA.BIN");
    TriggerEntry(*form, "EditBASICprogram1");
    EXPECT_EQ(prompts->errors().value(0),
              "DATA.BIN is no BASIC program: only files of type Program can be edited.");
    EXPECT_EQ(form->findChild<TFormBasicEditor*>(), nullptr);

    selectFile("HELLO.BAS");
    TriggerEntry(*form, "PopupMenu2/EditBASICprogram1");
    auto* editor = form->findChild<TFormBasicEditor*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->Editor()->toPlainText(), "10 PRINT \"PRINT\"\n20 GO TO 10");
    QTextCursor cursor(editor->Editor()->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText("\n30 STOP");
    ASSERT_TRUE(editor->Save()) << editor->StatusText().toStdString();
    EXPECT_EQ(listed("HELLO.BAS"), "10 PRINT \"PRINT\"\n20 GO TO 10\n30 STOP");

    // Save as onto DATA.BIN asks first; "No" stores nothing.
    prompts->clearRecords();
    prompts->answerInput("data.bin").answerConfirm(Prompts::Answer::No);
    EXPECT_FALSE(editor->SaveAs());
    EXPECT_TRUE(prompts->allAnswersUsed());
    EXPECT_EQ(editor->FileName(), "HELLO.BAS");
    prompts->answerInput("copy.bas");
    ASSERT_TRUE(editor->SaveAs()) << editor->StatusText().toStdString();
    EXPECT_EQ(columnTexts(FileListModel::ColName).filter("COPY.BAS").size(), 1);
    EXPECT_EQ(listed("COPY.BAS"), editor->Text());

    // Closing the main window with an unsaved change asks first; Cancel keeps
    // the editor open and the program running.
    cursor.movePosition(QTextCursor::End);
    cursor.insertText("\n40 REM unsaved");
    prompts->answerConfirm(Prompts::Answer::Cancel);
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(editor->isVisible());
    prompts->answerConfirm(Prompts::Answer::No); // discard
    editor->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(form->findChild<TFormBasicEditor*>(), nullptr);
    EXPECT_TRUE(prompts->allAnswersUsed());
}

// Dropped files that look like BASIC text are offered as programs: one
// question for the drop (or one per file), the taken ones through the put
// dialog, the rest put as the files they are; Cancel puts nothing; a
// remembered choice asks no more, survives a restart and is changed back in
// Preferences.
TEST_F(BasicCommandsTest, DroppedTextFilesArePutAsProgramsWhenTheUserChoosesSo)
{
    const QString bas = hostText("game.bas", "10 PRINT \"HI\"\n");
    const QString loader = hostText("loader.txt", "# made on the PC\n\n10 randomize usr 0\n");
    const QString notes = hostText("notes.txt", "2020 was a good year\n");
    const QString code = hostText("code.bin", QByteArray("10 PRINT\0\x01", 10));
    // A tokenised program as a medium gives it, .BAS and all: no text.
    const QString stored = hostText("prog.bas", QByteArray("PLUS3DOS\x1a\x01\x00", 11) +
                                                    QByteArray(117, ' ') + "\x00\x0a\x02\x00\xf5\x0d");
    QStringList asked;
    struct Case
    {
        const char* name;
        QStringList dropped;
        std::function<void()> answer;
        QStringList questions;
        QStringList programs; // stored tokenised
        QStringList plain;    // stored as they are
    };
    const QString onGame = "Put game.bas as a BASIC program (tokenised) or as the file it is?";
    const QString onLoader = "Put loader.txt as a BASIC program (tokenised) or as the file it is?";
    const Case cases[] = {
        {"one question for the drop",
         {code, stored, bas, notes, loader},
         [&] {
             prompts->answerDialog(Offer(&asked, "BtnTake"))
                 .answerDialog(PutAs("GAME.BAS"))
                 .answerDialog(PutAs("LOADER"))
                 .clickInDialog("BitBtn1");
         },
         {onGame},
         {"GAME.BAS", "LOADER"},
         {"CODE.BIN", "PROG.BAS", "NOTES.TXT"}},
        {"one question per file",
         {bas, loader},
         [&] {
             prompts->answerDialog(Offer(&asked, "BtnPlain", false))
                 .answerDialog(Offer(&asked, "BtnTake"))
                 .answerDialog(PutAs("LOADER"))
                 .clickInDialog("BitBtn1");
         },
         {onGame, onLoader},
         {"LOADER"},
         {"GAME.BAS"}},
        {"cancel",
         {bas, code},
         [&] { prompts->answerDialog(Offer(&asked, "BtnCancel")); },
         {onGame},
         {},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        openGames(QString(c.name).replace(' ', '_') + ".hdf");
        asked.clear();
        c.answer();
        form->PJCtrlDropFilesDropFiles(c.dropped);
        EXPECT_TRUE(prompts->allAnswersUsed());
        EXPECT_EQ(asked, c.questions);
        const QMap<QString, QString> types = listedTypes();
        EXPECT_EQ(types.size(), c.programs.size() + c.plain.size())
            << types.keys().join(' ').toStdString();
        for (const QString& name : c.programs)
            EXPECT_EQ(types.value(name), "Program") << name.toStdString();
        for (const QString& name : c.plain)
            EXPECT_TRUE(types.contains(name) && types.value(name) != "Program")
                << name.toStdString();
    }

    // No partition to put into: one refusal for the whole drop, whether
    // asked or taken without asking.
    makeForm();
    form->Drops().setChoice("BasicText", DropChoice::Take);
    form->PJCtrlDropFilesDropFiles({bas, code});
    EXPECT_EQ(prompts->errors(), QStringList{"No partition selected."});
    EXPECT_EQ(prompts->records().size(), 1);

    // Remembered: the next drop asks nothing, after a restart too.
    openGames("remembered.hdf");
    asked.clear();
    prompts->answerDialog(Offer(&asked, "BtnPlain", true, true)).clickInDialog("BitBtn1");
    form->PJCtrlDropFilesDropFiles({bas});
    closeForm();
    EXPECT_EQ(storedSetting("DropBasicText").toString(), "plain");
    makeForm();
    form->OpenMedium(path("remembered.hdf"));
    form->SelectNode(treeNode("GAMES"));
    prompts->clickInDialog("BitBtn1");
    form->PJCtrlDropFilesDropFiles({loader});
    EXPECT_EQ(asked.size(), 1);
    EXPECT_TRUE(prompts->allAnswersUsed());
    EXPECT_EQ(listedTypes().keys(), (QStringList{"GAME.BAS", "LOADER.TXT"}));

    // Preferences shows the choice and sets it back to asking.
    prompts->answerDialog([](QDialog& dialog) {
        auto* box = dialog.findChild<QComboBox*>("DropBasicText");
        EXPECT_NE(box, nullptr);
        if (!box)
            return int(QDialog::Rejected);
        EXPECT_EQ(box->currentText(), "As the file it is");
        box->setCurrentIndex(0);
        dialog.findChild<QPushButton*>("CmdOK")->click();
        return dialog.result();
    });
    TriggerEntry(*form, "Preferences1");
    EXPECT_EQ(form->Drops().choice("BasicText"), DropChoice::Ask);
}

} // namespace
