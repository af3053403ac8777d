#include "file_list_model.h"
#include "file_list_view.h"
#include "qt_printers.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

FileListRow Row(const QString& name, const QString& realSize, int icon = 15)
{
    FileListRow row;
    row.cells[FileListModel::ColName] = name;
    row.cells[FileListModel::ColRealSize] = realSize;
    row.icon = icon;
    return row;
}

std::vector<QByteArray> Keys(std::initializer_list<const char*> texts)
{
    std::vector<QByteArray> keys;
    for (const char* t : texts)
        keys.emplace_back(t);
    return keys;
}

QStringList Captions(const FileListModel& model)
{
    QStringList out;
    for (int r = 0; r < model.count(); ++r)
        out << model.caption(r);
    return out;
}

TEST(FileListModel, PassesTheItemModelTesterThroughFillsSortsAndEdits)
{
    FileListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.appendRow(Row("B", "  10"));
    model.appendRows({Row("A", "   5"), Row("C", "  99", 40)});
    model.setColumnCaption(7, "CH Begin");
    model.sortByKeys(Keys({"2", "1", "3"}), 1);
    model.setCaption(0, "AA");
    model.clear();
    model.appendRows({Row("X", "")});
    EXPECT_EQ(model.count(), 1);
}

TEST(FileListModel, ShowsCellsIconsCaptionsAndAlignment)
{
    FileListModel model;
    std::vector<QIcon> pictures(23);
    QPixmap pixel(16, 16);
    pixel.fill(Qt::red);
    pictures[15] = QIcon(pixel);
    model.setPictures(pictures);
    model.appendRows({Row("PROG", "  128", 15), Row("ODD", "1", 30)});

    EXPECT_EQ(model.columnCount(), 11);
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), QString("PROG"));
    EXPECT_EQ(model.data(model.index(0, 6)).toString(), QString("  128"));
    EXPECT_FALSE(model.data(model.index(0, 0), Qt::DecorationRole).value<QIcon>().isNull());
    // A picture index the image list does not hold shows no picture.
    EXPECT_FALSE(model.data(model.index(1, 0), Qt::DecorationRole).isValid());
    // Only the caption column carries the picture.
    EXPECT_FALSE(model.data(model.index(0, 1), Qt::DecorationRole).isValid());

    const QStringList captions{"File Name", "Size",  "Attr", "Ver",       "HD Size", "Type",
                               "Real Size", "Start", "Vars", "LBA Begin", "LBA End"};
    const int widths[] = {150, 90, 50, 30, 70, 120, 60, 60, 60, 70, 70};
    const bool right[] = {false, true, false, false, true, false, true, true, true, true, true};
    for (int c = 0; c < 11; ++c) {
        EXPECT_EQ(model.headerData(c, Qt::Horizontal).toString(), captions[c]);
        EXPECT_EQ(model.columnWidth(c), widths[c]) << c;
        EXPECT_EQ(bool(model.columnAlignment(c) & Qt::AlignRight), right[c]) << c;
    }
}

TEST(FileListModel, TheLayoutIsTheFirstRowsRealSize)
{
    FileListModel model;
    EXPECT_FALSE(model.showsPartitions());
    model.appendRows({Row("SYSTEM", ""), Row("FILE", "12")});
    EXPECT_TRUE(model.showsPartitions());
    model.clear();
    model.appendRows({Row("FILE", "12"), Row("SYSTEM", "")});
    EXPECT_FALSE(model.showsPartitions());
}

