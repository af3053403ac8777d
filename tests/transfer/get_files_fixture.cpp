#include "get_files_fixture.h"

#include "file_list_model.h"
#include "plus3dos_header.h"
#include "tape_listing.h"
#include "tape_writer.h"
#include "test_paths.h"

#include <QAbstractButton>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QTimer>

namespace {

const char* const kWrapper = R"(case "$2|$3" in
  get\|*:SILENT.BIN) exit 1 ;;
  dir\|LOST) echo "unreadable directory" >&2; exit 1 ;;
  dir\|BAD) printf 'Name\r\nX.BIN,many,---,1,0,1024,3,10,0,0\r\n'; exit 0 ;;
esac
"%1" "$@" || exit
case "$2|$3" in get\|*:SHORT.BIN) truncate -s -40 "$4SHORT.BIN" ;; esac)";

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
    return testfixture::Plus3DosHeader(TapeTypeByte(f.type), quint16(f.data.size()),
                                       quint16(f.start), quint16(f.vars)) +
           f.data;
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
        files << QString::fromLatin1(header.name) + ":" +
                     QString::number(listing.blocks[i + 1].length);
    }
    return listing.accepted && listing.blocks.size() % 2 == 0 ? files.join(' ') : listing.text;
}

void GetFilesFixture::SetUp()
{
    GuiTest::SetUp();
    dest = path("dest");
    QDir().mkpath(dest);
    tool = writeFakeTool("wrapper", QString::fromLatin1(kWrapper).arg(testpaths::kToolExe));
    writeSettings({{"3ePos", tool}});
    makeForm();
}

void GetFilesFixture::openImage(const QList<std::pair<QString, QList<FakeFile>>>& partitions)
{
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

void GetFilesFixture::select(const QStringList& names)
{
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
