// Cut, Copy and Paste between partitions and with the desktop's clipboard,
// against the real tool behind the logging wrapper; and the paste rules.
#include "change_fixture.h"

#include "clipboard_cache.h"

#include "desktop_file_list.h"
#include "file_clipboard.h"
#include "file_list_model.h"
#include "form_copy_operation.h"
#include "temp_folder.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QRadioButton>
#include <QTreeWidget>
#include <QUrl>

namespace {

using ClipboardTest = ChangeTest;

TEST(PasteStep, CopiesInTheSourcePartitionGetADollarExtension)
{
    EXPECT_EQ(SamePartitionCopyName("DATA.1.X"), "DATA.$$$");
    EXPECT_EQ(SamePartitionCopyName("SCREEN"), "SCREEN.$$$");
    EXPECT_EQ(SamePartitionCopyName(".X"), ".$$$");
    // Partitions compare exactly; an entry splits at its first colon.
    const PasteStep step = PlanPasteStep("A :X:Y", "a ", false);
    EXPECT_EQ(QStringList({step.sourcePartition, step.sourceFile, step.targetName}).join('|'),
              "A |X:Y|X:Y");
}

TEST_F(ClipboardTest, ACopyAfterACutMakesEveryEntryACopy)
{
    openMedium({"A", "B", "C"}, {"A:F1", "1", "A:F2", "22", "B:G1", "333"}, "A");
    selectRows({0, 1});
    form->Transfer().cutFiles();
    selectPartition("B");
    selectRows({0});
    form->Transfer().copyFiles();
    EXPECT_EQ(form->Transfer().FileClipboard, (QStringList{"A:F1", "A:F2", "B:G1"}));
    EXPECT_EQ(form->Transfer().ClipboardMode, TransferCommands::ClipboardModes::Copy);
    clearRuns();

    selectPartition("C");
    form->Transfer().pasteFiles();
    EXPECT_EQ(runs().filter("del|").size(), 0);
    EXPECT_EQ(runs().size(), 6);
    EXPECT_EQ(filesIn("C"), (QStringList{"F1", "F2", "G1"}));
    EXPECT_EQ(filesIn("A"), (QStringList{"F1", "F2"}));
    EXPECT_EQ(columnTexts(FileListModel::ColName).size(), 3);
    EXPECT_TRUE(form->Transfer().FileClipboard.isEmpty());
    EXPECT_EQ(form->Transfer().ClipboardMode, TransferCommands::ClipboardModes::None);
    EXPECT_TRUE(LocalFilesIn(QGuiApplication::clipboard()->mimeData()).isEmpty());

    clearRuns();
    form->Transfer().pasteFiles(); // nothing recorded, nothing on the desktop clipboard
    EXPECT_TRUE(runs().isEmpty());
    EXPECT_TRUE(prompts->errors().isEmpty());
}

TEST_F(ClipboardTest, PastingIntoTheSourcePartitionCopiesUnderANewNameAndMovesNothing)
{
    openMedium({"A"}, {"PROG.BAS", "10 REM"}, "A");
    selectRows({0});
    form->Transfer().copyFiles();
    form->Transfer().pasteFiles();
    EXPECT_EQ(filesIn("A"), (QStringList{"PROG.$$$", "PROG.BAS"}));

    selectRows({0});
    form->Transfer().cutFiles();
    clearRuns();
    form->Transfer().pasteFiles();
    EXPECT_EQ(runs().size(), 2);
    EXPECT_TRUE(runs().filter("del|").isEmpty());
    EXPECT_EQ(filesIn("A"), (QStringList{"PROG.$$$", "PROG.BAS"}));
}

TEST_F(ClipboardTest, ACutIsDeletedAtItsSourceOnlyWhenItsCopyIsThere)
{
    openMedium({"A", "B", "C"},
               {"A:KEEP", "k", "A:MOVE", "m", "A:GHOST", "g", "A:DUP", "a", "C:DUP", "c"}, "A");
    selectRows({0, 1, 2, 3});
    form->Transfer().cutFiles();
    selectPartition("C");
    selectRows({0});
    form->Transfer().cutFiles();
    selectPartition("B");
    failRuns("put|*|B:KEEP|");
    failRuns("put|*|B:GHOST|", true); // no error text, but no file either
    clearRuns();
    answerConflict("Replace"); // the second DUP
    form->Transfer().pasteFiles();
    EXPECT_EQ(conflictQuestions, QStringList{"A file named DUP already exists in B."});
    EXPECT_EQ(runs().filter("del|"), (QStringList{"del|A:MOVE|", "del|C:DUP|"}));
    EXPECT_EQ(filesIn("A"), (QStringList{"DUP", "GHOST", "KEEP"}));
    EXPECT_EQ(filesIn("B"), (QStringList{"DUP", "MOVE"}));
    EXPECT_EQ(contentOf("B", "DUP").right(1), "c");
    EXPECT_EQ(form->StatusPanel(2),
              "Paste failed, 3 of 5 not pasted: A:KEEP: Put failed: refused: put");
    EXPECT_EQ(prompts->errors(),
              QStringList{"These files were not pasted:\r\n"
                          "A:KEEP: Put failed: refused: put\r\n"
                          "A:DUP: Source kept: a later file of the same name replaced its copy\r\n"
                          "A:GHOST: Copy not confirmed, source kept: GHOST is not listed in B"});
    EXPECT_TRUE(form->Transfer().FileClipboard.isEmpty());
}

// Sets the read-only bit of the last directory entry of that name (11
// directory bytes, space-padded) in the image.
void MakeReadOnly(const QString& image, const QByteArray& directoryName)
{
    QFile file(image);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    const qsizetype at = bytes.lastIndexOf(directoryName);
    ASSERT_GE(at, 0);
    bytes[at + 8] = static_cast<char>(bytes[at + 8] | 0x80);
    file.seek(0);
    file.write(bytes);
}

TEST_F(ClipboardTest, ACutPastedOntoATakenNameDoesWhatTheAnswerSays)
{
    // button, files of A and B afterwards, what B's GAME.BAS and GAME1.BAS
    // hold, status panel 2 when it is not the fresh listing
    const std::tuple<QString, QStringList, QStringList, QByteArray, QString> cases[] = {
        {"Replace", {}, {"GAME.BAS"}, "a", {}},
        {"Skip", {"GAME.BAS"}, {"GAME.BAS"}, "b", "Paste completed: 0 file(s) pasted, 1 skipped"},
        {"KeepBoth", {}, {"GAME.BAS", "GAME1.BAS"}, "ba", {}},
        {"Cancel", {"GAME.BAS"}, {"GAME.BAS"}, "b", "Paste cancelled: 0 of 1 file(s) pasted"},
    };
    for (const auto& [button, inA, inB, content, status] : cases) {
        SCOPED_TRACE(button.toStdString());
        openMedium({"A", "B"}, {"A:GAME.BAS", "a", "B:GAME.BAS", "b"}, "A");
        conflictQuestions.clear();
        selectRows({0});
        form->Transfer().cutFiles();
        selectPartition("B");
        answerConflict(button);
        form->Transfer().pasteFiles();
        EXPECT_EQ(conflictQuestions, QStringList{"A file named GAME.BAS already exists in B."});
        EXPECT_EQ(filesIn("A"), inA);
        EXPECT_EQ(filesIn("B"), inB);
        EXPECT_EQ(contentOf("B", "GAME.BAS") + contentOf("B", "GAME1.BAS"), content);
        if (!status.isEmpty())
            EXPECT_EQ(form->StatusPanel(2), status);
        EXPECT_TRUE(prompts->errors().isEmpty());
        EXPECT_TRUE(form->Transfer().FileClipboard.isEmpty());
    }
}

TEST_F(ClipboardTest, AReplaceForAllStopsAtAReadOnlyFile)
{
    openMedium({"A", "B"},
               {"A:X", "1", "A:Y", "2", "A:LOCKED", "3", "A:NEW", "4", "B:X", "x", "B:Y", "y",
                "B:LOCKED", "l"},
               "A");
    MakeReadOnly(image, "LOCKED     ");
    selectRows({0, 1, 2, 3});
    form->Transfer().copyFiles();
    selectPartition("B");
    answerConflict("Replace", true);
    answerConflict("Skip");
    form->Transfer().pasteFiles();
    EXPECT_EQ(conflictQuestions,
              (QStringList{"A file named X already exists in B.",
                           "A file named LOCKED already exists in B. LOCKED is read-only and is "
                           "never replaced."}));
    EXPECT_EQ(filesIn("B"), (QStringList{"LOCKED", "NEW", "X", "Y"}));
    EXPECT_EQ(contentOf("B", "X") + contentOf("B", "Y") + contentOf("B", "LOCKED") +
                  contentOf("B", "NEW"),
              "12l4");
    EXPECT_EQ(form->StatusPanel(2), "Paste completed: 3 file(s) pasted, 1 skipped");
}

TEST_F(ClipboardTest, ProgressGoesByEntryWithHalvesToEven)
{
    QList<QByteArray> files;
    for (int i = 1; i <= 8; ++i)
        files << "F" + QByteArray::number(i) << "x";
    openMedium({"A", "B", "C"}, files, "A");
    // Each into a partition of its own: no name there is taken.
    for (const auto& [rows, target, percents] :
         {std::tuple{QList<int>{0, 1, 2}, "B", QStringList{"33", "67", "100"}},
          std::tuple{QList<int>{0, 1, 2, 3, 4, 5, 6, 7}, "C",
                     QStringList{"12", "25", "38", "50", "62", "75", "88", "100"}}}) {
        selectPartition("A");
        selectRows(rows);
        form->Transfer().copyFiles();
        selectPartition(target);
        recordShown();
        form->Transfer().pasteFiles();
        const QStringList shown = shownTexts("ProgressBar1");
        EXPECT_EQ(shown, percents);
    }
}

TEST_F(ClipboardTest, CopyPlacesLocalCopiesOnTheDesktopClipboardAndPasteTakesFilesFromIt)
{
    openMedium({"A", "B"}, {"A:ONE", "first", "A:TWO", "second"}, "A");
    selectRows({0, 1});
    form->Transfer().copyFiles();
    const QMimeData* desktop = QGuiApplication::clipboard()->mimeData();
    const QStringList copies = LocalFilesIn(desktop);
    ASSERT_EQ(copies.size(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(copies[i].startsWith(ClipboardCacheRoot() + "/"));
        EXPECT_EQ(QFileInfo(copies[i]).fileName(), i ? "TWO" : "ONE");
        QFile copy(copies[i]);
        ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
        EXPECT_EQ(copy.readAll(), contentOf("A", i ? "TWO" : "ONE"));
    }
    EXPECT_EQ(desktop->data("x-special/gnome-copied-files"),
              "copy\n" + QUrl::fromLocalFile(copies[0]).toEncoded() + "\n" +
                  QUrl::fromLocalFile(copies[1]).toEncoded());

    // Files another program placed there (a folder among them is left out).
    form->Transfer().FileClipboard.clear();
    const QString host = hostFile("outside.txt", "from the desktop");
    QGuiApplication::clipboard()->setMimeData(MakeFileListMimeData({host, path("host")}));
    selectPartition("B");
    clearRuns();
    prompts->clickInDialog("BitBtn1");
    form->Transfer().pasteFiles();
    EXPECT_EQ(runs(), QStringList{"put|" + host + "|B:OUTSIDE.TXT|"});
    EXPECT_EQ(filesIn("B"), QStringList{"OUTSIDE.TXT"});
    EXPECT_TRUE(LocalFilesIn(QGuiApplication::clipboard()->mimeData()).isEmpty());

    // Two host names of one short name give two files; a taken name asks.
    QGuiApplication::clipboard()->setMimeData(MakeFileListMimeData(
        {hostFile("My Program 1.bas", "1"), hostFile("My Program 2.bas", "2"), host}));
    prompts->clickInDialog("BitBtn1");
    answerConflict("KeepBoth");
    form->Transfer().pasteFiles();
    EXPECT_EQ(conflictQuestions, QStringList{"A file named OUTSIDE.TXT already exists in B."});
    EXPECT_EQ(filesIn("B"),
              (QStringList{"MY_PRO~1.BAS", "MY_PRO~2.BAS", "OUTSIDE.TXT", "OUTSIDE1.TXT"}));
    EXPECT_EQ(contentOf("B", "MY_PRO~2.BAS") + contentOf("B", "OUTSIDE1.TXT"), "2from the desktop");
}

} // namespace
