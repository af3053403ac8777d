#include "host_files.h"

#include <cerrno>
#include <cstring>
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

void writeHostFileReplacing(const std::string& folder, const std::string& name, const std::vector<uint8_t>& bytes)
{
    const std::string base = folder == "/" ? "" : folder;
    const std::string target = base + "/" + name;
    // A temporary name of our own, created exclusively with the modes a new
    // file gets (umask applies).
    std::string temp;
    int fd = -1;
    for (unsigned attempt = 0; fd < 0; ++attempt) {
        temp = base + "/.3e-get-" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && (errno != EEXIST || attempt == 100))
            throw ToolError("cannot write into " + folder + ": " + errorText());
    }
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const std::string why = errorText();
            ::close(fd);
            ::unlink(temp.c_str());
            throw ToolError("cannot write " + target + ": " + why);
        }
        done += size_t(n);
    }
    if (::close(fd) != 0 || ::rename(temp.c_str(), target.c_str()) != 0) {
        const std::string why = errorText();
        ::unlink(temp.c_str());
        throw ToolError("cannot write " + target + ": " + why);
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
