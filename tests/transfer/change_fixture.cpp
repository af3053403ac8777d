#include "change_fixture.h"

#include "form_wait.h"
#include "test_paths.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QSet>
#include <QTreeWidget>

namespace {

constexpr const char* kFailVariable = "HARNWICK_TEST_FAIL";
constexpr const char* kSkipVariable = "HARNWICK_TEST_SKIP";
constexpr const char* kSlowVariable = "HARNWICK_TEST_SLOW";
constexpr const char* kHangVariable = "HARNWICK_TEST_HANG";

// What labels show when they paint, and the values progress bars are set
// to, recorded by object name.
class ShownRecorder : public QObject
{
public:
    QMultiMap<QString, QString> texts;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* label = qobject_cast<QLabel*>(watched);
        if (label && event->type() == QEvent::Paint)
            texts.insert(label->objectName(), label->text());
        auto* bar = qobject_cast<QProgressBar*>(watched);
        if (bar && event->type() == QEvent::Show)
            record(bar);
        // A busy window follows its progress before it is shown.
        if (TFormWait* wait = TFormWait::Current())
            record(wait->ProgressBar1);
        return false;
    }

private:
    void record(QProgressBar* bar)
    {
        if (recorded_.contains(bar))
            return;
        recorded_.insert(bar);
        connect(bar, &QProgressBar::valueChanged, this, [this, bar](int value) {
            texts.insert(bar->objectName(), QString::number(value));
        });
        connect(bar, &QObject::destroyed, this, [this, bar] { recorded_.remove(bar); });
    }

    QSet<QObject*> recorded_;
};

} // namespace

void ChangeTest::SetUp()
{
    GuiTest::SetUp();
    toolLog = path("runs.log");
    const QString wrapper = writeFakeTool(
        "logged",
        QStringLiteral(
            "line=$(shift; printf '%s|' \"$@\")\n"
            "case \"$2\" in dir|showptable) ;; *) printf '%s\\n' \"$line\" >> '%1';; esac\n"
            "case \"$line\" in $%5) sleep 0.4;; esac\n"
            "case \"$line\" in $%6) exec sleep 30;; esac\n"
            "case \"$line\" in $%2) printf 'refused: %s\\r\\n' \"$2\" >&2; exit 1;; esac\n"
            "case \"$line\" in $%4) exit 0;; esac\n"
            "exec '%3' \"$@\"")
            .arg(toolLog, QLatin1String(kFailVariable), QString::fromUtf8(testpaths::kToolExe),
                 QLatin1String(kSkipVariable), QLatin1String(kSlowVariable),
                 QLatin1String(kHangVariable)));
    writeSettings({{"3ePos", wrapper}, {"Check3EUpdates", 0}});
    failRuns({});
    failRuns({}, true);
    delayRuns({}, {});
}

void ChangeTest::TearDown()
{
    // Whatever a test did, the medium is left without faults.
    if (!image.isEmpty())
        runTool({image, "check"});
    qunsetenv(kFailVariable);
    qunsetenv(kSkipVariable);
    qunsetenv(kSlowVariable);
    qunsetenv(kHangVariable);
    m_recorder.reset();
    GuiTest::TearDown();
}

void ChangeTest::openMedium(const QStringList& partitions, const QList<QByteArray>& files,
                            const QString& select)
{
    QFile::remove(path("medium.hdf"));
    image = makeImage(QStringLiteral("medium.hdf"), partitions);
    for (int i = 0; i + 1 < files.size(); i += 2) {
        QString name = QString::fromLatin1(files[i]);
        if (!name.contains(':'))
            name = partitions.first() + ":" + name;
        runTool({image, "put", hostFile("seed", files[i + 1]), name});
    }
    // Shown, so that labels paint; the first showing has run before the medium opens.
    makeForm().show();
    QCoreApplication::processEvents();
    form->OpenMedium(image);
    if (!select.isEmpty())
        selectPartition(select);
    clearRuns();
}

