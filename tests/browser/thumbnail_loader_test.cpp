// SCREEN$ thumbnails in the file list's icon styles: which rows want one and
// under which key, and the loader against the real disk tool.
#include "gui_fixture.h"

#include "file_list_model.h"
#include "file_list_view.h"
#include "plus3dos_header.h"
#include "screen_image.h"
#include "thumbnail_loader.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QListView>
#include <QTimer>

namespace {

FileListRow FileRow(const QString& name, const QString& type, const QString& realSize, const QString& attr = "----",
                    const QString& start = "16,384")
{
    return FileListRow{{name, "    7", attr, "1.0", "    8", type, realSize, start, "0", "", ""}, 18};
}

TEST(ThumbnailCore, RowsWantThumbnailsByTypeAndSize)
{
    const std::vector<std::tuple<QString, QString, bool>> cases{
        {"Bytes", " 6,912", true},       {"Headerless", "6,912", true}, {"Bytes", "6,144", true},
        {"Headerless", "6,144", true},   {"Bytes", "6,913", false},     {"Bytes", "6,911", false},
        {"Program", "6,912", false},     {"Number Array", "6,912", false}, {"Bytes", "", false},
    };
    for (const auto& [type, size, wanted] : cases)
        EXPECT_EQ(WantsThumbnail(FileRow("F", type, size)), wanted) << type.toStdString() << size.toStdString();
}

TEST(ThumbnailCore, KeysChangeWithTheFileAndItsPlaceOnly)
{
    const ThumbnailSource source{"/t/3E.EXE", "/m/disk.hdf", "GAMES", "100"};
    const FileListRow row = FileRow("A.SCR", "Bytes", "6,912");
    const QString key = ThumbnailKey(source, row);

    // Any of these makes it another file (or another state of the medium).
    std::vector<std::pair<ThumbnailSource, FileListRow>> others{
        {{"/t/3E.EXE", "/m/other.hdf", "GAMES", "100"}, row},
        {{"/t/3E.EXE", "/m/disk.hdf", "DEMOS", "100"}, row},
        {{"/t/3E.EXE", "/m/disk.hdf", "GAMES", "101"}, row},
        {source, FileRow("B.SCR", "Bytes", "6,912")},
        {source, FileRow("A.SCR", "Bytes", "6,144")},
        {source, FileRow("A.SCR", "Bytes", "6,912", "R---")},
        {source, FileRow("A.SCR", "Headerless", "6,912")},
        {source, FileRow("A.SCR", "Bytes", "6,912", "----", "32,768")},
    };
    QSet<QString> keys{key};
    for (const auto& [s, r] : others)
        keys.insert(ThumbnailKey(s, r));
    EXPECT_EQ(keys.size(), static_cast<int>(others.size()) + 1);

    // The other columns, and the tool's path, are no part of it.
    FileListRow shown = row;
    shown.cells[FileListModel::ColSize] = "  128";
    shown.cells[FileListModel::ColHdSize] = "   16";
    shown.icon = 3;
    ThumbnailSource otherTool = source;
    otherTool.toolPath = "/elsewhere/3E.EXE";
    EXPECT_EQ(ThumbnailKey(otherTool, shown), key);
}

TEST(ThumbnailCore, RowsToFetchAreThoseInSightThatWantOneAndAreNotKnown)
{
    const std::vector<FileListRow> rows{FileRow("A", "Bytes", "6,912"), FileRow("B", "Program", "6,912"),
                                        FileRow("C", "Bytes", "6,144"), FileRow("D", "Headerless", "6,912"),
                                        FileRow("E", "Bytes", "6,912")};
    const ThumbnailSource source{"/t/3E.EXE", "/m/disk.hdf", "GAMES", ""};
    const QString knownKey = ThumbnailKey(source, rows[2]);
    const auto rowAt = [&](int r) -> const FileListRow& { return rows[static_cast<size_t>(r)]; };
    const auto known = [&](const QString& key) { return key == knownKey; };

    EXPECT_EQ(RowsToFetch({4, 0, 1, 2, 3}, rowAt, source, known), (QList<int>{4, 0, 3}));
    EXPECT_EQ(RowsToFetch({1, 2}, rowAt, source, known), QList<int>{});
    // Nothing without a medium and partition (the partition table, no medium).
    EXPECT_EQ(RowsToFetch({0, 4}, rowAt, ThumbnailSource{}, known), QList<int>{});
}

TEST(ThumbnailCore, TheMediumStampFollowsWritesToAnImage)
{
    QTemporaryDir dir;
    QFile image(dir.filePath("disk.hdf"));
    ASSERT_TRUE(image.open(QIODevice::WriteOnly));
    image.write("x");
    image.close();
    const QString before = MediumStamp(image.fileName());
    EXPECT_FALSE(before.isEmpty());
    ASSERT_TRUE(image.open(QIODevice::ReadWrite));
    ASSERT_TRUE(image.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime));
    image.close();
    EXPECT_NE(MediumStamp(image.fileName()), before);
    EXPECT_EQ(MediumStamp(dir.filePath("missing.hdf")), QString());
    EXPECT_EQ(MediumStamp(dir.path()), QString());
}

