// Detached start of the desktop opener: a double fork, so the opener belongs to no one here
// and is reaped by the system, with a close-on-exec pipe that reports a failed exec back.
#include "platform/posix/PXPosixDocumentOpener.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/core/PXLog.h"
#include "engine/core/PXOpenDocument.h"

namespace {

constexpr const char* OpenerName = "xdg-open";
// Used when PATH is not set, as the shells do.
constexpr const char* DefaultPath = "/usr/local/bin:/usr/bin:/bin";

bool IsExecutableFile(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

// The first executable `name` along PATH, or "". Searched before forking: the child of a
// threaded process may only make async-signal-safe calls, which a PATH walk is not.
std::string FindInPath(const std::string& name)
{
    const char* variable = std::getenv("PATH");
    const std::string path = variable != nullptr ? variable : DefaultPath;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find(':', start);
        if (end == std::string::npos) {
            end = path.size();
        }
        std::string folder = path.substr(start, end - start);
        if (folder.empty()) {
            folder = ".";
        }
        const std::string candidate = folder + "/" + name;
        if (IsExecutableFile(candidate)) {
            return candidate;
        }
        start = end + 1;
    }
    return "";
}

void WriteErrno(int fd, int error)
{
    ssize_t written;
    do {
        written = write(fd, &error, sizeof(error));
    } while (written < 0 && errno == EINTR);
}

// Runs in the grandchild: async-signal-safe calls only.
[[noreturn]] void ExecOpener(const char* program, char* const argv[], int reportFd)
{
    const int null = open("/dev/null", O_RDWR);
    if (null >= 0) {
        dup2(null, STDIN_FILENO);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        if (null > STDERR_FILENO) {
            close(null);
        }
    }
    // Signals blocked or ignored by the game's threads must not carry over to the opener.
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    signal(SIGPIPE, SIG_DFL);
    execv(program, argv);
    WriteErrno(reportFd, errno);
    _exit(127);
}

// Runs in the intermediate child: leaves the game's session, forks the opener and exits at
// once, so the opener is handed to the system's reaper.
[[noreturn]] void DetachAndExec(const char* program, char* const argv[], int reportFd)
{
    setsid();
    const pid_t grandchild = fork();
    if (grandchild < 0) {
        WriteErrno(reportFd, errno);
        _exit(1);
    }
    if (grandchild == 0) {
        ExecOpener(program, argv, reportFd);
    }
    _exit(0);
}

// The errno a child reported, or 0 when the pipe closed without a word (the exec worked).
int ReadReport(int fd)
{
    int error = 0;
    ssize_t got;
    do {
        got = read(fd, &error, sizeof(error));
    } while (got < 0 && errno == EINTR);
    return got == static_cast<ssize_t>(sizeof(error)) ? error : 0;
}

void Reap(pid_t child)
{
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
}

}  // namespace

int PXPosixOpenDocument(const std::string& target)
{
    const std::string program = FindInPath(OpenerName);
    if (program.empty()) {
        LogF("OpenDocument: %s not found in PATH; cannot open %s", OpenerName, target.c_str());
        return 0;
    }
    // Everything the children need is built here, before the fork.
    std::vector<char> programArg(program.begin(), program.end());
    programArg.push_back('\0');
    std::vector<char> targetArg(target.begin(), target.end());
    targetArg.push_back('\0');
    char* const argv[] = {programArg.data(), targetArg.data(), nullptr};

    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) {
        LogF("OpenDocument: cannot start %s (%s)", OpenerName, std::strerror(errno));
        return 0;
    }
    const pid_t child = fork();
    if (child < 0) {
        const int error = errno;
        close(report[0]);
        close(report[1]);
        LogF("OpenDocument: cannot start %s (%s)", OpenerName, std::strerror(error));
        return 0;
    }
    if (child == 0) {
        close(report[0]);
        DetachAndExec(programArg.data(), argv, report[1]);
    }
    close(report[1]);
    // Returns as soon as the opener has been exec'd (the pipe closes) or has failed to be.
    const int error = ReadReport(report[0]);
    close(report[0]);
    Reap(child);
    if (error != 0) {
        LogF("OpenDocument: cannot start %s for %s (%s)", OpenerName, target.c_str(), std::strerror(error));
        return 0;
    }
    return 1;
}

std::string PXPosixProgramFolder()
{
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) {
            return "";
        }
        if (static_cast<size_t>(length) < buffer.size()) {
            const std::string path(buffer.data(), static_cast<size_t>(length));
            const size_t slash = path.rfind('/');
            return slash == std::string::npos ? "" : path.substr(0, slash + 1);
        }
        if (buffer.size() >= 65536) {
            return "";
        }
        buffer.resize(buffer.size() * 2);
    }
}

void PXPosixInstallDocumentOpener()
{
    SetProgramFolder(PXPosixProgramFolder());
    SetDocumentHandler(PXPosixOpenDocument);
}
