// A program text through the real disk tool with the command lines of
// basic_command_lines.h: put, listed back, edited and saved in the editor
// with a store function that runs putbas as the main window will.
#include "basic_code_edit.h"
#include "basic_command_lines.h"
#include "command_line.h"
#include "form_basic_editor.h"
#include "test_paths.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextBlock>

namespace {

struct ToolRun
{
    int exitCode = -1;
    QByteArray out;
    QString err;
};

ToolRun RunLine(const QString& commandLine)
{
    const ResolvedCommand command = ResolveCommandLine(commandLine);
    QProcess process;
    process.start(command.program, command.arguments);
    ToolRun run;
    if (!process.waitForFinished(30000))
        return run;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

TEST(BasicToolTest, PutListEditAndSaveThroughTheTool)
{
    // Blanks and a quote in the paths and the partition name test the quoting.
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/basic tool 'x-XXXXXX"));
    ASSERT_TRUE(dir.isValid());
    const QString tool = QString::fromUtf8(testpaths::kToolExe);
    const QString medium = dir.filePath(QStringLiteral("my disk.hdf"));
    const QString partition = QStringLiteral("MY DATA");
    ASSERT_EQ(QProcess::execute(tool, {medium, QStringLiteral("create"), QStringLiteral("--size"), QStringLiteral("8M")}), 0);
    ASSERT_EQ(QProcess::execute(tool, {medium, QStringLiteral("newpart"), partition, QStringLiteral("1M")}), 0);

    const QString text = QStringLiteral("10 PRINT \"PRINT\": REM \\{16}\\{2}code\n20 GO TO 10");
    const QString textFile = dir.filePath(QStringLiteral("game text.bas"));
    ASSERT_TRUE(WriteFile(textFile, BasicTextFileBytes(text)));
    ToolRun run = RunLine(PutBasCommand(tool, medium, textFile, partition, QStringLiteral("GAME.BAS"), 10));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

    run = RunLine(ListBasCommand(tool, medium, partition, QStringLiteral("GAME.BAS")));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QString listed = BasicTextFromListing(run.out);
    EXPECT_TRUE(listed.contains(QStringLiteral("#autostart 10"))) << listed.toStdString();
    EXPECT_TRUE(listed.contains(QStringLiteral("PRINT \"PRINT\""))) << listed.toStdString();
    EXPECT_FALSE(listed.endsWith(QLatin1Char('\n')));

    // The store function as the window's command code writes it.
    const QString storeFile = dir.filePath(QStringLiteral("3E.BAS"));
    auto store = [&](const QString& programText, const QString& name) {
        if (!WriteFile(storeFile, BasicTextFileBytes(programText)))
            return QStringLiteral("cannot write the text file");
        const ToolRun put = RunLine(PutBasCommand(tool, medium, storeFile, partition, name));
        return put.exitCode == 0 ? QString() : put.err;
    };
    TFormBasicEditor editor;
    editor.SetProgram(partition, QStringLiteral("GAME.BAS"), listed);
    editor.SetStoreFunction(store);
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
    run = RunLine(ListBasCommand(tool, medium, partition, QStringLiteral("GAME.BAS")));
    EXPECT_EQ(BasicTextFromListing(run.out), listed);

    // Mended, saved and listed back; Save as makes a second file.
    QTextBlock last = editor.Editor()->document()->lastBlock();
    QTextCursor mend(last);
    mend.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    mend.insertText(QStringLiteral("30 PRINT \\{17}\\{6}\"ok\""));
    ASSERT_TRUE(editor.Save()) << editor.StatusText().toStdString();
    run = RunLine(ListBasCommand(tool, medium, partition, QStringLiteral("GAME.BAS")));
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(BasicTextFromListing(run.out), editor.Text());

    editor.SetNameQuestion([](const QString&) { return std::optional<QString>(QStringLiteral("copy.bas")); });
    ASSERT_TRUE(editor.SaveAs()) << editor.StatusText().toStdString();
    run = RunLine(ListBasCommand(tool, medium, partition, QStringLiteral("COPY.BAS")));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(BasicTextFromListing(run.out), editor.Text());
}

} // namespace
