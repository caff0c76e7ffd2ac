#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "platform/detached_start.h"
#include "platform/posix_file.h"

extern char** environ;

namespace lorvane::platform {
namespace {

using posix::AboveStdio;
using posix::CloseFd;

// The second fork runs in a copy of a possibly multithreaded process: _Fork
// skips the fork handlers that libraries may have registered.
pid_t ForkInChild() {
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
    return ::_Fork();
#else
    return ::fork();
#endif
}

// Between fork and exec the front end may have other threads: only
// async-signal-safe calls from here on.
[[noreturn]] void ReportAndExit(int statusFd, int err) {
    ssize_t n;
    do {
        n = ::write(statusFd, &err, sizeof err);
    } while (n < 0 && errno == EINTR);
    ::_exit(127);
}

[[noreturn]] void RunGrandchild(char* const* args, int nullFd, int statusFd) {
    ::setsid();
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    for (int sig = 1; sig < 32; ++sig) {
        if (sig != SIGKILL && sig != SIGSTOP) ::sigaction(sig, &dfl, nullptr);
    }
    if (::dup2(nullFd, 0) < 0) ReportAndExit(statusFd, errno);
    ::execve(args[0], args, environ);
    ReportAndExit(statusFd, errno);  // the status pipe closes on a successful exec
}

// What the double fork hands down, off 0, 1 and 2: /dev/null for the
// program's input, and a pipe on which a failed exec reports its errno (a
// successful exec closes it without a word). Closed when the start is over.
struct StartDescriptors {
    int nullFd = -1;
    int statusRead = -1;
    int statusWrite = -1;
    ~StartDescriptors() {
        CloseFd(nullFd);
        CloseFd(statusRead);
        CloseFd(statusWrite);
    }
};

// 0, or the errno of the descriptor that could not be had.
int OpenStartDescriptors(StartDescriptors& fds) {
    fds.nullFd = AboveStdio(::open("/dev/null", O_RDONLY | O_CLOEXEC));
    if (fds.nullFd < 0) return errno;
    int status[2];
    if (::pipe2(status, O_CLOEXEC) != 0) return errno;
    fds.statusRead = AboveStdio(status[0]);
    const int readErr = errno;
    fds.statusWrite = AboveStdio(status[1]);
    if (fds.statusRead < 0) return readErr;
    return fds.statusWrite < 0 ? errno : 0;
}

// 0 when the exec went through; otherwise the errno it reported.
int ReadExecStatus(int statusRead) {
    int err = 0;
    ssize_t n;
    do {
        n = ::read(statusRead, &err, sizeof err);
    } while (n < 0 && errno == EINTR);
    if (n == 0) return 0;
    return n == static_cast<ssize_t>(sizeof err) ? err : EIO;
}

}  // namespace

DetachedStartResult StartDetached(const CommandLine& argv) {
    if (argv.empty()) return {false, EINVAL};
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    StartDescriptors fds;
    if (const int err = OpenStartDescriptors(fds)) return {false, err};

    // Double fork: the middle process exits at once and is reaped here, so the
    // program ends up a child of init and never becomes our zombie.
    const pid_t middle = ::fork();
    if (middle == 0) {
        const pid_t pid = ForkInChild();
        if (pid < 0) ReportAndExit(fds.statusWrite, errno);
        if (pid > 0) ::_exit(0);
        RunGrandchild(args.data(), fds.nullFd, fds.statusWrite);
    }
    const int forkErr = errno;
    // Only the program may hold the write end now, so the read below ends with its exec.
    CloseFd(fds.statusWrite);
    CloseFd(fds.nullFd);
    if (middle < 0) return {false, forkErr};
    int status = 0;
    while (::waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }
    const int err = ReadExecStatus(fds.statusRead);
    return {err == 0, err};
}

}  // namespace lorvane::platform
