#include "storage.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "device_guard.h"
#include "tool_error.h"

namespace p3tool {

// Byte offsets on cards of many gigabytes pass through off_t.
static_assert(sizeof(off_t) == 8, "build with 64-bit file offsets (_FILE_OFFSET_BITS=64)");

namespace {

struct FaultState {
    bool armed = false;
    uint64_t remaining = 0;
    uint64_t seen = 0;
};

FaultState& faults()
{
    static FaultState state;
    return state;
}

std::string systemError(int err) { return std::strerror(err); }

std::string& flushFailure()
{
    static std::string failure;
    return failure;
}

// Takes the lock, polling while another program holds it. Polling rather
// than a blocking flock with an alarm: no signal handler to install, and a
// lock released by a killed program is seen within a few milliseconds.
void takeLock(int fd, MediumLock lock, const std::string& path)
{
    if (lock == MediumLock::None)
        return;
    const int op = (lock == MediumLock::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
    for (int waited = 0;; waited += 5) {
        if (::flock(fd, op) == 0)
            return;
        const int err = errno;
        if (err == EINTR)
            continue;
        if (err != EWOULDBLOCK) {
            // A file system without locks (some network shares): go on
            // unlocked rather than refuse every command.
            if (err == ENOLCK || err == EOPNOTSUPP || err == ENOSYS)
                return;
            ::close(fd);
            throw IoError("cannot lock " + path + ": " + systemError(err));
        }
        if (waited >= kLockWaitMilliseconds) {
            ::close(fd);
            throw IoError("medium is busy (another program is writing to it): " + path);
        }
        const timespec pause{0, 5 * 1000 * 1000};
        ::nanosleep(&pause, nullptr);
    }
}

}  // namespace

namespace WriteFaults {
void failAfter(uint64_t successfulWrites)
{
    faults() = FaultState{true, successfulWrites, 0};
}
void disarm() { faults() = FaultState{}; }
uint64_t writesSeen() { return faults().seen; }
}  // namespace WriteFaults

void Storage::read(uint64_t offset, void* buffer, size_t length)
{
    if (offset > size() || length > size() - offset)
        throw IoError("read past the end of " + name() + " (the medium is shorter than its partition table says)");
    if (length > 0)
        doRead(offset, buffer, length);
}

void Storage::write(uint64_t offset, const void* buffer, size_t length)
{
    if (!writable())
        throw IoError(name() + " is open read-only");
    if (offset > size() || length > size() - offset)
        throw IoError("write past the end of " + name() + " refused");
    FaultState& f = faults();
    ++f.seen;
    if (f.armed) {
        if (f.remaining == 0)
            throw IoError("I/O error writing " + name() + " (simulated)");
        --f.remaining;
    }
    if (length > 0)
        doWrite(offset, buffer, length);
}

FileStorage::FileStorage(std::string path, int fd, uint64_t size, bool writable, bool blockDevice)
    : Storage(std::move(path)), fd_(fd), size_(size), writable_(writable), blockDevice_(blockDevice)
{
}

FileStorage::~FileStorage()
{
    if (fd_ < 0)
        return;
    // The end of every command that wrote to a block device, whether it
    // succeeded or not.
    if (blockDevice_ && written_) {
        const std::string failure = flushBlockDevice(fd_);
        if (!failure.empty() && flushFailure().empty())
            flushFailure() = "cannot flush " + name() + ": " + failure + "; what was written may not be on the card";
    }
    // A lock belongs to the open file, which the caller of a passed
    // descriptor keeps open after this run: it must be given up by hand.
    if (borrowed_)
        ::flock(fd_, LOCK_UN);
    ::close(fd_);
}

std::string takeDeviceFlushFailure()
{
    return std::exchange(flushFailure(), std::string());
}

namespace {

uint64_t deviceSize(int fd, const std::string& path)
{
    uint64_t bytes = 0;
    if (::ioctl(fd, BLKGETSIZE64, &bytes) != 0)
        throw IoError("device " + path + " is not readable: " + systemError(errno));
    return bytes;
}

}  // namespace

std::unique_ptr<FileStorage> FileStorage::open(const std::string& path, bool forWriting, MediumLock lock)
{
    if (const auto inherited = inheritedDescriptor(path))
        return adopt(*inherited, path, forWriting, lock);
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            throw IoError("no such image or device: " + path);
        throw IoError("cannot open " + path + ": " + systemError(errno));
    }
    if (S_ISDIR(st.st_mode))
        throw IoError(path + " is a folder, not an image or device");
    const bool device = S_ISBLK(st.st_mode);
    if (!device && !S_ISREG(st.st_mode))
        throw IoError(path + " is neither an image file nor a block device");
    if (device && forWriting)
        refuseIfMounted(path, st.st_rdev);

