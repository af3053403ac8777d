#pragma once

#include <QCache>
#include <QIcon>
#include <QImage>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QThreadPool>
#include <QTimer>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

class FileListModel;
class QAbstractItemView;
struct FileListRow;

// Thumbnails of the SCREEN$ files in the file list's icon styles: each file
// in sight that holds screen memory is got with one background run of the
// disk tool and drawn small in place of its type picture.

// ---- The pure part: which rows, under which key, in which order ----

// What the list shows: the medium, the partition, and a stamp of the
// medium's state when the list was read (see MediumStamp).
struct ThumbnailSource
{
    QString toolPath;
    QString medium;
    QString partition;
    QString stamp;

    bool isSet() const { return !toolPath.isEmpty() && !medium.isEmpty() && !partition.isEmpty(); }
};

// A row wants a thumbnail when the view window would show it as a picture:
// a Bytes or headerless file of 6912 bytes (screen memory) or 6144 bytes (a
// bitmap alone).
bool WantsThumbnail(const FileListRow& row);

// The modification time of an image file (in ms, as text); empty for a
// device or a medium that is not there. Any write to an image changes it,
// so a file replaced by one of the same name, size and attributes still
// gets a key of its own.
QString MediumStamp(const QString& medium);

// The cache key of a row's thumbnail: medium, partition, name, real size,
// attributes, type, start address and the medium's stamp. A file that
// changes in any of these is got again; a key seen before is not.
QString ThumbnailKey(const ThumbnailSource& source, const FileListRow& row);

// The rows of `rowsInSight` (in the order given) whose thumbnails are to be
// got: those that want one and whose key is neither cached, nor being got,
// nor known to fail.
QList<int> RowsToFetch(const QList<int>& rowsInSight, const std::function<const FileListRow&(int)>& rowAt,
                       const ThumbnailSource& source, const std::function<bool(const QString&)>& known);

// One file to get a thumbnail of.
struct ThumbnailRequest
{
    ThumbnailSource source;
    QString name;
    QString typeName;
    qint64 realSize = 0;
    QString tempParent; // the folder the tool's copy is got into goes here
};

// Gets the file with one run of the tool's `get` into a folder of its own
// and draws it small. Blocks (run on a worker thread); waits while a command
// of the user's runs the tool (ToolRunsWaitedFor), and kills the tool when
// `stop` is set or the run takes longer than ThumbnailLoader::kRunLimitMs.
// A null picture when the tool failed, was stopped or left no readable copy.
QImage GetThumbnail(const ThumbnailRequest& request, const std::atomic<bool>& stop);

// ---- The loader ----

// Gets the thumbnails for one view of the model. The tool runs go on worker
// threads (GetThumbnail) and are never waited for on the GUI thread: the
// window keeps handling input while they go on, and no busy window shows.
// At most kMaxRuns run at once, none starts while a command of the user's
// runs the tool (ToolRunsWaitedFor), and a change of partition or medium
// stops those still running.
class ThumbnailLoader : public QObject
{
    Q_OBJECT

public:
    static constexpr int kMaxRuns = 2;
    static constexpr int kRunLimitMs = 10000;  // a run that takes longer is stopped
    static constexpr int kCachedPictures = 1024; // 12 KB each

    ThumbnailLoader(FileListModel* model, QAbstractItemView* view, QObject* parent = nullptr);
    ~ThumbnailLoader() override;

    // The list now shows `source` (or, unset, no files). Runs for another
    // partition or medium are stopped; cached thumbnails stay.
    void setSource(const ThumbnailSource& source);
    const ThumbnailSource& source() const { return m_source; }

    // Thumbnails are got only while the view shows (an icon style).
    void setActive(bool active);
    bool isActive() const { return m_active; }

    // The thumbnail of `row`, null when there is none (yet).
    QIcon thumbnail(int row) const;

    // Runs going on now, and the rows in sight that still wait for theirs.
    int runsGoingOn() const { return static_cast<int>(m_runs.size()); }
    int rowsWaiting() const { return static_cast<int>(m_waiting.size()); }

    // The rows of the view whose items lie (partly) in its viewport.
    static QList<int> RowsInSight(const QAbstractItemView* view, int rowCount);

    // Looks at the view again (soon, once for any number of calls).
    void schedule();

signals:
    // A thumbnail was got (or a file failed to give one).
    void thumbnailReady();

private:
    struct Run
    {
        quint64 id = 0;
        QString key;
        int row = -1; // where the file was listed when the run started
        std::shared_ptr<std::atomic<bool>> stop = std::make_shared<std::atomic<bool>>(false);
    };

    void refill();
    void startRuns();
    void finishRun(quint64 id, const QImage& picture);
    void stopRuns();
    bool known(const QString& key) const;

    FileListModel* m_model;
    QPointer<QAbstractItemView> m_view;
    ThumbnailSource m_source;
    bool m_active = false;
    QTimer m_refillTimer;
    QList<int> m_waiting; // rows in sight to get, in order
    std::vector<Run> m_runs;
    quint64 m_lastRunId = 0;
    QThreadPool m_pool;
    mutable QCache<QString, QIcon> m_cache;
    QSet<QString> m_failed;
};
