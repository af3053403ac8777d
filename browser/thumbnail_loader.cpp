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
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPixmap>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>

namespace {

// Thumbnails are drawn at twice the large icon size, so that they stay sharp
// on a display that doubles pixels; smaller icons are made from them.
constexpr int kThumbnailWidth = 64;
constexpr int kThumbnailHeight = 48;

constexpr int kRetryMs = 20;    // while a command of the user's runs the tool
constexpr int kStopPollMs = 20; // how soon a run that is to stop is killed

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

QImage GetThumbnail(const ThumbnailRequest& request, const std::atomic<bool>& stop)
{
    // A command of the user's that runs the tool goes first.
    while (ToolRunsWaitedFor() > 0) {
        if (stop)
            return {};
        QThread::msleep(kRetryMs);
    }
    if (stop)
        return {};
    QTemporaryDir folder(request.tempParent + QStringLiteral("/thumb-XXXXXX"));
    const ResolvedCommand command = ResolveCommandLine(
        GetFileCommand(request.source.toolPath, request.source.medium, request.source.partition, request.name,
                       folder.path()));
    if (!folder.isValid() || command.program.isEmpty())
        return {};
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(command.program, command.arguments);
    if (!process.waitForStarted())
        return {};
    QElapsedTimer clock;
    clock.start();
    while (!process.waitForFinished(kStopPollMs)) {
        if (stop || clock.elapsed() > ThumbnailLoader::kRunLimitMs) {
            process.kill();
            process.waitForFinished();
            return {};
        }
    }
    if (process.exitStatus() != QProcess::NormalExit || !process.readAllStandardError().trimmed().isEmpty())
        return {};

    // The copy the tool wrote: named as the +3DOS file, or the one file it
    // left (a name the host stores differently).
    QString copy = QDir(folder.path()).filePath(request.name);
    if (!QFileInfo(copy).isFile()) {
        const QFileInfoList files = QDir(folder.path()).entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
        if (files.size() != 1)
            return {};
        copy = files.first().filePath();
    }
    try {
        const ViewChoice choice = ChooseView(ViewMode::Picture, request.typeName, request.realSize, 0);
        const QByteArray screen = ReadPicture(choice, copy, request.typeName);
        if (screen.isEmpty())
            return {};
        return RenderScreen(screen).scaled(kThumbnailWidth, kThumbnailHeight, Qt::IgnoreAspectRatio,
                                           Qt::SmoothTransformation);
    } catch (...) {
        return {}; // an unreadable copy gives no thumbnail
    }
}

ThumbnailLoader::ThumbnailLoader(FileListModel* model, QAbstractItemView* view, QObject* parent)
    : QObject(parent), m_model(model), m_view(view), m_cache(kCachedPictures)
{
    m_pool.setMaxThreadCount(kMaxRuns);
    m_refillTimer.setSingleShot(true);
    m_refillTimer.setInterval(0);
    connect(&m_refillTimer, &QTimer::timeout, this, &ThumbnailLoader::refill);

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
    // The workers end their runs and are waited for: none reports to a
    // loader that is gone.
    stopRuns();
    m_pool.waitForDone();
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
    return std::any_of(m_runs.begin(), m_runs.end(), [&](const Run& run) { return run.key == key; });
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
        const int r = m_waiting.takeFirst();
        if (r >= m_model->count())
            continue;
        const FileListRow& row = m_model->row(r);
        const QString key = ThumbnailKey(m_source, row);
        if (!WantsThumbnail(row) || known(key))
            continue;

        Run run;
        run.id = ++m_lastRunId;
        run.key = key;
        run.row = r;
        ThumbnailRequest request;
        request.source = m_source;
        request.name = row.cells[FileListModel::ColName];
        request.typeName = row.cells[FileListModel::ColType];
        request.realSize = RealSize(row);
        try {
            request.tempParent = PrivateTempFolder();
        } catch (...) {
            m_failed.insert(key); // nowhere to get it to: the type picture stays
            continue;
        }
        m_runs.push_back(run);
        m_pool.start([this, request, id = run.id, stop = run.stop] {
            const QImage picture = GetThumbnail(request, *stop);
            QMetaObject::invokeMethod(this, [this, id, picture] { finishRun(id, picture); }, Qt::QueuedConnection);
        });
    }
}

void ThumbnailLoader::finishRun(quint64 id, const QImage& picture)
{
    const auto it = std::find_if(m_runs.begin(), m_runs.end(), [id](const Run& run) { return run.id == id; });
    if (it == m_runs.end())
        return; // stopped: the partition changed meanwhile
    const QString key = it->key;
    const int row = it->row;
    m_runs.erase(it);
    if (picture.isNull())
        m_failed.insert(key);
    else
        m_cache.insert(key, new QIcon(QPixmap::fromImage(picture)));
    emit thumbnailReady();
    // Only the item repaints, unless the list changed under it.
    if (m_view) {
        if (row < m_model->count() && ThumbnailKey(m_source, m_model->row(row)) == key)
            m_view->update(m_model->index(row, FileListModel::ColName));
        else
            m_view->viewport()->update();
    }
    startRuns();
}

void ThumbnailLoader::stopRuns()
{
    for (const Run& run : m_runs)
        *run.stop = true;
    m_runs.clear();
    m_waiting.clear();
}
