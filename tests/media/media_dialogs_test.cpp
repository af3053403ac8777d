#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>

#include "check_report.h"
#include "form_new_image.h"
#include "form_new_partition.h"
#include "media_test_support.h"

namespace {

template <typename T>
T* Child(QWidget& dialog, const char* name)
{
    T* w = dialog.findChild<T*>(QLatin1String(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

bool OkEnabled(QWidget& dialog)
{
    return dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->isEnabled();
}

// ---- New partition ----------------------------------------------------------

struct PartitionCase
{
    const char* name;
    int type; // combo index: 0 +3DOS, 1 swap
    const char* problem; // part of the reason; "" when valid
};

TEST(FormNewPartition, NamesAreValidatedAsTheToolDoes)
{
    const PartitionCase cases[] = {
        {"NEW", 0, ""},
        {"Sixteen chars 16", 0, ""},
        {"trailing   ", 0, ""},
        {"", 0, "Type a name"},
        {"   ", 0, "Type a name"},
        {"Seventeen chars17", 0, "at most 16"},
        {" lead", 0, "begin with a blank"},
        {"a:b", 0, "cannot hold :"},
        {"a,b", 1, "cannot hold ,"},
        {"a\"b", 0, "cannot hold \""},
        {"caf\u00e9", 0, "printable ASCII"},
        {"gAmEs", 0, "already a partition called GAMES"},
        {"work  ", 1, "already a partition called Work"},
        {"plusidedos", 0, "already"},
        {"--drive", 0, "cannot be called"},
    };
    for (const PartitionCase& c : cases) {
        TFormNewPartition dialog({{"PLUSIDEDOS", "GAMES  ", "Work"}, "AC"});
        Child<QComboBox>(dialog, "type")->setCurrentIndex(c.type);
        Child<QLineEdit>(dialog, "name")->setText(QString::fromUtf8(c.name));
        EXPECT_EQ(OkEnabled(dialog), *c.problem == 0) << c.name;
        EXPECT_TRUE(dialog.problem().contains(QString::fromUtf8(c.problem))) << c.name;
    }
}

TEST(FormNewPartition, SizesLettersAndTheCommandLine)
{
    TFormNewPartition dialog({{"PLUSIDEDOS"}, "ac"});
    auto* size = Child<QSpinBox>(dialog, "size");
    auto* drive = Child<QComboBox>(dialog, "drive");
    auto* type = Child<QComboBox>(dialog, "type");
    Child<QLineEdit>(dialog, "name")->setText("GAMES ");
    EXPECT_EQ(size->minimum(), 1);
    EXPECT_EQ(size->maximum(), 16);

    // None, then the 14 letters of A-P not yet mapped.
    QStringList offered;
    for (int i = 0; i < drive->count(); ++i)
        offered << drive->itemText(i);
    EXPECT_EQ(offered, (QStringList{"None", "B:", "D:", "E:", "F:", "G:", "H:", "I:", "J:", "K:", "L:", "M:",
                                    "N:", "O:", "P:"}));

    size->setValue(4);
    drive->setCurrentIndex(drive->findText("D:"));
    EXPECT_EQ(NewPartitionCommandLine("/t/3E.EXE", "/m.hdf", dialog.result()),
              R"(/t/3E.EXE "/m.hdf" newpart "GAMES" 4M --type plus3dos --drive D)");
    // A swap partition is mapped to no drive, whatever the box showed.
    type->setCurrentIndex(1);
    EXPECT_FALSE(drive->isEnabled());
    EXPECT_EQ(NewPartitionCommandLine("/t/3E.EXE", "/m.hdf", dialog.result()),
              R"(/t/3E.EXE "/m.hdf" newpart "GAMES" 4M --type swap)");
}

// ---- New image --------------------------------------------------------------

struct ImageCase
{
    const char* label;
    const char* file; // relative to the temporary folder
    int format;       // 0 HDF 1.1, 1 HDF 1.0, 2 raw
    bool halved;
    int preset;       // index into the card sizes, or -1 for the geometry below
    DiskGeometry geometry;
    bool partition;
    const char* partitionName;
    const char* problem; // part of the reason; "" when valid
    int partitionMegabytes;
};

TEST(FormNewImage, InputIsValidatedAndTheFirstPartitionFillsWhatFits)
{
    const ImageCase cases[] = {
        {"32 MB card", "a.hdf", 0, false, 0, {}, true, "MAIN", "", 16},
        {"32 MB card, 8-bit", "a.hdf", 0, true, 0, {}, true, "MAIN", "", 16},
        {"8 GB card", "a.hdf", 1, false, 8, {}, true, "MAIN", "", 16},
        {"8-bit 8 MB: 7 MB fit", "a.raw", 2, true, -1, {64, 16, 32}, true, "MAIN", "", 7},
        {"16-bit 1.2 MB: 1 MB fits", "a.hdf", 0, false, -1, {5, 16, 32}, true, "MAIN", "", 1},
        {"too small for a partition", "a.hdf", 0, false, -1, {10, 2, 32}, true, "MAIN", "too small for a +3DOS", 0},
        {"small without partition", "a.hdf", 0, false, -1, {10, 2, 32}, false, "", "", 0},
        {"no room beside the table", "a.hdf", 0, false, -1, {1, 1, 8}, false, "", "too small to hold", 0},
        {"no file", "", 0, false, 0, {}, true, "MAIN", "Choose a file", 16},
        {"file exists", "exists.hdf", 0, false, 0, {}, true, "MAIN", "exists already", 16},
        {"no folder", "nowhere/a.hdf", 0, false, 0, {}, true, "MAIN", "does not exist", 16},
        {"HDF named .img", "a.img", 0, false, 0, {}, true, "MAIN", "raw image", 16},
        {"raw named .img", "a.img", 2, false, 0, {}, true, "MAIN", "", 16},
        {"partition name taken", "a.hdf", 0, false, 0, {}, true, "PlusIDEDOS", "already", 16},
        {"partition name empty", "a.hdf", 0, false, 0, {}, true, "", "Type a name", 16},
    };
    QTemporaryDir dir;
    QFile(dir.filePath("exists.hdf")).open(QIODevice::WriteOnly);
    for (const ImageCase& c : cases) {
        TFormNewImage dialog(dir.path());
        Child<QComboBox>(dialog, "format")->setCurrentIndex(c.format);
        Child<QLineEdit>(dialog, "file")->setText(*c.file ? dir.filePath(c.file) : QString());
        Child<QComboBox>(dialog, "interface")->setCurrentIndex(c.halved ? 1 : 0);
        if (c.preset >= 0) {
            Child<QComboBox>(dialog, "preset")->setCurrentIndex(c.preset);
        } else {
            Child<QRadioButton>(dialog, "byGeometry")->setChecked(true);
            Child<QSpinBox>(dialog, "cylinders")->setValue(c.geometry.cylinders);
            Child<QSpinBox>(dialog, "heads")->setValue(c.geometry.heads);
            Child<QSpinBox>(dialog, "sectors")->setValue(c.geometry.sectors);
        }
        Child<QCheckBox>(dialog, "partition")->setChecked(c.partition);
        Child<QLineEdit>(dialog, "partitionName")->setText(c.partitionName);
        const bool valid = *c.problem == 0;
        EXPECT_EQ(OkEnabled(dialog), valid) << c.label << ": " << dialog.problem().toStdString();
        EXPECT_TRUE(dialog.problem().contains(QString::fromUtf8(c.problem))) << c.label;
        if (c.partition)
            EXPECT_EQ(dialog.result().partitionMegabytes, c.partitionMegabytes) << c.label;
        else
            EXPECT_TRUE(dialog.result().partitionName.isEmpty()) << c.label;
    }
}

TEST(FormNewImage, BrowseUsesTheGivenFileDialogAndHdfRenamesARawFile)
{
    QTemporaryDir dir;
    TFormNewImage dialog(dir.path());
    auto* file = Child<QLineEdit>(dialog, "file");
    QString answer = dir.filePath("card.img");
    QString asked;
    dialog.setSaveFileFunction([&](QWidget*, const QString& current) {
        asked = current;
        return answer;
    });
    const QString before = file->text();
    Child<QPushButton>(dialog, "browse")->click();
    EXPECT_EQ(asked, before);
    EXPECT_EQ(file->text(), dir.filePath("card.img"));
    answer.clear(); // cancelled: the file stays
    Child<QPushButton>(dialog, "browse")->click();
    EXPECT_EQ(file->text(), dir.filePath("card.img"));

    auto* format = Child<QComboBox>(dialog, "format");
    format->setCurrentIndex(2);
    EXPECT_EQ(file->text(), dir.filePath("card.img"));
    format->setCurrentIndex(1);
    EXPECT_EQ(file->text(), dir.filePath("card.hdf"));
    EXPECT_TRUE(OkEnabled(dialog));
    format->setCurrentIndex(2);
    EXPECT_EQ(file->text(), dir.filePath("card.img"));
}

// The dialog's result, run with the real tool, makes media that pass check
// and hold the first partition at the size the dialog promised.
TEST(FormNewImage, ResultRunWithTheToolMakesASoundMedium)
{
    struct RunCase
    {
        const char* file;
        int format;
        bool halved;
        int preset;
        DiskGeometry geometry;
    };
    const RunCase cases[] = {
        {"a.hdf", 0, false, 1, {}},
        {"b.hdf", 1, true, -1, {64, 16, 32}},
        {"c.img", 2, true, 0, {}},
    };
    QTemporaryDir dir;
    for (const RunCase& c : cases) {
        TFormNewImage dialog(dir.path());
        Child<QComboBox>(dialog, "format")->setCurrentIndex(c.format);
        Child<QLineEdit>(dialog, "file")->setText(dir.filePath(c.file));
        Child<QComboBox>(dialog, "interface")->setCurrentIndex(c.halved ? 1 : 0);
        if (c.preset >= 0) {
            Child<QComboBox>(dialog, "preset")->setCurrentIndex(c.preset);
        } else {
            Child<QRadioButton>(dialog, "byGeometry")->setChecked(true);
            Child<QSpinBox>(dialog, "cylinders")->setValue(c.geometry.cylinders);
            Child<QSpinBox>(dialog, "heads")->setValue(c.geometry.heads);
            Child<QSpinBox>(dialog, "sectors")->setValue(c.geometry.sectors);
        }
        Child<QLineEdit>(dialog, "partitionName")->setText("First one");
        ASSERT_TRUE(OkEnabled(dialog)) << dialog.problem().toStdString();
        const NewImageResult result = dialog.result();
        for (const QString& line : NewImageCommandLines(mediatest::Tool(), result)) {
            const mediatest::Run run = mediatest::RunLine(line);
            ASSERT_EQ(run.code, 0) << line.toStdString() << ": " << run.err.toStdString();
        }
        const mediatest::Run check = mediatest::RunLine(CheckCommand(mediatest::Tool(), result.path));
        EXPECT_EQ(CheckReportLines(ParseCheckOutput(check.out, check.code, check.err)).value(0), "No faults found.")
            << c.file << check.out.toStdString();
        const mediatest::Run table =
            mediatest::RunLine(mediatest::Tool() + " \"" + result.path + "\" showptable -backend");
        const QString bytes = QString::number(result.partitionMegabytes >= 16 ? 255 * 65536
                                                                               : result.partitionMegabytes << 20);
        EXPECT_TRUE(table.out.contains(QRegularExpression("\nFirst one,3,,[0-9,]*," + bytes + "\r")))
            << c.file << table.out.toStdString();
    }
}

} // namespace
