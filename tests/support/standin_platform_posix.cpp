#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "support/standin_platform.h"

namespace lorvane::standin {
namespace {

void WriteAll(int fd, const std::string& s) {
    std::size_t done = 0;
    while (done < s.size()) {
        const ssize_t n = write(fd, s.data() + done, s.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return;
        }
        done += static_cast<std::size_t>(n);
    }
}

}  // namespace

bool ReadText(const std::string& path, std::string& out) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    char buf[65536];
    ssize_t n;
    while ((n = read(fd, buf, sizeof buf)) != 0) {
        if (n < 0) {
            if (errno == EINTR) continue;
            break;
        }
        out.append(buf, static_cast<std::size_t>(n));
    }
    close(fd);
    return true;
}

bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

void AppendLine(const std::string& path, const std::string& line) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return;
    WriteAll(fd, line + "\n");
    close(fd);
}

void WriteOut(const std::string& text) { WriteAll(1, text); }
void WriteErr(const std::string& text) { WriteAll(2, text); }

std::size_t ReadAllInput() {
    std::size_t total = 0;
    char buf[4096];
    for (;;) {
        const ssize_t n = read(0, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return total;
        total += static_cast<std::size_t>(n);
    }
}

void SleepMs(long ms) {
    timespec ts{ms / 1000, (ms % 1000) * 1000000L};
    while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
}

std::string SessionLine() { return std::to_string(getsid(0)) + " " + std::to_string(getpid()); }

bool StartLateWriter(const std::string&) {
    const pid_t pid = fork();
    if (pid == 0) {
        SleepMs(1000);
        WriteOut("late\n");
        _exit(0);
    }
    return pid >= 0;
}

void EndAbruptly() {
    kill(getpid(), SIGKILL);
    _exit(137);
}

std::string DirOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

}  // namespace lorvane::standin

int main(int argc, char** argv) {
    if (argc < 1 || argv[0] == nullptr) return 1;
    return lorvane::standin::Run(argv[0], std::vector<std::string>(argv + 1, argv + argc));
}
