// Dragging selected files out of the list, against the disk tool: the data a
// drag carries (built as the drag would build it; a real drag needs a
// desktop), the mode it follows, failures, and a drop back onto the list.
#include "get_files_fixture.h"

#include "file_list_model.h"
#include "file_list_view.h"

#include <QDialog>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QUrl>

using DragOutTest = GetFilesFixture;

namespace {

const FakeFile kProgram{"RUN.BAS", "Program", Data(300, 5), 10, 250};
const FakeFile kHeaderless{"H.BIN", "Headerless", Data(90, 6)};
const FakeFile kSilent{"SILENT.BIN", "Bytes", Data(20, 7), 32768};

QStringList Paths(const QMimeData* data)
{
    QStringList paths;
    for (const QUrl& url : data->urls())
        paths << url.toLocalFile();
    return paths;
}

} // namespace

TEST_F(DragOutTest, DraggedFilesAreGotInTheModeOfTheLastGet)
{
    openImage({{"GAMES", {kProgram, kHeaderless, kSilent}}});
    FileListView* list = form->ListView();

    // As stored, until a get without header is chosen; each drag has its own
    // files, so a later one leaves an earlier drop's files alone.
    const QList<QByteArray> expected[] = {{Stored(kProgram), kHeaderless.data},
                                          {kProgram.data, kHeaderless.data}};
    QStringList first;
    for (const auto& contents : expected) {
        select({"RUN.BAS", "H.BIN"});
        std::unique_ptr<QMimeData> data(list->dragMimeData());
        ASSERT_TRUE(data);
        const QStringList paths = Paths(data.get());
        ASSERT_EQ(paths.size(), 2);
        EXPECT_TRUE(paths[0].endsWith("/RUN.BAS") && paths[1].endsWith("/H.BIN"));
        EXPECT_EQ(QList<QByteArray>({Contents(paths[0]), Contents(paths[1])}), contents);
        EXPECT_TRUE(list->isOwnDrag(data.get()));
        if (first.isEmpty())
            first = paths;
        select({"H.BIN"});
        answerDestDir(dest);
        form->Transfer().getSelectedFilesWithoutHeader();
    }
    EXPECT_EQ(Contents(first[0]), Stored(kProgram));
    EXPECT_TRUE(prompts->errors().isEmpty());

    // A file the tool does not give: no drag, and the user is told.
    select({"RUN.BAS", "SILENT.BIN"});
    EXPECT_EQ(list->dragMimeData(), nullptr);
    ASSERT_EQ(prompts->errors().size(), 1);
    EXPECT_TRUE(prompts->errors()[0].startsWith("1 of 2 could not be copied:"));

    // Rows of the partition table drag nothing, silently.
    form->SelectNode(treeNode("PLUSIDEDOS"));
    list->selectRow(1, true);
    EXPECT_EQ(list->dragMimeData(), nullptr);
    EXPECT_EQ(prompts->errors().size(), 1);
    EXPECT_EQ(form->findChild<TFormWait*>(), nullptr);
}

TEST_F(DragOutTest, OnlyADragFromElsewhereIsDroppedOnTheList)
{
    openImage({{"GAMES", {kProgram}}, {"TOOLS", {}}});
    FileListView* list = form->ListView();
    select({"RUN.BAS"});
    std::unique_ptr<QMimeData> own(list->dragMimeData());
    ASSERT_TRUE(own);
    // The same files as another window of the program drags them.
    QMimeData other;
    other.setUrls(own->urls());

    // Dropped into another partition, the dragged program comes back whole:
    // put with its header, it keeps its type and numbers.
    form->SelectNode(treeNode("TOOLS"));
    prompts->answerDialog([](QDialog& dialog) {
        dialog.findChild<QRadioButton*>("RadioButton2")->click();
        dialog.findChild<QPushButton*>("BitBtn1")->click();
        return dialog.result();
    });
    QSignalSpy dropped(list, &FileListView::filesDropped);
    const struct
    {
        QMimeData* data;
        bool taken;
    } cases[] = {{own.get(), false}, {&other, true}};
    for (const auto& c : cases) {
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, c.data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(list, &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, c.data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(list, &drop);
        EXPECT_EQ(enter.isAccepted(), c.taken);
        EXPECT_EQ(drop.isAccepted(), c.taken);
    }
    EXPECT_EQ(dropped.size(), 1);
    EXPECT_EQ(columnTexts(FileListModel::ColName), QStringList{"RUN.BAS"});
    EXPECT_EQ(columnTexts(FileListModel::ColType), QStringList{"Program"});
    EXPECT_EQ(columnTexts(FileListModel::ColStart), QStringList{"   10"});
    EXPECT_TRUE(prompts->errors().isEmpty());
}
