#include "thumbnail_loader.h"

#include "command_builders.h"
#include "command_line.h"
#include "file_list_model.h"
#include "process_runner.h"
#include "screen_image.h"
#include "temp_folder.h"
#include "text_utils.h"
#include "view_choice.h"

#include <QAbstractItemView>
#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QPixmap>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>

#include <algorithm>

namespace {

// Thumbnails are drawn at twice the large icon size, so that they stay sharp
// on a display that doubles pixels; smaller icons are made from them.
constexpr int kThumbnailWidth = 64;
constexpr int kThumbnailHeight = 48;

constexpr int kRetryMs = 50; // while a command of the user's runs the tool

qint64 RealSize(const FileListRow& row)
{
    return GroupedToInt(row.cells[FileListModel::ColRealSize]);
}

} // namespace

bool WantsThumbnail(const FileListRow& row)
{
    return OffersPicture(row.cells[FileListModel::ColType], RealSize(row));
}

QString MediumStamp(const QString& medium)
{
    const QFileInfo info(medium);
    if (!info.isFile())
        return QString();
    return QString::number(info.lastModified().toMSecsSinceEpoch());
}

QString ThumbnailKey(const ThumbnailSource& source, const FileListRow& row)
{
    // Fields are joined with a character no name or number holds.
    const QChar gap(u'\x1f');
    return source.medium + gap + source.partition + gap + row.cells[FileListModel::ColName] + gap +
           QString::number(RealSize(row)) + gap + row.cells[FileListModel::ColAttr] + gap +
           row.cells[FileListModel::ColType] + gap + row.cells[FileListModel::ColStart] + gap +
           source.stamp;
}

QList<int> RowsToFetch(const QList<int>& rowsInSight, const std::function<const FileListRow&(int)>& rowAt,
                       const ThumbnailSource& source, const std::function<bool(const QString&)>& known)
{
    QList<int> rows;
    if (!source.isSet())
        return rows;
    for (int r : rowsInSight) {
        const FileListRow& row = rowAt(r);
        if (WantsThumbnail(row) && !known(ThumbnailKey(source, row)))
            rows << r;
    }
    return rows;
}

// One run of the tool's `get` into a folder of its own.
struct ThumbnailLoader::Run
{
    QString key;
    QString name;
    QString typeName;
    qint64 realSize = 0;
    QProcess* process = nullptr;            // deletes itself once the tool has ended
    std::shared_ptr<QTemporaryDir> folder;  // lives until the tool has ended
    QTimer limit;
};

ThumbnailLoader::ThumbnailLoader(FileListModel* model, QAbstractItemView* view, QObject* parent)
    : QObject(parent), m_model(model), m_view(view), m_cache(kCachedPictures)
{
    m_refillTimer.setSingleShot(true);
    m_refillTimer.setInterval(0);
    connect(&m_refillTimer, &QTimer::timeout, this, &ThumbnailLoader::refill);
    m_retryTimer.setSingleShot(true);
    m_retryTimer.setInterval(kRetryMs);
    connect(&m_retryTimer, &QTimer::timeout, this, &ThumbnailLoader::startRuns);

    connect(model, &QAbstractItemModel::modelReset, this, &ThumbnailLoader::schedule);
    connect(model, &QAbstractItemModel::rowsInserted, this, &ThumbnailLoader::schedule);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &ThumbnailLoader::schedule);
    connect(model, &QAbstractItemModel::layoutChanged, this, &ThumbnailLoader::schedule);
    connect(model, &QAbstractItemModel::dataChanged, this, &ThumbnailLoader::schedule);
    connect(view->verticalScrollBar(), &QScrollBar::valueChanged, this, &ThumbnailLoader::schedule);
    connect(view->horizontalScrollBar(), &QScrollBar::valueChanged, this, &ThumbnailLoader::schedule);
    // A larger viewport shows more rows.
    connect(view->verticalScrollBar(), &QScrollBar::rangeChanged, this, &ThumbnailLoader::schedule);
    connect(view->horizontalScrollBar(), &QScrollBar::rangeChanged, this, &ThumbnailLoader::schedule);
}

ThumbnailLoader::~ThumbnailLoader()
{
    // No event loop may follow: the tools are ended and reaped here.
    for (auto& run : m_runs) {
        run->process->disconnect(this);
        run->process->kill();
        run->process->waitForFinished(2000);
        delete run->process;
    }
}

void ThumbnailLoader::setSource(const ThumbnailSource& source)
{
    if (source.medium != m_source.medium || source.partition != m_source.partition ||
        source.toolPath != m_source.toolPath)
        stopRuns();
    m_source = source;
    m_waiting.clear();
    schedule();
}

void ThumbnailLoader::setActive(bool active)
{
    m_active = active;
    if (!active)
        m_waiting.clear();
    schedule();
}

QIcon ThumbnailLoader::thumbnail(int row) const
{
    if (!m_source.isSet() || row < 0 || row >= m_model->count() || !WantsThumbnail(m_model->row(row)))
        return {};
    const QIcon* icon = m_cache.object(ThumbnailKey(m_source, m_model->row(row)));
    return icon ? *icon : QIcon();
}