    int flags = forWriting ? O_RDWR : O_RDONLY;
    if (device && forWriting)
        flags |= O_EXCL;
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        if (err == EBUSY)
            throw IoError("device " + path + " is in use (is it or one of its partitions mounted?)");
        // Root refused a device (a container's device rules) has no group to
        // join; everyone else is told how to get access.
        if (device && (err == EACCES || err == EPERM))
            throw IoError("cannot open device " + path + " for " + (forWriting ? "writing" : "reading") + ": " +
                          systemError(err) + (::geteuid() == 0 ? "" : std::string("; ") + kDeviceAccessAdvice));
        if (device && err == EROFS)
            throw IoError("device " + path + " is write-protected (" + systemError(err) + ")");
        if (err == EACCES || err == EPERM)
            throw IoError("image " + path + " is not " + (forWriting ? "writable" : "readable") +
                          ": permission denied");
        throw IoError("cannot open " + path + ": " + systemError(err));
    }
    takeLock(fd, lock, path);
    // The size as it is under the lock (an image may have been written
    // while we waited).
    if (!device && ::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        throw IoError("cannot open " + path + ": " + systemError(err));
    }
    uint64_t size = uint64_t(st.st_size);
    if (device) {
        try {
            size = deviceSize(fd, path);
        } catch (...) {
            ::close(fd);
            throw;
        }
    }
    return std::unique_ptr<FileStorage>(new FileStorage(path, fd, size, forWriting, device));
}

std::unique_ptr<FileStorage> FileStorage::adopt(int inherited, const std::string& path, bool forWriting,
                                                MediumLock lock)
{
    struct stat st {};
    if (::fstat(inherited, &st) != 0)
        throw IoError(path + " is not a descriptor left open for this program: " + systemError(errno));
    const bool device = S_ISBLK(st.st_mode);
    if (!device && !S_ISREG(st.st_mode))
        throw IoError(path + " is neither an image file nor a block device");
    const int access = ::fcntl(inherited, F_GETFL) & O_ACCMODE;
    if (access == O_WRONLY)
        throw IoError(path + " was opened for writing only; the tool needs to read it as well");
    if (forWriting && access != O_RDWR)
        throw IoError(path + " was opened read-only; this command writes, so the " +
                      std::string(device ? "device" : "image") + " must be opened for reading and writing");
    if (device && forWriting)
        refuseIfMounted(path, st.st_rdev);
    // A second descriptor of the same open file (not a reopening): this
    // storage closes its own at the end and leaves the caller's as it was.
    // The lock is the open file's, shared with the caller; it is given up
    // when the storage closes.
    const int fd = ::fcntl(inherited, F_DUPFD_CLOEXEC, 3);
    if (fd < 0)
        throw IoError("cannot use " + path + ": " + systemError(errno));
    takeLock(fd, lock, path);
    uint64_t size = uint64_t(st.st_size);
    try {
        if (device)
            size = deviceSize(fd, path);
        else if (::fstat(fd, &st) == 0)  // the size under the lock
            size = uint64_t(st.st_size);
    } catch (...) {
        ::flock(fd, LOCK_UN);
        ::close(fd);
        throw;
    }
    auto storage = std::unique_ptr<FileStorage>(new FileStorage(path, fd, size, forWriting, device));
    storage->borrowed_ = true;
    return storage;
}

std::unique_ptr<FileStorage> FileStorage::create(const std::string& path, uint64_t size)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        const int err = errno;
        if (err == EEXIST)
            throw IoError(path + " already exists; it is not replaced");
        throw IoError("cannot create " + path + ": " + systemError(err));
    }
    if (::ftruncate(fd, off_t(size)) != 0) {
        const int err = errno;
        ::close(fd);
        ::unlink(path.c_str());
        throw IoError("cannot create " + path + ": " + systemError(err));
    }
    return std::unique_ptr<FileStorage>(new FileStorage(path, fd, size, true, false));
}

void FileStorage::doRead(uint64_t offset, void* buffer, size_t length)
{
    auto* p = static_cast<uint8_t*>(buffer);
    while (length > 0) {
        const ssize_t n = ::pread(fd_, p, length, off_t(offset));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw IoError("cannot read " + name() + ": " + systemError(errno));
        }
        if (n == 0) {
            // A file shortened while we work: what is missing reads as zeros
            // would be a guess, so refuse.
            throw IoError("read past the end of " + name());
        }
        p += n;
        offset += uint64_t(n);
        length -= size_t(n);
    }
}

void FileStorage::doWrite(uint64_t offset, const void* buffer, size_t length)
{
    written_ = true;
    const auto* p = static_cast<const uint8_t*>(buffer);
    while (length > 0) {
        const ssize_t n = ::pwrite(fd_, p, length, off_t(offset));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw IoError("cannot write " + name() + ": " + systemError(errno));
        }
        p += n;
        offset += uint64_t(n);
        length -= size_t(n);
    }
}

void FileStorage::sync()
{
    if (writable_ && blockDevice_ && ::fdatasync(fd_) != 0)
        throw IoError("cannot write " + name() + ": " + systemError(errno));
}

MemoryStorage::MemoryStorage(std::vector<uint8_t> bytes, std::string name)
    : Storage(std::move(name)), bytes_(std::move(bytes))
{
}

void MemoryStorage::doRead(uint64_t offset, void* buffer, size_t length)
{
    std::memcpy(buffer, bytes_.data() + offset, length);
}

void MemoryStorage::doWrite(uint64_t offset, const void* buffer, size_t length)
{
    std::memcpy(bytes_.data() + offset, buffer, length);
}

}  // namespace p3tool
