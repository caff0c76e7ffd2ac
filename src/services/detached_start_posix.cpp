#include "detached_start.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "posix_file.h"

extern char** environ;

namespace lorvane {
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

}  // namespace

DetachedStartResult StartDetached(const CommandLine& argv) {
    DetachedStartResult result;
    if (argv.empty()) {
        result.startErrno = EINVAL;
        return result;
    }
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    int nullFd = AboveStdio(::open("/dev/null", O_RDONLY | O_CLOEXEC));
    if (nullFd < 0) {
        result.startErrno = errno;
        return result;
    }
    int status[2];
    if (::pipe2(status, O_CLOEXEC) != 0) {
        result.startErrno = errno;
        CloseFd(nullFd);
        return result;
    }
    int statusRead = AboveStdio(status[0]);
    int statusWrite = AboveStdio(status[1]);
    if (statusRead < 0 || statusWrite < 0) {
        result.startErrno = errno;
        CloseFd(statusRead);
        CloseFd(statusWrite);
        CloseFd(nullFd);
        return result;
    }

    // Double fork: the middle process exits at once and is reaped here, so the
    // program ends up a child of init and never becomes our zombie.
    const pid_t middle = ::fork();
    if (middle == 0) {
        const pid_t pid = ForkInChild();
        if (pid < 0) ReportAndExit(statusWrite, errno);
        if (pid > 0) ::_exit(0);
        RunGrandchild(args.data(), nullFd, statusWrite);
    }
    const int forkErr = errno;
    CloseFd(statusWrite);
    CloseFd(nullFd);
    if (middle < 0) {
        result.startErrno = forkErr;
        CloseFd(statusRead);
        return result;
    }
    int st = 0;
    while (::waitpid(middle, &st, 0) < 0 && errno == EINTR) {
    }

    // Nothing on the status pipe means the exec went through.
    int err = 0;
    ssize_t n;
    do {
        n = ::read(statusRead, &err, sizeof err);
    } while (n < 0 && errno == EINTR);
    CloseFd(statusRead);
    if (n == 0) {
        result.started = true;
    } else {
        result.startErrno = n == static_cast<ssize_t>(sizeof err) ? err : EIO;
    }
    return result;
}

}  // namespace lorvane