TEST(FileListModel, SortingByKeysKeepsEqualKeysInOrderAndMovesTheSelection)
{
    FileListModel model;
    model.appendRows({Row("A", "1"), Row("B", "1"), Row("C", "1"), Row("D", "1")});
    QItemSelectionModel selection(&model);
    selection.select(model.index(3, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);

    model.sortByKeys(Keys({"b", "a", "b", "0"}), 1);
    EXPECT_EQ(Captions(model), (QStringList{"D", "B", "A", "C"}));
    EXPECT_TRUE(selection.isRowSelected(0, {}));
    EXPECT_FALSE(selection.isRowSelected(3, {}));

    model.sortByKeys(Keys({"0", "a", "b", "b"}), -1);
    EXPECT_EQ(Captions(model), (QStringList{"A", "C", "B", "D"}));
    EXPECT_TRUE(selection.isRowSelected(3, {}));
}

TEST(FileListModel, KeysCompareByteByByteWithPrefixesFirst)
{
    EXPECT_LT(CompareKeyBytes("10", "9"), 0);
    EXPECT_LT(CompareKeyBytes("AB", "ABC"), 0);
    EXPECT_GT(CompareKeyBytes("a", "B"), 0);
    EXPECT_EQ(CompareKeyBytes("", ""), 0);
    EXPECT_GT(CompareKeyBytes("\xB7", "z"), 0);
}

TEST(FileListModel, EditingAskesTheHookAndHandsOnTheText)
{
    FileListModel model;
    model.appendRows({Row("OLD", "1"), Row("PART", "")});
    model.setEditingHook([&](int row) { return row == 0; });
    QSignalSpy edited(&model, &FileListModel::captionEdited);

    EXPECT_TRUE(model.mayEdit(0));
    EXPECT_FALSE(model.mayEdit(1));
    EXPECT_TRUE(model.setData(model.index(0, 0), " NEW "));
    ASSERT_EQ(edited.count(), 1);
    EXPECT_EQ(edited[0][0].toInt(), 0);
    EXPECT_EQ(edited[0][1].toString(), QString(" NEW "));
    // The row shows what the receiver decides; the model does not change it.
    EXPECT_EQ(model.caption(0), QString("OLD"));
    EXPECT_FALSE(model.setData(model.index(0, 1), "x"));
}

TEST(FileListView, TheViewsShareOneSelectionAndFollowTheColumnWidths)
{
    FileListModel model;
    FileListView view(&model);
    model.appendRows({Row("A", "1"), Row("B", "2"), Row("C", "3")});

    EXPECT_EQ(view.iconView()->selectionModel(), view.reportView()->selectionModel());
    view.selectRow(2, true);
    view.setStyle(FileListView::Style::Icon);
    EXPECT_EQ(view.currentView(), view.iconView());
    EXPECT_EQ(view.selectedRows(), QList<int>{2});
    view.iconView()->selectionModel()->select(model.index(0, 0), QItemSelectionModel::Select);
    view.setStyle(FileListView::Style::Report);
    EXPECT_EQ(view.selectedRows(), (QList<int>{0, 2}));

    model.setColumnWidth(9, 0);
    EXPECT_TRUE(view.reportView()->isColumnHidden(9));
    model.setColumnWidth(9, 70);
    EXPECT_FALSE(view.reportView()->isColumnHidden(9));
    // At least the model's width, and wide enough for the caption in the
    // view's font.
    const int shown = view.reportView()->columnWidth(9);
    EXPECT_EQ(shown, view.displayedColumnWidth(9, 70));
    EXPECT_GE(shown, 70);
    EXPECT_GT(shown, view.reportView()->horizontalHeader()->fontMetrics().horizontalAdvance(
                         model.headerData(9, Qt::Horizontal).toString()));
}

} // namespace

namespace {

struct DropTarget : FileListView
{
    using FileListView::dropEvent;
    using FileListView::FileListView;
};

TEST(FileListView, ADropHandsOnLocalFilesOnly)
{
    QTemporaryDir dir;
    QFile file(dir.filePath("A.BIN"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    FileListModel model;
    DropTarget view(&model);
    QSignalSpy dropped(&view, &FileListView::filesDropped);

    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(dir.filePath("A.BIN")), QUrl::fromLocalFile(dir.path()),
                  QUrl("https://example.org/B.BIN")});
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    view.dropEvent(&drop);
    ASSERT_EQ(dropped.count(), 1);
    EXPECT_EQ(dropped[0][0].toStringList(), QStringList{dir.filePath("A.BIN")});
}

TEST(FileListView, CaptionEditingStartsOnlyWhenTheHookAllowsIt)
{
    FileListModel model;
    FileListView view(&model);
    model.appendRows({Row("A", "1"), Row("B", "2")});
    view.show();
    model.setEditingHook([](int row) { return row == 1; });
    QSignalSpy edited(&model, &FileListModel::captionEdited);
    auto editor = [&] { return view.reportView()->viewport()->findChild<QLineEdit*>(); };
    view.editCaption(0);
    EXPECT_EQ(editor(), nullptr);
    view.editCaption(1);
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->text(), QString("B"));
    editor()->setText("B2");
    QTest::keyClick(editor(), Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return edited.count() == 1; }));
    EXPECT_EQ(edited[0][0].toInt(), 1);
    EXPECT_EQ(edited[0][1].toString(), QString("B2"));
}

} // namespace

TEST(FileListView, ADoubleClickOnASelectedRowRunsTheCommandWithoutStartingTheEditor)
{
    FileListModel model;
    FileListView view(&model);
    model.appendRows({Row("A", "1"), Row("B", "2")});
    model.setEditingHook([](int) { return true; });
    view.resize(400, 200);
    view.show();
    QSignalSpy doubleClicked(&view, &FileListView::doubleClicked);
    QWidget* viewport = view.reportView()->viewport();
    const QPoint at = view.reportView()->visualRect(model.index(0, 0)).center();
    const auto send = [&](QEvent::Type type) {
        QMouseEvent event(type, at, viewport->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    };
    // A double click as Qt delivers it: press, release, press, double-click,
    // release; on the row not yet selected, then on the row selected. A
    // click on a selected row edits only after the double-click time.
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE(round);
        EXPECT_EQ(view.isRowSelected(0), round == 2);
        send(QEvent::MouseButtonPress);
        send(QEvent::MouseButtonRelease);
        send(QEvent::MouseButtonPress);
        send(QEvent::MouseButtonDblClick);
        send(QEvent::MouseButtonRelease);
        EXPECT_EQ(doubleClicked.count(), round);
        QTest::qWait(QApplication::doubleClickInterval() + 100);
        EXPECT_EQ(viewport->findChild<QLineEdit*>(), nullptr);
    }
}
