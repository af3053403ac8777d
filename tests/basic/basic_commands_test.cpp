// The BASIC commands in the main window, end to end with the real disk tool:
// a text file put from the host, the program edited and saved, and the
// questions asked before a name that exists is replaced.
#include "basic_code_edit.h"
#include "basic_tool_steps.h"
#include "file_list_model.h"
#include "form_basic_editor.h"
#include "form_put_basic.h"
#include "gui_fixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
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
    editor->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(form->findChild<TFormBasicEditor*>(), nullptr);
    EXPECT_TRUE(prompts->allAnswersUsed());
}

} // namespace
