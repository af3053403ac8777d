#include "qt_printers.h"
#include "settings_store.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class SettingsStoreTest : public ::testing::Test
{
protected:
    // Writes the INI file's text as a user or an older version left it.
    void writeIni(const QByteArray& text)
    {
        QFile file(store.filePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("[General]\n" + text);
    }

    HarnwickSettings read()
    {
        HarnwickSettings settings;
        store.read(settings, QStringLiteral("/start/3E.EXE"));
        return settings;
    }

    QTemporaryDir dir;
    SettingsStore store{dir.path()};
};

TEST_F(SettingsStoreTest, AnEmptyStoreGivesTheDefaults)
{
    const HarnwickSettings s = read();
    EXPECT_EQ(s.toolPath, QString("/start/3E.EXE"));
    EXPECT_FALSE(s.useSpectrumFont);
    EXPECT_TRUE(s.checkUpdatesAtStartup);
    EXPECT_TRUE(s.lastDiskImage.isEmpty());
    EXPECT_TRUE(s.recentFiles.isEmpty());
}

TEST_F(SettingsStoreTest, WrittenSettingsReadBack)
{
    HarnwickSettings written;
    written.toolPath = "/opt/tool/3E.EXE";
    written.useSpectrumFont = true;
    written.checkUpdatesAtStartup = false;
    written.lastDiskImage = "/images/a, b.hdf";
    written.recentFiles = {"/images/one.hdf", "/dev/sdb", "/images/a, b.hdf"};
    ASSERT_EQ(store.write(written), QString());

    const HarnwickSettings s = read();
    EXPECT_EQ(s.toolPath, written.toolPath);
    EXPECT_TRUE(s.useSpectrumFont);
    EXPECT_FALSE(s.checkUpdatesAtStartup);
    EXPECT_EQ(s.lastDiskImage, written.lastDiskImage);
    EXPECT_EQ(s.recentFiles, written.recentFiles);

    // Booleans are stored as integers under the names the program writes.
    QSettings raw(store.filePath(), QSettings::IniFormat);
    EXPECT_EQ(raw.value("SpecFont").toString(), QString("1"));
    EXPECT_EQ(raw.value("Check3EUpdates").toString(), QString("0"));
}

TEST_F(SettingsStoreTest, ValueNamesAreMatchedWithoutRegardToCase)
{
    writeIni(
        "specFONT=1\ncheck3eupdates=0\nlastdiskimage=/x.hdf\n3EPOS=/t/3E.EXE\nrecent0=/a.hdf\n");
    HarnwickSettings s = read();
    EXPECT_TRUE(s.useSpectrumFont);
    EXPECT_FALSE(s.checkUpdatesAtStartup);
    EXPECT_EQ(s.lastDiskImage, QString("/x.hdf"));
    EXPECT_EQ(s.toolPath, QString("/t/3E.EXE"));
    EXPECT_EQ(s.recentFiles, QStringList{"/a.hdf"});

    // Writing "SpecFont" replaces the value stored as "specFONT".
    s.useSpectrumFont = false;
    ASSERT_EQ(store.write(s), QString());
    QSettings raw(store.filePath(), QSettings::IniFormat);
    EXPECT_FALSE(raw.contains("specFONT"));
    EXPECT_EQ(raw.value("SpecFont").toString(), QString("0"));
    EXPECT_FALSE(read().useSpectrumFont);
}

TEST_F(SettingsStoreTest, ReadingStopsSilentlyAtTheFirstBadValue)
{
    struct Case
    {
        const char* ini;
        bool font;
        bool updates;
    };
    const Case cases[] = {
        // "Specfont" present, "Check3EUpdates" missing: the update check stays on.
        {"Specfont=1\n", true, true},
        // A missing "Specfont" stops the reading before "Check3EUpdates".
        {"Check3EUpdates=0\n", false, true},
        // A boolean that is no integer stops the reading there.
        {"Specfont=yes\nCheck3EUpdates=0\n", false, true},
        {"Specfont=1\nCheck3EUpdates=off\n", true, true},
        {"Specfont=0\nCheck3EUpdates=0\n", false, false},
        {"Specfont=7\nCheck3EUpdates=0\n", true, false},
    };
    int n = 0;
    for (const Case& c : cases) {
        // A folder of its own each time: QSettings keeps files it has read.
        SettingsStore own(dir.filePath(QString::number(++n)));
        QDir().mkpath(dir.filePath(QString::number(n)));
        QFile file(own.filePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("[General]\n") + c.ini);
        file.close();
        HarnwickSettings s;
        own.read(s, "/start/3E.EXE");
        EXPECT_EQ(s.useSpectrumFont, c.font) << c.ini;
        EXPECT_EQ(s.checkUpdatesAtStartup, c.updates) << c.ini;
    }
}

TEST_F(SettingsStoreTest, AWronglyTypedTextStopsTheReadingThere)
{
    // An unquoted comma makes a list, which is no text: "3ePos" and all that
    // follows keep their defaults.
    writeIni("LastDiskImage=/a.hdf\n3ePos=/x, /y\nRecent0=/b.hdf\nSpecfont=1\nCheck3EUpdates=0\n");
    const HarnwickSettings s = read();
    EXPECT_EQ(s.lastDiskImage, QString("/a.hdf"));
    EXPECT_EQ(s.toolPath, QString("/start/3E.EXE"));
    EXPECT_TRUE(s.recentFiles.isEmpty());
    EXPECT_FALSE(s.useSpectrumFont);
    EXPECT_TRUE(s.checkUpdatesAtStartup);
}

TEST_F(SettingsStoreTest, EmptyToolPathAndEmptyRecentEntries)
{
    writeIni("3ePos=\nRecent0=/a.hdf\nRecent1=\nRecent2=/c.hdf\nSpecfont=0\nCheck3EUpdates=1\n");
    const HarnwickSettings s = read();
    EXPECT_EQ(s.toolPath, QString("/start/3E.EXE"));
    EXPECT_EQ(s.recentFiles, (QStringList{"/a.hdf", "/c.hdf"}));
}

TEST_F(SettingsStoreTest, RecentValuesBeyondTheEntriesAreLeftInTheStore)
{
    HarnwickSettings s;
    s.recentFiles = {"/1", "/2", "/3", "/4"};
    ASSERT_EQ(store.write(s), QString());
    s.recentFiles = {"/9"};
    ASSERT_EQ(store.write(s), QString());
    EXPECT_EQ(read().recentFiles, (QStringList{"/9", "/2", "/3", "/4"}));
}

TEST_F(SettingsStoreTest, AStoreThatCannotBeWrittenReportsIt)
{
    QFile blocker(dir.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    // The store's folder would have to be created inside a plain file.
    SettingsStore bad(dir.filePath("file/sub"));
    EXPECT_FALSE(bad.write(HarnwickSettings{}).isEmpty());
}

TEST(SettingsStoreFolder, TheEnvironmentRedirectsTheDefaultFolder)
{
    QTemporaryDir dir;
    qputenv("HARNWICK_SETTINGS_DIR", dir.path().toUtf8());
    EXPECT_EQ(SettingsStore().filePath(), dir.filePath("3E Harnwick.ini"));
    qunsetenv("HARNWICK_SETTINGS_DIR");
    EXPECT_TRUE(SettingsStore().filePath().endsWith("/3E Harnwick/3E Harnwick.ini"));
}

} // namespace