QList<int> ThumbnailLoader::RowsInSight(const QAbstractItemView* view, int rowCount)
{
    QList<int> rows;
    const QRect viewport = view->viewport()->rect();
    const QAbstractItemModel* model = view->model();
    for (int r = 0; r < rowCount; ++r) {
        if (view->visualRect(model->index(r, 0)).intersects(viewport))
            rows << r;
    }
    return rows;
}

void ThumbnailLoader::schedule()
{
    if (!m_refillTimer.isActive())
        m_refillTimer.start();
}

bool ThumbnailLoader::known(const QString& key) const
{
    if (m_cache.contains(key) || m_failed.contains(key))
        return true;
    return std::any_of(m_runs.begin(), m_runs.end(), [&](const auto& run) { return run->key == key; });
}

void ThumbnailLoader::refill()
{
    m_waiting.clear();
    if (!m_active || !m_view || !m_source.isSet() || m_model->showsPartitions())
        return;
    m_waiting = RowsToFetch(
        RowsInSight(m_view, m_model->count()), [this](int r) -> const FileListRow& { return m_model->row(r); },
        m_source, [this](const QString& key) { return known(key); });
    startRuns();
}

void ThumbnailLoader::startRuns()
{
    while (static_cast<int>(m_runs.size()) < kMaxRuns && !m_waiting.isEmpty()) {
        // A command of the user's runs the tool: start nothing beside it.
        if (ToolRunsWaitedFor() > 0) {
            m_retryTimer.start();
            return;
        }
        const int r = m_waiting.takeFirst();
        if (r >= m_model->count())
            continue;
        const FileListRow& row = m_model->row(r);
        const QString key = ThumbnailKey(m_source, row);
        if (!WantsThumbnail(row) || known(key))
            continue;

        auto run = std::make_unique<Run>();
        run->key = key;
        run->name = row.cells[FileListModel::ColName];
        run->typeName = row.cells[FileListModel::ColType];
        run->realSize = RealSize(row);
        run->folder = std::make_shared<QTemporaryDir>(PrivateTempFolder() + QStringLiteral("/thumb-XXXXXX"));
        const ResolvedCommand command = ResolveCommandLine(
            GetFileCommand(m_source.toolPath, m_source.medium, m_source.partition, run->name, run->folder->path()));
        if (!run->folder->isValid() || command.program.isEmpty()) {
            // Nothing can be got now; the type picture stays.
            m_failed.insert(key);
            continue;
        }
        run->process = new QProcess;
        run->process->setStandardInputFile(QProcess::nullDevice());
        run->process->setStandardOutputFile(QProcess::nullDevice());
        Run* raw = run.get();
        connect(run->process, &QProcess::finished, this, [this, raw] { finishRun(raw); });
        connect(run->process, &QProcess::errorOccurred, this, [this, raw](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart)
                finishRun(raw);
        });
        run->limit.setSingleShot(true);
        connect(&run->limit, &QTimer::timeout, run->process, &QProcess::kill);
        run->limit.start(kRunLimitMs);
        m_runs.push_back(std::move(run));
        raw->process->start(command.program, command.arguments);
    }
}

void ThumbnailLoader::finishRun(Run* run)
{
    const auto it = std::find_if(m_runs.begin(), m_runs.end(), [run](const auto& r) { return r.get() == run; });
    if (it == m_runs.end())
        return;
    std::unique_ptr<Run> done = std::move(*it);
    m_runs.erase(it);
    done->process->disconnect(this);
    done->process->deleteLater();

    // The copy the tool wrote: named as the +3DOS file, or the one file it
    // left (a name the host stores differently).
    QString copy = QDir(done->folder->path()).filePath(done->name);
    if (!QFileInfo(copy).isFile()) {
        const QFileInfoList files = QDir(done->folder->path()).entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
        copy = files.size() == 1 ? files.first().filePath() : QString();
    }
    const bool ran = done->process->exitStatus() == QProcess::NormalExit &&
                     done->process->error() == QProcess::UnknownError &&
                     done->process->readAllStandardError().trimmed().isEmpty();
    QByteArray screen;
    if (ran && !copy.isEmpty()) {
        try {
            const ViewChoice choice = ChooseView(ViewMode::Picture, done->typeName, done->realSize, 0);
            screen = ReadPicture(choice, copy, done->typeName);
        } catch (...) {
            screen.clear(); // an unreadable copy gives no thumbnail
        }
    }
    if (screen.isEmpty()) {
        m_failed.insert(done->key);
    } else {
        const QImage picture = RenderScreen(screen).scaled(kThumbnailWidth, kThumbnailHeight, Qt::IgnoreAspectRatio,
                                                           Qt::SmoothTransformation);
        m_cache.insert(done->key, new QIcon(QPixmap::fromImage(picture)));
    }
    emit thumbnailReady();
    if (m_view)
        m_view->viewport()->update();
    startRuns();
}

void ThumbnailLoader::stopRuns()
{
    for (auto& run : m_runs) {
        QProcess* process = run->process;
        process->disconnect(this);
        run->limit.stop();
        // The folder goes when the tool has ended, and the process with it.
        if (process->state() == QProcess::NotRunning) {
            process->deleteLater();
            continue;
        }
        connect(process, &QProcess::finished, process, [process, folder = run->folder] { process->deleteLater(); });
        process->kill();
    }
    m_runs.clear();
    m_waiting.clear();
}
