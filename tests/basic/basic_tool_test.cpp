// A program text through the real disk tool with the runs of
// basic_tool_steps.h (and so the command lines of basic_command_lines.h):
// put, listed back, edited and saved in the editor with the store function
// the main window gives it.
#include "basic_code_edit.h"
#include "basic_tool_steps.h"
#include "form_basic_editor.h"
#include "qt_printers.h"
#include "test_paths.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <QTextBlock>

namespace {

TEST(BasicToolTest, PutListEditAndSaveThroughTheTool)
{
    // Blanks and a quote in the paths and the partition name test the quoting.
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/basic tool 'x-XXXXXX"));
    ASSERT_TRUE(dir.isValid());
    ToolRunner tool;
    tool.toolPath = QString::fromUtf8(testpaths::kToolExe);
    tool.medium = dir.filePath(QStringLiteral("my disk.hdf"));
    tool.outFile = dir.filePath(QStringLiteral("3E.OUT"));
    tool.errFile = dir.filePath(QStringLiteral("3E.ERR"));
    const QString partition = QStringLiteral("MY DATA");
    QProcess make;
    make.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    for (const QStringList& arguments : {QStringList{tool.medium, "create", "--size", "8M"},
                                         QStringList{tool.medium, "newpart", partition, "1M"}}) {
        make.start(tool.toolPath, arguments);
        ASSERT_TRUE(make.waitForFinished(30000));
        ASSERT_EQ(make.exitCode(), 0);
    }

    const QString text = QStringLiteral("10 PRINT \"PRINT\": REM \\{16}\\{2}code\n20 GO TO 10");
    const QString textFile = dir.filePath(QStringLiteral("game text.bas"));
    QString error = PutBasicText(tool, textFile, text, partition, QStringLiteral("GAME.BAS"), 10);
    ASSERT_EQ(error, QString());

    QString listed;
    error = ListBasicProgram(tool, partition, QStringLiteral("GAME.BAS"), &listed);
    ASSERT_EQ(error, QString());
    EXPECT_TRUE(listed.contains(QStringLiteral("#autostart 10"))) << listed.toStdString();
    EXPECT_TRUE(listed.contains(QStringLiteral("PRINT \"PRINT\""))) << listed.toStdString();
    EXPECT_FALSE(listed.endsWith(QLatin1Char('\n')));

    QString missing;
    EXPECT_NE(ListBasicProgram(tool, partition, QStringLiteral("NONE.BAS"), &missing), QString());
    EXPECT_EQ(missing, QString());

    TFormBasicEditor editor;
    editor.SetProgram(partition, QStringLiteral("GAME.BAS"), listed);
    editor.SetStoreFunction(PutBasicStore(tool, partition, dir.filePath(QStringLiteral("3E.BAS"))));
    ASSERT_EQ(editor.Editor()->toPlainText(), listed);

    // A faulty line: the tool refuses, the editor shows where, the file stays.
    QTextCursor cursor(editor.Editor()->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QStringLiteral("\n30 PRINT \\{300}"));
    const int faultyLine = editor.Editor()->document()->blockCount();
    EXPECT_FALSE(editor.Save());
    EXPECT_EQ(editor.Editor()->MarkedLine(), faultyLine) << editor.StatusText().toStdString();
    EXPECT_EQ(editor.Editor()->textCursor().positionInBlock(), 9);
    EXPECT_TRUE(editor.IsModified());
    QString after;
    ListBasicProgram(tool, partition, QStringLiteral("GAME.BAS"), &after);
    EXPECT_EQ(after, listed);

    // Mended, saved and listed back; Save as makes a second file.
    QTextCursor mend(editor.Editor()->document()->lastBlock());
    mend.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    mend.insertText(QStringLiteral("30 PRINT \\{17}\\{6}\"ok\""));
    ASSERT_TRUE(editor.Save()) << editor.StatusText().toStdString();
    ASSERT_EQ(ListBasicProgram(tool, partition, QStringLiteral("GAME.BAS"), &after), QString());
    EXPECT_EQ(after, editor.Text());

    editor.SetNameQuestion([](const QString&) { return std::optional<QString>(QStringLiteral("copy.bas")); });
    ASSERT_TRUE(editor.SaveAs()) << editor.StatusText().toStdString();
    ASSERT_EQ(ListBasicProgram(tool, partition, QStringLiteral("COPY.BAS"), &after), QString());
    EXPECT_EQ(after, editor.Text());
}

} // namespace
