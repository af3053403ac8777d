#include "host_files.h"

#include <cerrno>
#include <cstring>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "text_util.h"
#include "tool_error.h"

namespace p3tool {

namespace {
std::string errorText() { return std::strerror(errno); }
}  // namespace

std::string existingFolder(const std::string& arg)
{
    std::string folder = arg;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    if (folder.empty())
        throw ToolError("no destination folder given");
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0)
        throw ToolError("no such folder: " + folder);
    if (!S_ISDIR(st.st_mode))
        throw ToolError("not a folder: " + folder);
    return folder;
}

std::string trimmedHostName(const std::string& name)
{
    const std::string n = trim(name);
    if (n.empty() || n == "." || n == ".." || n.find('/') != std::string::npos || n.find('\0') != std::string::npos)
        throw ToolError("\"" + name + "\" cannot be used as a host file name");
    return n;
}

namespace {

constexpr char kTempPrefix[] = ".3e-get-";

// Removes temporaries of ours whose program has ended (killed before it
// could remove them).
void removeStaleTemporaries(const std::string& base)
{
    DIR* d = ::opendir(base.empty() ? "/" : base.c_str());
    if (!d)
        return;
    while (const dirent* e = ::readdir(d)) {
        const std::string n = e->d_name;
        if (n.rfind(kTempPrefix, 0) != 0)
            continue;
        const std::string rest = n.substr(sizeof kTempPrefix - 1);
        const size_t dash = rest.find('-');
        const auto pid = parseDecimal(rest.substr(0, dash), 0x7FFFFFFF);
        if (!pid || dash == std::string::npos || *pid == uint64_t(::getpid()))
            continue;
        if (::kill(pid_t(*pid), 0) != 0 && errno == ESRCH)
            ::unlink((base + "/" + n).c_str());
    }
    ::closedir(d);
}

bool procFdLinks()
{
    static const bool present = ::access("/proc/self/fd", X_OK) == 0;
    return present;
}

}  // namespace

HostFileWriter::HostFileWriter(const std::string& folder, const std::string& name) : folder_(folder)
{
    const std::string base = folder == "/" ? "" : folder;
    target_ = base + "/" + name;
    if (procFdLinks())
        fd_ = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd_ >= 0)
        return;
    removeStaleTemporaries(base);
    // A temporary name of our own, created exclusively with the modes a new
    // file gets (umask applies).
    for (unsigned attempt = 0; fd_ < 0; ++attempt) {
        temp_ = base + "/" + kTempPrefix + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && (errno != EEXIST || attempt == 100))
            throw ToolError("cannot write into " + folder + ": " + errorText());
    }
}

HostFileWriter::~HostFileWriter()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (!temp_.empty())
        ::unlink(temp_.c_str());
}

void HostFileWriter::write(const uint8_t* bytes, size_t length)
{
    while (length > 0) {
        const ssize_t n = ::write(fd_, bytes, length);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw ToolError("cannot write " + target_ + ": " + errorText());
        bytes += n;
        length -= size_t(n);
    }
}

void HostFileWriter::commit()
{
    if (temp_.empty()) {
        // The unnamed file gets its name: directly when the name is free,
        // else under a temporary name renamed over the old file.
        const std::string self = "/proc/self/fd/" + std::to_string(fd_);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, target_.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            ::close(fd_);
            fd_ = -1;
            return;
        }
        if (errno != EEXIST)
            throw ToolError("cannot write " + target_ + ": " + errorText());
        removeStaleTemporaries(folder_ == "/" ? "" : folder_);
        for (unsigned attempt = 0;; ++attempt) {
            const std::string base = folder_ == "/" ? "" : folder_;
            const std::string temp = base + "/" + kTempPrefix + std::to_string(::getpid()) + "-" + std::to_string(attempt);
            if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temp.c_str(), AT_SYMLINK_FOLLOW) == 0) {
                temp_ = temp;
                break;
            }
            if (errno != EEXIST || attempt == 100)
                throw ToolError("cannot write " + target_ + ": " + errorText());
        }
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 || ::rename(temp_.c_str(), target_.c_str()) != 0)
        throw ToolError("cannot write " + target_ + ": " + errorText());
    temp_.clear();
}

void writeHostFileReplacing(const std::string& folder, const std::string& name, const std::vector<uint8_t>& bytes)
{
    HostFileWriter w(folder, name);
    w.write(bytes.data(), bytes.size());
    w.commit();
}

HostFileReader::HostFileReader(const std::string& path, uint64_t maxBytes) : path_(path)
{
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) {
        if (errno == ENOENT)
            throw ToolError("no such host file: " + path);
        throw ToolError("cannot read " + path + ": " + errorText());
    }
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd_);
        throw ToolError("not a regular file: " + path);
    }
    size_ = uint64_t(st.st_size);
    if (size_ > maxBytes) {
        ::close(fd_);
        throw ToolError(path + " is too long (" + std::to_string(size_) + " bytes; at most " + std::to_string(maxBytes) +
                        " fit)");
    }
}

HostFileReader::~HostFileReader()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void HostFileReader::read(uint64_t offset, uint8_t* out, size_t n)
{
    while (n > 0) {
        const ssize_t got = ::pread(fd_, out, n, off_t(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw ToolError("cannot read " + path_ + ": " + errorText());
        if (got == 0)
            throw ToolError(path_ + " became shorter while it was read");
        out += got;
        offset += uint64_t(got);
        n -= size_t(got);
    }
}

std::vector<uint8_t> readHostFile(const std::string& path, uint64_t maxBytes)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            throw ToolError("no such host file: " + path);
        throw ToolError("cannot read " + path + ": " + errorText());
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw ToolError("not a regular file: " + path);
    }
    if (uint64_t(st.st_size) > maxBytes) {
        ::close(fd);
        throw ToolError(path + " is too long (" + std::to_string(st.st_size) + " bytes; at most " +
                        std::to_string(maxBytes) + " fit)");
    }
    std::vector<uint8_t> bytes(size_t(st.st_size));
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const std::string why = errorText();
            ::close(fd);
            throw ToolError("cannot read " + path + ": " + why);
        }
        if (n == 0) {
            bytes.resize(done);
            break;
        }
        done += size_t(n);
    }
    ::close(fd);
    return bytes;
}

}  // namespace p3tool
