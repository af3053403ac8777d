#include "view_data.h"

#include <QFile>

#include <cerrno>
#include <string>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void ThrowIoError(int err)
{
    if (err == ENOENT)
        throw FormatterError("File not found");
    throw FormatterError("I/O error " + std::to_string(err));
}

// Closes the descriptor on every path out of ReadViewData.
class FileDescriptor
{
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

}  // namespace

bool HasPlus3DosHeader(const QString& typeName)
{
    return typeName != QLatin1String(kHeaderlessTypeName);
}

QByteArray ReadViewData(const QString& path, bool skipHeader, quint32 count)
{
    if (count > kMaxViewBytes)
        throw FormatterError("File too big (>64K).");

    const QByteArray nativePath = QFile::encodeName(path);
    FileDescriptor file(::open(nativePath.constData(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0)
        ThrowIoError(errno);

    const off_t start = skipHeader ? kPlus3DosHeaderSize : 0;
    struct stat info {};
    if (::fstat(file.get(), &info) != 0)
        ThrowIoError(errno);
    // Checked up front so that a zero count after a missing header fails too.
    if (S_ISREG(info.st_mode) && info.st_size < start + static_cast<off_t>(count))
        throw FormatterError("Read beyond end of file");

    QByteArray data(static_cast<qsizetype>(count), Qt::Uninitialized);
    qsizetype done = 0;
    // One block read; the loop only continues a read the kernel cut short.
    while (done < data.size()) {
        const ssize_t got = ::pread(file.get(), data.data() + done,
                                    static_cast<size_t>(data.size() - done), start + done);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            ThrowIoError(errno);
        }
        if (got == 0)
            throw FormatterError("Read beyond end of file");
        done += got;
    }
    return data;
}