class ThumbnailWindowTest : public GuiTest
{
protected:
    // A screen that differs for each `seed`: stripes and attributes.
    static QByteArray Screen(int seed)
    {
        QByteArray bytes(kScreenSize, '\0');
        for (int i = 0; i < kScreenSize; ++i)
            bytes[i] = static_cast<char>(i < kScreenBitmapSize ? (i * (seed + 3)) ^ seed : (i + seed * 9) & 0x7F);
        return bytes;
    }

    void putScreen(const QString& image, const QString& name, const QByteArray& screen)
    {
        QFile host(path("host.bin"));
        ASSERT_TRUE(host.open(QIODevice::WriteOnly));
        host.write(testfixture::Plus3DosHeader(3, kScreenSize, 16384, 32768) + screen);
        host.close();
        runTool({image, "put", host.fileName(), "GAMES:" + name});
    }

    struct Loading
    {
        qint64 longestStall = 0; // ms between two ticks of a 5 ms timer
        int ticksWhileRunning = 0; // ticks while tool runs were going on
    };

    // Waits until every screen row of the list has its thumbnail, handling
    // events meanwhile, and fails after 20 s.
    Loading waitForThumbnails(ThumbnailLoader& loader, int screens)
    {
        QElapsedTimer clock;
        clock.start();
        qint64 last = 0;
        Loading loading;
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, [&] {
            loading.longestStall = std::max(loading.longestStall, clock.elapsed() - last);
            last = clock.elapsed();
            if (loader.runsGoingOn() > 0)
                ++loading.ticksWhileRunning;
        });
        tick.start(5);
        const auto shown = [&] {
            int n = 0;
            for (int r = 0; r < form->ListModel().count(); ++r)
                n += loader.thumbnail(r).isNull() ? 0 : 1;
            return n;
        };
        while (shown() < screens && clock.elapsed() < 20000)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        EXPECT_EQ(shown(), screens);
        return loading;
    }

    QImage thumbnailOf(ThumbnailLoader& loader, const QString& name)
    {
        const int row = columnTexts(0).indexOf(name);
        return loader.thumbnail(row).pixmap(64, 48).toImage().convertToFormat(QImage::Format_RGB32);
    }

    static QImage Expected(const QByteArray& screen)
    {
        return RenderScreen(screen).scaled(64, 48, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
};

TEST_F(ThumbnailWindowTest, IconViewsShowScreensWithoutStallingAndFollowChanges)
{
    const QString image = makeImage("disk.hdf", {"GAMES", "OTHER"});
    constexpr int kScreens = 12;
    for (int i = 0; i < kScreens; ++i)
        putScreen(image, QString("S%1.SCR").arg(i, 2, 10, QChar('0')), Screen(i));
    QFile prog(path("prog.bin"));
    ASSERT_TRUE(prog.open(QIODevice::WriteOnly));
    prog.write(QByteArray(6912, '\x01'));
    prog.close();
    runTool({image, "put", prog.fileName(), "GAMES:PLAIN.BIN"});  // headerless, 6912: a screen too
    ASSERT_TRUE(prog.open(QIODevice::WriteOnly));
    prog.write(QByteArray(6000, '\x01'));
    prog.close();
    runTool({image, "putbin", prog.fileName(), "GAMES:CODE.BIN", "32768"});

    TFormMain& f = makeForm();
    f.resize(1024, 768);
    f.show();
    f.OpenMedium(image);
    TriggerEntry(f, "IconView1");
    f.SelectNode(treeNode("GAMES"));
    ThumbnailLoader& loader = *f.ListView()->thumbnails();

    // The list is there at once; the thumbnails come while the window runs.
    ASSERT_EQ(f.ListModel().count(), kScreens + 2);
    // The window handled events while the tool ran (the 50 ms bound is the
    // benchmark's; a loaded test machine gets a wide margin here).
    const Loading loading = waitForThumbnails(loader, kScreens + 1);
    EXPECT_GT(loading.ticksWhileRunning, 0);
    EXPECT_LT(loading.longestStall, 1000);
    EXPECT_EQ(thumbnailOf(loader, "S03.SCR"), Expected(Screen(3)));
    EXPECT_EQ(thumbnailOf(loader, "PLAIN.BIN"), Expected(QByteArray(6912, '\x01')));
    EXPECT_TRUE(loader.thumbnail(columnTexts(0).indexOf("CODE.BIN")).isNull()) << "not a screen";
    EXPECT_EQ(loader.runsGoingOn(), 0);

    // A screen replaced by another of the same name and size is got again.
    putScreen(image, "S03.SCR", Screen(40));
    f.SelectNode(treeNode("OTHER"));
    EXPECT_EQ(loader.runsGoingOn(), 0);
    f.SelectNode(treeNode("GAMES"));
    waitForThumbnails(loader, kScreens + 1);
    EXPECT_EQ(thumbnailOf(loader, "S03.SCR"), Expected(Screen(40)));

    // The report style keeps the type pictures and starts no runs.
    TriggerEntry(f, "ReportView1");
    putScreen(image, "S04.SCR", Screen(41));
    f.SelectNode(treeNode("GAMES"));
    QApplication::processEvents();
    EXPECT_EQ(loader.runsGoingOn(), 0);
    EXPECT_TRUE(prompts->errors().isEmpty());
}

}  // namespace
