#include "get_files_fixture.h"

#include "text_utils.h"

#include <QAbstractButton>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTimer>
#include <QTreeWidget>

namespace {

const char* const kFakeTool = R"(log="$(dirname "$0")/calls.log"
printf '%s|' "$@" >> "$log"; echo >> "$log"
case "$2" in
get) file="${3#*:}"
     if [ -f "$1/$file.err" ]; then cat "$1/$file.err" >&2; exit 1; fi
     if [ -f "$1/$file" ]; then cp "$1/$file" "$4$file"; fi ;;
esac)";

QString Grouped(qint64 value)
{
    return FormatGrouped(static_cast<double>(value), 5);
}

} // namespace

QByteArray Data(int size, int seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 31 + seed * 17 + i / 251) & 0xFF);
    return bytes;
}

QByteArray Header()
{
    QByteArray header("PLUS3DOS\x1a\x01\x00");
    header.resize(128, '\0');
    return header;
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

void GetFilesFixture::showFiles(const QList<FakeFile>& files)
{
    QTreeWidget* tree = form->TreeView();
    {
        // Built as opening would build it, without running the tool.
        const QSignalBlocker quiet(tree);
        tree->clear();
        auto* root = new QTreeWidgetItem(QStringList{medium});
        root->addChild(new QTreeWidgetItem(QStringList{"SYSTEM"}));
        root->addChild(new QTreeWidgetItem(QStringList{"GAMES"}));
        tree->addTopLevelItem(root);
        form->SelectNode(root->child(1));
    }
    FileListModel& model = form->ListModel();
    model.clear();
    for (const FakeFile& f : files) {
        const bool headerless = f.type == "Headerless";
        const QByteArray stored = headerless ? f.data : Header() + f.data;
        write(medium + "/" + f.name, stored);
        FileListRow row;
        row.cells = {f.name,           Grouped(stored.size()), "----",       "1.0",
                     Grouped(1024),    f.type,                 Grouped(f.data.size()), Grouped(f.start),
                     Grouped(f.vars),  "",                     ""};
        model.appendRow(row);
    }
}

void GetFilesFixture::select(const QList<int>& rows)
{
    form->ListView()->selectionModel()->clearSelection();
    for (int row : rows)
        form->ListView()->selectRow(row, true);
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
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, timer, [this, timer, action] {
        if (auto* wait = form->findChild<TFormWait*>()) {
            timer->stop();
            timer->deleteLater();
            action(*wait);
        }
    });
    timer->start();
}

QStringList GetFilesFixture::destFiles() const
{
    return QDir(dest).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

QStringList GetFilesFixture::getCalls() const
{
    QStringList calls;
    for (const QByteArray& line : contents(QFileInfo(tool).absolutePath() + "/calls.log").split('\n')) {
        const QString call = QString::fromUtf8(line);
        const QString prefix = medium + "|get|";
        if (call.startsWith(prefix))
            calls << call.mid(prefix.size());
    }
    return calls;
}

QByteArray GetFilesFixture::contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void GetFilesFixture::write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}
