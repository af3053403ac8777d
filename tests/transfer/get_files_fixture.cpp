#include "get_files_fixture.h"

#include "tape_listing.h"
#include "tape_writer.h"
#include "text_utils.h"

#include <QAbstractButton>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTimer>
#include <QTreeWidget>

namespace {

const char* const kFakeTool = R"(printf '%s|' "$@" >> "$(dirname "$0")/calls.log"; echo >> "$(dirname "$0")/calls.log"
file="${3#*:}"
if [ -f "$1/$file.err" ]; then cat "$1/$file.err" >&2; exit 1; fi
if [ "$2" = dir ]; then cat "$1/$3.dir"; fi
if [ "$2" = showptable ]; then echo "no table here" >&2; fi
if [ "$2" = get ] && [ -f "$1/$file" ]; then cp "$1/$file" "$4$file"; fi)";

} // namespace

QByteArray Data(int size, int seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 31 + seed * 17 + i / 251) & 0xFF);
    return bytes;
}

QByteArray Stored(const FakeFile& f)
{
    if (f.type == "Headerless")
        return f.data;
    QByteArray h(128, '\0');
    h.replace(0, 10, "PLUS3DOS\x1a\x01");
    const auto put = [&h](int at, qint64 value, int size) {
        for (int i = 0; i < size; ++i)
            h[at + i] = static_cast<char>(value >> (8 * i));
    };
    put(0x0B, 128 + f.data.size(), 4);
    put(0x0F, TapeTypeByte(f.type), 1);
    put(0x10, f.data.size(), 2);
    put(0x12, f.start, 2);
    put(0x14, f.vars, 2);
    int sum = 0;
    for (int i = 0; i < 127; ++i)
        sum += static_cast<quint8>(h[i]);
    h[127] = static_cast<char>(sum);
    return h + f.data;
}

QByteArray Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QString TapeSummary(const QString& tape)
{
    const TapeListing listing = ListTape(tape);
    QStringList files;
    for (qsizetype i = 0; i + 1 < listing.blocks.size(); i += 2) {
        const ListedBlock& header = listing.blocks[i];
        if (!header.checksumPass || !listing.blocks[i + 1].checksumPass || header.length != 19)
            return listing.text;
        files << QString::fromLatin1(header.name) + ":" + QString::number(listing.blocks[i + 1].length);
    }
    return listing.accepted && listing.blocks.size() % 2 == 0 ? files.join(' ') : listing.text;
}

void GetFilesFixture::SetUp()
{
    GuiTest::SetUp();
    medium = path("medium");
    dest = path("dest");
    QDir().mkpath(medium);
    QDir().mkpath(dest);
    tool = writeFakeTool("get", QString::fromLatin1(kFakeTool));
    writeSettings({{"3ePos", tool}});
    makeForm();
    form->CurrentMedium = medium;
}

void GetFilesFixture::openImage(const QList<std::pair<QString, QList<FakeFile>>>& partitions)
{
    form->ToolPath = realToolPath();
    QStringList names;
    for (const auto& partition : partitions)
        names << partition.first;
    image = makeImage("disk.hdf", names);
    for (const auto& [partition, files] : partitions) {
        for (const FakeFile& f : files) {
            Write(path("host"), Stored(f));
            runTool({image, "put", path("host"), partition + ":" + f.name});
        }
    }
    form->OpenMedium(image);
    form->SelectNode(treeNode(names.first()));
}

void GetFilesFixture::showFiles(const QList<FakeFile>& files)
{
    {
        const QSignalBlocker quiet(form->TreeView()); // no tool run for the selection
        form->TreeView()->clear();
        auto* root = new QTreeWidgetItem(QStringList{medium});
        root->addChildren({new QTreeWidgetItem(QStringList{"SYSTEM"}), new QTreeWidgetItem(QStringList{"GAMES"})});
        form->TreeView()->addTopLevelItem(root);
        form->SelectNode(root->child(1));
    }
    form->ListModel().clear();
    for (const FakeFile& f : files) {
        const QByteArray stored = Stored(f);
        Write(medium + "/" + f.name, stored);
        const auto grouped = [](qint64 n) { return FormatGrouped(static_cast<double>(n), 5); };
        form->ListModel().appendRow({{f.name, grouped(stored.size()), "----", "1.0", grouped(1024), f.type,
                                      grouped(f.data.size()), grouped(f.start), grouped(f.vars), "", ""}});
    }
}

void GetFilesFixture::select(const QStringList& names)
{
    form->ListView()->selectionModel()->clearSelection();
    for (int row = 0; row < form->RowCount(); ++row)
        form->ListView()->selectRow(row, names.contains(form->ListModel().caption(row)));
}

void GetFilesFixture::answerDestDir(const QString& folder)
{
    prompts->answerDialog([folder](QDialog& dialog) {
        dialog.findChild<QLineEdit*>("DirectoryEdit1")->setText(folder);
        dialog.findChild<QAbstractButton*>("BitBtn1")->click();
        return dialog.result();
    });
}

void GetFilesFixture::onBusyWindow(std::function<void(TFormWait&)> action)
{
    auto* timer = new QTimer(form.get());
    QObject::connect(timer, &QTimer::timeout, timer, [this, timer, action] {
        if (auto* wait = form->findChild<TFormWait*>()) {
            timer->deleteLater();
            timer->stop();
            action(*wait);
        }
    });
    timer->start(0);
}

QStringList GetFilesFixture::destFiles() const
{
    return QDir(dest).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

QStringList GetFilesFixture::getCalls() const
{
    QStringList calls;
    const QString prefix = medium + "|get|";
    for (const QString& call : QString::fromUtf8(Contents(QFileInfo(tool).absolutePath() + "/calls.log")).split('\n'))
        if (call.startsWith(prefix))
            calls << call.mid(prefix.size());
    return calls;
}