void ChangeTest::selectPartition(const QString& name)
{
    QTreeWidgetItem* node = treeNode(name);
    ASSERT_NE(node, nullptr) << name.toStdString();
    form->SelectNode(node);
}

void ChangeTest::selectRows(const QList<int>& rows)
{
    form->ListView()->selectionModel()->clearSelection();
    for (int row : rows)
        form->ListView()->selectRow(row, true);
}

QString ChangeTest::hostFile(const QString& name, const QByteArray& content)
{
    QDir().mkpath(path("host"));
    QFile file(path("host/" + name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
    return file.fileName();
}

QString ChangeTest::capture(const QStringList& arguments)
{
    QProcess tool;
    tool.start(QString::fromUtf8(testpaths::kToolExe), arguments);
    EXPECT_TRUE(tool.waitForFinished(30000));
    return QString::fromLatin1(tool.readAllStandardOutput());
}

QStringList ChangeTest::filesIn(const QString& partition)
{
    QStringList names;
    const QStringList lines =
        capture({image, "dir", partition, "-backend"}).split("\r\n", Qt::SkipEmptyParts);
    for (qsizetype i = 1; i < lines.size(); ++i)
        names << lines[i].section(',', 0, 0).trimmed();
    names.sort();
    return names;
}

QByteArray ChangeTest::contentOf(const QString& partition, const QString& file)
{
    const QString folder = path("got");
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    capture({image, "get", partition + ":" + file, folder + "/"});
    QFile got(folder + "/" + file);
    return got.open(QIODevice::ReadOnly) ? got.readAll() : QByteArray();
}

void ChangeTest::answerConflict(const QString& button, bool applyToAll)
{
    prompts->answerDialog([this, button, applyToAll](QDialog& dialog) {
        const auto* question = dialog.findChild<QLabel*>(QStringLiteral("Question"));
        const auto* note = dialog.findChild<QLabel*>(QStringLiteral("Note"));
        auto* all = dialog.findChild<QCheckBox*>(QStringLiteral("ApplyToAll"));
        auto* clicked = dialog.findChild<QAbstractButton*>(button);
        if (!question || !all || !clicked) {
            ADD_FAILURE() << "not the name question, or no button " << button.toStdString() << ": "
                          << dialog.windowTitle().toStdString();
            return static_cast<int>(QDialog::Rejected);
        }
        conflictQuestions << question->text() + (note ? " " + note->text() : QString());
        if (applyToAll) {
            EXPECT_TRUE(all->isVisible());
            all->setChecked(true);
        }
        clicked->click();
        return dialog.result();
    });
}

QStringList ChangeTest::runs() const
{
    QFile log(toolLog);
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts);
}

void ChangeTest::clearRuns()
{
    QFile::remove(toolLog);
}

void ChangeTest::failRuns(const QString& pattern, bool silently)
{
    // An empty pattern matches only an empty line, which no run logs.
    qputenv(silently ? kSkipVariable : kFailVariable, pattern.toUtf8());
}

void ChangeTest::delayRuns(const QString& slow, const QString& hang)
{
    qputenv(kSlowVariable, slow.toUtf8());
    qputenv(kHangVariable, hang.toUtf8());
}

void ChangeTest::recordShown()
{
    auto recorder = std::make_unique<ShownRecorder>();
    QCoreApplication::instance()->installEventFilter(recorder.get());
    m_recorder = std::move(recorder);
}

QStringList ChangeTest::shownTexts(const QString& labelName) const
{
    const auto* recorder = static_cast<ShownRecorder*>(m_recorder.get());
    QStringList texts = recorder->texts.values(labelName);
    std::reverse(texts.begin(), texts.end()); // QMultiMap gives the newest first
    texts.erase(std::unique(texts.begin(), texts.end()), texts.end());
    return texts;
}
