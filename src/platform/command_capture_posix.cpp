#include "platform/command_capture_posix.h"

#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/posix_file.h"
#include "util/failure.h"

extern char** environ;

namespace lorvane::platform {
namespace {

constexpr std::size_t kBlock = 64 * 1024;
// Reads per ReadAvailable call, so that one busy child cannot starve the others
// a caller polls beside it.
constexpr int kMaxBlocksPerCall = 16;
constexpr int kCapturePipeSize = 1 << 20;
constexpr long kDrainedPauseNs = 2'000'000;

using posix::AboveStdio;
using posix::CloseFd;

void RecordStatus(CaptureResult& r, int status) {
    if (WIFEXITED(status)) {
        r.exited = true;
        r.exitStatus = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        r.signaled = true;
        r.termSignal = WTERMSIG(status);
    }
}

void Reap(pid_t pid, CaptureResult& r) {
    int status = 0;
    pid_t got;
    do {
        got = ::waitpid(pid, &status, 0);
    } while (got < 0 && errno == EINTR);
    if (got == pid) RecordStatus(r, status);
}

// posix_spawn (glibc) reports a failed exec as its result, and runs nothing but
// the set-up below in the child, so it is safe in a multithreaded program.
int Spawn(const CommandLine& argv, int writeFd, bool toStdout, bool toStderr, pid_t& pid) {
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attr;
    int rc = posix_spawn_file_actions_init(&actions);
    if (rc != 0) return rc;
    rc = posix_spawnattr_init(&attr);
    if (rc != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return rc;
    }

    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    // Its own process group, so that Kill() reaches whatever it starts; a clean
    // signal state whatever the front end blocks or ignores.
    rc = posix_spawnattr_setflags(
        &attr, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    if (rc == 0) rc = posix_spawnattr_setpgroup(&attr, 0);
    if (rc == 0) rc = posix_spawnattr_setsigmask(&attr, &none);
    if (rc == 0) rc = posix_spawnattr_setsigdefault(&attr, &all);

    if (rc == 0) rc = posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (rc == 0)
        rc = toStdout ? posix_spawn_file_actions_adddup2(&actions, writeFd, 1)
                      : posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    if (rc == 0)
        rc = toStderr ? posix_spawn_file_actions_adddup2(&actions, writeFd, 2)
                      : posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);

    if (rc == 0) rc = posix_spawn(&pid, args[0], &actions, &attr, args.data(), environ);

    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&actions);
    return rc;
}

}  // namespace

struct ChildCapture::Native {
    pid_t pid = -1;
    int readFd = -1;
};

ChildCapture::NativePtr ChildCapture::MakeNative() { return NativePtr(new Native); }

void ChildCapture::NativeDeleter::operator()(Native* native) const noexcept { delete native; }

void ChildCapture::Reset() noexcept { Kill(); }

bool ChildCapture::Running() const { return native_ && native_->pid > 0; }

int ChildCaptureAccess::ReadFd(const ChildCapture& child) {
    return child.native_ ? child.native_->readFd : -1;
}

bool ChildCapture::Start(const CommandLine& argv, bool captureStdout, bool captureStderr) {
    if (!captureStdout && !captureStderr)
        throw util::Failure(util::ErrNo::InvalidArgument, "Invalid procedure call or argument");
    Reset();
    if (!native_) native_ = MakeNative();
    result_ = CaptureResult{};
    if (argv.empty()) {
        result_.startErrno = EINVAL;
        return false;
    }

    // Both ends close on exec: a capture started at the same time elsewhere
    // never inherits them, so it cannot keep this pipe open.
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        result_.startErrno = errno;
        return false;
    }
    int readFd = AboveStdio(fds[0]);
    int writeFd = AboveStdio(fds[1]);
    if (readFd < 0 || writeFd < 0 ||
        ::fcntl(readFd, F_SETFL, ::fcntl(readFd, F_GETFL) | O_NONBLOCK) != 0) {
        result_.startErrno = errno;
        CloseFd(readFd);
        CloseFd(writeFd);
        return false;
    }

    pid_t pid = -1;
    const int rc = Spawn(argv, writeFd, captureStdout, captureStderr, pid);
    // From here on only the child (and what it starts) holds the write side.
    CloseFd(writeFd);
    if (rc != 0) {
        result_.startErrno = rc;
        CloseFd(readFd);
        return false;
    }
    result_.started = true;
    native_->pid = pid;
    native_->readFd = readFd;
    return true;
}

