#include "process_runner.h"

#include "app_error.h"
#include "command_line.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

extern char** environ;

namespace {

QString CreateFileFailure(const char* which, const QString& path)
{
    return QStringLiteral("WinApi function CreateFile returned an invalid handle value\nfor the %1 "
                          "file * %2 *\n\n")
        .arg(QLatin1String(which), path);
}

// A file descriptor closed when it goes out of scope.
class Fd
{
public:
    Fd() = default;
    explicit Fd(int fd) : fd_(fd) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    Fd& operator=(Fd&& other) noexcept
    {
        std::swap(fd_, other.fd_);
        return *this;
    }
    ~Fd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

int OpenFile(const QString& path, int flags)
{
    const QByteArray name = QFile::encodeName(path);
    int fd;
    do {
        fd = ::open(name.constData(), flags | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    // When this program runs with a standard descriptor closed, open() may
    // hand out 0, 1 or 2; moving the file above them keeps the child's
    // dup2() sequence from overwriting one redirection with another.
    if (fd >= 0 && fd <= STDERR_FILENO) {
        const int high = ::fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
        ::close(fd);
        fd = high;
    }
    return fd;
}

// The file actions and attributes of one spawn, released on every path.
class SpawnSetup
{
public:
    SpawnSetup() { ok_ = posix_spawn_file_actions_init(&actions_) == 0; }
    ~SpawnSetup()
    {
        if (ok_)
            posix_spawn_file_actions_destroy(&actions_);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    bool Dup(int fd, int target)
    {
        return ok_ && posix_spawn_file_actions_adddup2(&actions_, fd, target) == 0;
    }
    bool CloseOthers()
    {
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
        return ok_ && posix_spawn_file_actions_addclosefrom_np(&actions_, 3) == 0;
#else
        // Every descriptor this runner opens is close-on-exec already.
        return ok_;
#endif
    }
    const posix_spawn_file_actions_t* actions() const
    {
        return &actions_;
    }

private:
    posix_spawn_file_actions_t actions_{};
    bool ok_ = false;
};

void WaitFor(pid_t pid)
{
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

} // namespace

bool RunRedirected(const QString& commandLine, const QString& inputFile, const QString& outFile,
                   const QString& errFile, const QString& contextText, bool wait)
{
    const bool hasInput = !inputFile.isEmpty();
    if (hasInput && !QFileInfo::exists(inputFile)) {
        throw AppError(QStringLiteral("Input file * %1 *\ndoes not exist\n\n").arg(inputFile) +
                       contextText);
    }

    Fd input;
    if (hasInput) {
        // Opened for reading and writing, created when it has gone meanwhile.
        input = Fd(OpenFile(inputFile, O_RDWR | O_CREAT));
        if (!input.valid())
            throw AppError(CreateFileFailure("input", inputFile) + contextText);
    } else {
        input = Fd(OpenFile(QStringLiteral("/dev/null"), O_RDONLY));
    }
    // The output and error files are never reached through a symbolic link:
    // one planted in their place makes the run fail instead of writing
    // wherever it points.
    const Fd output(OpenFile(outFile, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW));
    if (!output.valid())
        throw AppError(CreateFileFailure("output", outFile) + contextText);
    const Fd error(OpenFile(errFile, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW));
    if (!error.valid())
        throw AppError(CreateFileFailure("error", errFile) + contextText);

    const ResolvedCommand command = ResolveCommandLine(commandLine);
    const QString startFailure = QStringLiteral("Function failure\n\n") + contextText;
    if (command.program.isEmpty())
        throw AppError(startFailure);

    std::vector<QByteArray> argBytes;
    argBytes.reserve(command.arguments.size() + 1);
    argBytes.push_back(QFile::encodeName(command.program));
    for (const QString& arg : command.arguments)
        argBytes.push_back(QFile::encodeName(arg));
    std::vector<char*> argv;
    argv.reserve(argBytes.size() + 1);
    for (QByteArray& arg : argBytes)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    SpawnSetup setup;
    const bool actionsReady = (!input.valid() || setup.Dup(input.get(), STDIN_FILENO)) &&
                              setup.Dup(output.get(), STDOUT_FILENO) &&
                              setup.Dup(error.get(), STDERR_FILENO) && setup.CloseOthers();
    if (!actionsReady)
        throw AppError(startFailure);

    pid_t pid = -1;
    // posix_spawn (not posix_spawnp): a program name without a folder is
    // looked for in the current directory, never along PATH.
    if (posix_spawn(&pid, argv[0], setup.actions(), nullptr, argv.data(), environ) != 0)
        throw AppError(startFailure);

    if (wait)
        WaitFor(pid);
    else
        std::thread([pid] { WaitFor(pid); }).detach();
    return true;
}
