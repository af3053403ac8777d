#include "tool_archive.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryFile>

#include <zip.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace update {

namespace {

QString zipErrorText(int code)
{
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const QString text = QString::fromLocal8Bit(zip_error_strerror(&error));
    zip_error_fini(&error);
    return text;
}

// Closes a member opened for reading when the extraction leaves.
struct MemberCloser
{
    zip_file_t* file;
    ~MemberCloser() { zip_fclose(file); }
};

constexpr QFile::Permissions kToolPermissions =
    QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
    QFile::ReadOther | QFile::ExeOther;

} // namespace

ToolArchive::~ToolArchive()
{
    close();
}

bool ToolArchive::open(const QString& path)
{
    close();
    m_error.clear();
    int code = ZIP_ER_OK;
    m_archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &code);
    if (!m_archive) {
        m_error = zipErrorText(code);
        return false;
    }
    return true;
}

void ToolArchive::close()
{
    if (m_archive) {
        // Opened read-only: nothing to write back.
        zip_discard(m_archive);
        m_archive = nullptr;
    }
}

ToolArchive::Extraction ToolArchive::extractTool(const QString& folder)
{
    m_error.clear();
    if (!m_archive) {
        m_error = QStringLiteral("No archive is open");
        return Extraction::Failed;
    }

    // Flags 0: the whole stored name must match, case and folder part included.
    const zip_int64_t index = zip_name_locate(m_archive, kToolMemberName, 0);
    if (index < 0)
        return Extraction::NoMember;

    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(m_archive, static_cast<zip_uint64_t>(index), 0, &stat) != 0) {
        m_error = QString::fromLocal8Bit(zip_strerror(m_archive));
        return Extraction::Failed;
    }

    zip_file_t* member = zip_fopen_index(m_archive, static_cast<zip_uint64_t>(index), 0);
    if (!member) {
        m_error = QString::fromLocal8Bit(zip_strerror(m_archive));
        return Extraction::Failed;
    }
    MemberCloser closer{member};

    const QDir target(folder);
    const QString finalPath = target.filePath(QString::fromLatin1(kToolMemberName));
    QTemporaryFile part(target.filePath(QStringLiteral(".3E.EXE.XXXXXX")));
    if (!part.open()) {
        m_error = QStringLiteral("Cannot create a file in %1: %2")
                      .arg(QDir::toNativeSeparators(target.absolutePath()), part.errorString());
        return Extraction::Failed;
    }

    char buffer[64 * 1024];
    zip_uint64_t written = 0;
    for (;;) {
        const zip_int64_t got = zip_fread(member, buffer, sizeof buffer);
        if (got < 0) {
            m_error = QString::fromLocal8Bit(zip_file_strerror(member));
            return Extraction::Failed;
        }
        if (got == 0)
            break;
        if (part.write(buffer, got) != got) {
            m_error = QStringLiteral("Cannot write %1: %2")
                          .arg(QDir::toNativeSeparators(finalPath), part.errorString());
            return Extraction::Failed;
        }
        written += static_cast<zip_uint64_t>(got);
    }
    if ((stat.valid & ZIP_STAT_SIZE) && written != stat.size) {
        m_error = QStringLiteral("The archive's 3E.EXE is incomplete");
        return Extraction::Failed;
    }

    // Time and permissions go on the complete file, before it takes the
    // tool's name, so the tool is never seen half written or unstamped.
    if (!part.flush() || ::fsync(part.handle()) != 0) {
        m_error = QStringLiteral("Cannot write %1: %2")
                      .arg(QDir::toNativeSeparators(finalPath), part.errorString());
        return Extraction::Failed;
    }
    if (stat.valid & ZIP_STAT_MTIME)
        part.setFileTime(QDateTime::fromSecsSinceEpoch(stat.mtime, Qt::UTC),
                         QFileDevice::FileModificationTime);
    part.setPermissions(kToolPermissions);
    const QString partPath = part.fileName();
    part.close();

    // rename() replaces an existing file in one step; a symbolic link named
    // 3E.EXE is replaced itself, never followed.
    if (std::rename(QFile::encodeName(partPath).constData(),
                    QFile::encodeName(finalPath).constData()) != 0) {
        m_error = QStringLiteral("Cannot replace %1: %2")
                      .arg(QDir::toNativeSeparators(finalPath),
                           QString::fromLocal8Bit(std::strerror(errno)));
        return Extraction::Failed;
    }
    part.setAutoRemove(false);
    return Extraction::Extracted;
}

} // namespace update