bool ChildCapture::ReadAvailable() {
    if (!native_ || native_->readFd < 0) return false;
    int& readFd = native_->readFd;
    std::string& text = result_.text;
    for (int i = 0; i < kMaxBlocksPerCall; ++i) {
        const std::size_t old = text.size();
        text.resize(old + kBlock);
        const ssize_t n = ::read(readFd, text.data() + old, kBlock);
        text.resize(old + (n > 0 ? static_cast<std::size_t>(n) : 0));
        if (n > 0) continue;
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
        CloseFd(readFd);  // at its end (or broken): nothing more will come
        return false;
    }
    return true;
}

const CaptureResult& ChildCapture::Finish() {
    if (!native_) return result_;
    CloseFd(native_->readFd);
    if (native_->pid > 0) {
        Reap(native_->pid, result_);
        native_->pid = -1;
    }
    return result_;
}

void ChildCapture::Kill() {
    if (!native_) return;
    pid_t& pid = native_->pid;
    if (pid > 0) {
        // The child is not reaped yet, so its pid (and group id) cannot have
        // been reused. It is also signalled directly in case it left its group.
        ::kill(-pid, SIGKILL);
        ::kill(pid, SIGKILL);
        Reap(pid, result_);
        pid = -1;
    }
    CloseFd(native_->readFd);
}

std::string DescribeStartError(int startError) { return std::strerror(startError); }

std::string HowItEnded(const CaptureResult& r) {
    if (!r.started) return DescribeStartError(r.startErrno);
    if (r.signaled)
        return "killed by signal " + std::to_string(r.termSignal) + " (" +
               ::strsignal(r.termSignal) + ")";
    if (!r.exited) return "its end could not be learned";
    return "exit status " + std::to_string(r.exitStatus);
}

CaptureResult RunCapture(const CommandLine& argv, bool captureStdout, bool captureStderr) {
    ChildCapture child;
    if (!child.Start(argv, captureStdout, captureStderr)) return child.Result();
    // The emulator prints its listing in hundreds of thousands of small writes.
    // Waking for each would cost it more than the listing itself: a large pipe
    // and a short pause once it is drained let the writes gather into blocks.
    ::fcntl(ChildCaptureAccess::ReadFd(child), F_SETPIPE_SZ, kCapturePipeSize);
    const timespec pause{0, kDrainedPauseNs};
    for (;;) {
        pollfd p{ChildCaptureAccess::ReadFd(child), POLLIN, 0};
        const int n = ::poll(&p, 1, -1);
        if (n < 0 && errno != EINTR) break;
        if (!child.ReadAvailable()) break;
        ::nanosleep(&pause, nullptr);
    }
    child.Finish();
    std::string text = child.TakeText();
    CaptureResult result = child.Result();
    result.text = std::move(text);
    return result;
}

std::vector<bool> WaitForOutput(const std::vector<const ChildCapture*>& captures, int timeoutMs) {
    std::vector<pollfd> fds;
    fds.reserve(captures.size());
    for (const ChildCapture* c : captures)
        fds.push_back({c ? ChildCaptureAccess::ReadFd(*c) : -1, POLLIN, 0});
    std::vector<bool> ready(captures.size(), false);
    // An interrupted wait reports nothing ready; the caller simply waits again.
    if (::poll(fds.data(), fds.size(), timeoutMs) <= 0) return ready;
    for (std::size_t k = 0; k < fds.size(); ++k) ready[k] = fds[k].fd >= 0 && fds[k].revents != 0;
    return ready;
}

int ProcessorCount() {
    cpu_set_t cpus;
    CPU_ZERO(&cpus);
    if (::sched_getaffinity(0, sizeof cpus, &cpus) == 0 && CPU_COUNT(&cpus) > 0)
        return CPU_COUNT(&cpus);
    const long online = ::sysconf(_SC_NPROCESSORS_ONLN);
    return online > 0 ? static_cast<int>(online) : 1;
}

std::string CapturedText(const CommandLine& argv, bool captureStdout, bool captureStderr,
                         bool /*oemConvert*/) {
    return RunCapture(argv, captureStdout, captureStderr).text;
}

}  // namespace lorvane::platform
