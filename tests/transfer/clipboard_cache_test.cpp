// The folders of files copied to the desktop clipboard: which of them a start
// removes, judged by what the clipboard names.
#include "clipboard_cache.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

void Touch(const QString& path)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("x");
}

} // namespace

TEST(ClipboardCache, AStartRemovesTheFoldersNoClipboardNames)
{
    QTemporaryDir work;
    const QString root = work.filePath("clipboard");
    for (const char* file : {"named/GAME.BAS", "whole/SCREEN", "gone/OLD.BIN", "na/X",
                             "named2/Y", ".hidden/Z"})
        Touch(root + "/" + file);
    QDir().mkpath(root + "/empty");
    Touch(work.filePath("outside/KEEP"));
    ASSERT_TRUE(QFile::link(work.filePath("outside"), root + "/link"));
    Touch(root + "/loose.txt");

    // The clipboard names a file in one folder, another folder itself, a file
    // that has gone from a third (by a path with dots), and things elsewhere;
    // "na" is named only by a URL that is no local file.
    QMimeData clipboard;
    clipboard.setUrls({QUrl::fromLocalFile(root + "/named/GAME.BAS"),
                       QUrl("https://example.com/na/X"), QUrl::fromLocalFile("/tmp/other")});
    clipboard.setData("x-special/gnome-copied-files",
                      "copy\n" + QUrl::fromLocalFile(root + "/whole").toEncoded() + "\n" +
                          QUrl::fromLocalFile(root + "/./na/../named2/missing").toEncoded());
    const QStringList named = PathsOnClipboard(&clipboard);
    EXPECT_EQ(named, (QStringList{root + "/named/GAME.BAS", "/tmp/other", root + "/whole",
                                  root + "/named2/missing"}));

    EXPECT_EQ(RemoveUnreferencedClipboardFolders(root, named),
              (QStringList{root + "/.hidden", root + "/empty", root + "/gone", root + "/link",
                           root + "/na"}));
    EXPECT_EQ(QDir(root).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                   QDir::Name),
              (QStringList{"loose.txt", "named", "named2", "whole"}));
    EXPECT_TRUE(QFile::exists(work.filePath("outside/KEEP"))); // behind the link
    EXPECT_TRUE(QFile::exists(root + "/named/GAME.BAS"));

    // An empty clipboard leaves no folder; a missing root is no error.
    RemoveUnreferencedClipboardFolders(root, PathsOnClipboard(nullptr));
    EXPECT_EQ(QDir(root).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"loose.txt"});
    EXPECT_TRUE(RemoveUnreferencedClipboardFolders(work.filePath("none"), {}).isEmpty());
}

TEST(ClipboardCache, NewFoldersAreUniqueAndPrivate)
{
    QTemporaryDir work;
    const QString root = work.filePath("cache/clipboard");
    const QString a = NewClipboardCacheFolder(root);
    const QString b = NewClipboardCacheFolder(root);
    EXPECT_NE(a, b);
    EXPECT_TRUE(QFileInfo(a).isDir() && QFileInfo(b).isDir() && QFileInfo(a).path() == root);
    EXPECT_EQ(QFile::permissions(root) & (QFile::ReadOther | QFile::ReadGroup), 0);
}
