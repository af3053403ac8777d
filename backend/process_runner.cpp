#include "process_runner.h"

#include "app_error.h"
#include "command_line.h"
#include "form_wait.h"
#include "medium_descriptor.h"
#include "tool_command.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QProgressBar>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

extern char** environ;

namespace {

QString CreateFileFailure(const char* which, const QString& path)
{
    return QCoreApplication::translate(
               "ProcessRunner",
               "WinApi function CreateFile returned an invalid handle value\nfor the %1 "
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
    SpawnSetup()
    {
        actionsOk_ = posix_spawn_file_actions_init(&actions_) == 0;
        attrOk_ = posix_spawnattr_init(&attr_) == 0;
        ok_ = actionsOk_ && attrOk_;
    }
    ~SpawnSetup()
    {
        if (actionsOk_)
            posix_spawn_file_actions_destroy(&actions_);
        if (attrOk_)
            posix_spawnattr_destroy(&attr_);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    bool Dup(int fd, int target)
    {
        return ok_ && posix_spawn_file_actions_adddup2(&actions_, fd, target) == 0;
    }
    // Closes every descriptor from `first` on in the child.
    bool CloseOthers(int first)
    {
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
        return ok_ && posix_spawn_file_actions_addclosefrom_np(&actions_, first) == 0;
#else
        // Every descriptor this runner opens is close-on-exec already.
        (void)first;
        return ok_;
#endif
    }
    // The tool leads a process group of its own, so that stopping it also
    // stops whatever it started.
    bool OwnProcessGroup()
    {
        return ok_ && posix_spawnattr_setflags(&attr_, POSIX_SPAWN_SETPGROUP) == 0 &&
               posix_spawnattr_setpgroup(&attr_, 0) == 0;
    }
    const posix_spawn_file_actions_t* actions() const
    {
        return &actions_;
    }
    const posix_spawnattr_t* attributes() const
    {
        return &attr_;
    }

private:
    posix_spawn_file_actions_t actions_{};
    posix_spawnattr_t attr_{};
    bool actionsOk_ = false;
    bool attrOk_ = false;
    bool ok_ = false;
};

void WaitFor(pid_t pid)
{
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

// Reaps the tool when it has ended; true once it is gone.
bool Reaped(pid_t pid)
{
    int status = 0;
    pid_t result;
    do {
        result = ::waitpid(pid, &status, WNOHANG);
    } while (result < 0 && errno == EINTR);
    return result != 0; // the tool's pid, or ECHILD: nothing left to wait for
}

// A descriptor that becomes readable when the process ends; invalid where
// the kernel has none (before Linux 5.3).
int OpenPidFd(pid_t pid)
{
#ifdef SYS_pidfd_open
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
#else
    (void)pid;
    return -1;
#endif
}

std::atomic<int> g_runsWaitedFor{0}; // see ToolRunsWaitedFor

constexpr int kKillGraceMs = 2000; // from SIGTERM to SIGKILL
constexpr int kPollMs = 10;        // only without a pidfd

// Waits for the tool (pid, leader of its own process group) in a local event
// loop, so the windows repaint and timers run. Until a busy window is up the
// user's keys and clicks wait in the queue (no second command can start, and
// a shortcut typed during a fast run still arrives afterwards); a run that
// lasts longer than the busy window's delay shows one, which is modal and
// takes Escape and Cancel.
void WaitInEventLoop(pid_t pid, const QString& commandLine)
{
    const QString caption = ToolCommandScope::CurrentCaption();
    const int limitMs = ToolCommandScope::CurrentLimitMs();
    struct Counted
    {
        Counted() { ++g_runsWaitedFor; }
        ~Counted() { --g_runsWaitedFor; }
    } counted;

    QEventLoop loop;
    bool ended = false;
    std::optional<ToolRunStopped::Kind> stopped;
    auto checkEnded = [&] {
        if (!ended && Reaped(pid)) {
            ended = true;
            loop.exit();
        }
    };

    const Fd pidFd(OpenPidFd(pid));
    std::unique_ptr<QSocketNotifier> exitNotifier;
    QTimer poll;
    if (pidFd.valid()) {
        exitNotifier = std::make_unique<QSocketNotifier>(pidFd.get(), QSocketNotifier::Read);
        QObject::connect(exitNotifier.get(), &QSocketNotifier::activated, &loop, checkEnded);
    } else {
        QObject::connect(&poll, &QTimer::timeout, &loop, checkEnded);
        poll.start(kPollMs);
    }

    QTimer killTimer;
    killTimer.setSingleShot(true);
    QObject::connect(&killTimer, &QTimer::timeout, &loop, [pid] { ::kill(-pid, SIGKILL); });
    auto stop = [&](ToolRunStopped::Kind kind) {
        if (ended || stopped)
            return;
        stopped = kind;
        ::kill(-pid, SIGTERM);
        killTimer.start(kKillGraceMs);
    };

    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop,
                     [&] { stop(ToolRunStopped::Kind::TimedOut); });
    limit.start(limitMs);

    // Until a busy window is visible the user's input waits in the queue;
    // once one is, it is modal and its Escape and Cancel stop the run.
    QEventLoop::ProcessEventsFlags flags = QEventLoop::ExcludeUserInputEvents;
    auto watch = [&](TFormWait* window) {
        QObject::connect(window, &TFormWait::cancelRequested, &loop,
                         [&] { stop(ToolRunStopped::Kind::Cancelled); });
        flags = QEventLoop::AllEvents;
        loop.exit(); // and on, with the new flags
    };
    // A long command's busy window (shown, or about to be) serves this run
    // too: no second window opens.
    auto adopt = [&](TFormWait* window) {
        if (window->isVisible())
            watch(window);
        else
            QObject::connect(window, &TFormWait::becameVisible, &loop,
                             [&, window] { watch(window); });
    };
    QPointer<TFormWait> ownWindow; // a child of the active window, which may delete it first
    QTimer showWindow;
    if (TFormWait* commandWindow = TFormWait::Current()) {
        adopt(commandWindow);
    } else if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        showWindow.setSingleShot(true);
        QObject::connect(&showWindow, &QTimer::timeout, &loop, [&] {
            if (TFormWait* commandWindow = TFormWait::Current()) {
                adopt(commandWindow);
                return;
            }
            ownWindow = new TFormWait(nullptr, QApplication::activeWindow());
            ownWindow->ProgressBar1->setRange(0, 0); // no progress to show: a moving bar
            ownWindow->show();
            watch(ownWindow);
        });
        showWindow.start(TFormWait::kShowDelayMs);
    }

    checkEnded();
    while (!ended)
        loop.exec(flags);
    delete ownWindow.data();

    if (stopped) {
        // Whatever the tool started and left behind goes with it.
        ::kill(-pid, SIGKILL);
        throw ToolRunStopped(*stopped, caption.isEmpty() ? commandLine : caption, limitMs);
    }
}

// Runs without an event loop: outside the GUI thread, or before the
// application object exists.
bool CanWaitInEventLoop()
{
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

} // namespace

int ToolRunsWaitedFor()
{
    return g_runsWaitedFor;
}

bool ToolRunInProgress()
{
    return g_runsWaitedFor > 0;
}

bool RunRedirected(const QString& commandLine, const QString& inputFile, const QString& outFile,
                   const QString& errFile, const QString& contextText, bool wait, int mediumFd)
{
    const bool hasInput = !inputFile.isEmpty();
    if (hasInput && !QFileInfo::exists(inputFile)) {
        throw AppError(
            QCoreApplication::translate("ProcessRunner", "Input file * %1 *\ndoes not exist\n\n")
                .arg(inputFile) +
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
    const QString startFailure =
        QCoreApplication::translate("ProcessRunner", "Function failure\n\n") + contextText;
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

    // The passed medium becomes the tool's descriptor 3. A copy above 3
    // keeps dup2 from meeting a descriptor already in that place (where it
    // would leave close-on-exec set).
    Fd medium;
    if (mediumFd >= 0) {
        medium = Fd(::fcntl(mediumFd, F_DUPFD_CLOEXEC, kPassedMediumFd + 1));
        if (!medium.valid())
            throw AppError(startFailure);
    }

    SpawnSetup setup;
    const bool actionsReady = (!input.valid() || setup.Dup(input.get(), STDIN_FILENO)) &&
                              setup.Dup(output.get(), STDOUT_FILENO) &&
                              setup.Dup(error.get(), STDERR_FILENO) &&
                              (!medium.valid() || setup.Dup(medium.get(), kPassedMediumFd)) &&
                              setup.CloseOthers(medium.valid() ? kPassedMediumFd + 1 : 3) &&
                              setup.OwnProcessGroup();
    if (!actionsReady)
        throw AppError(startFailure);

    pid_t pid = -1;
    // posix_spawn (not posix_spawnp): a program name without a folder is
    // looked for in the current directory, never along PATH.
    if (posix_spawn(&pid, argv[0], setup.actions(), setup.attributes(), argv.data(), environ) != 0)
        throw AppError(startFailure);

    if (wait && CanWaitInEventLoop())
        WaitInEventLoop(pid, commandLine);
    else if (wait)
        WaitFor(pid);
    else
        std::thread([pid] { WaitFor(pid); }).detach();
    return true;
}
