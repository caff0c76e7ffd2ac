#pragma once
// Checks on the test process's own children and standard input.
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>

namespace lorvane::test {

// True when the process has no child at all, neither running nor a zombie.
inline bool NoChildLeft() {
    int status = 0;
    return ::waitpid(-1, &status, WNOHANG) == -1 && errno == ECHILD;
}

inline int OpenDescriptorCount() {
    int n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator("/proc/self/fd")) ++n;
    return n;
}

// For its lifetime our standard input holds the given bytes, so that a child
// that wrongly inherited it would read them.
class StdinHolding {
public:
    explicit StdinHolding(const std::string& bytes) : saved_(::dup(0)) {
        int fds[2];
        if (::pipe(fds) != 0) return;
        [[maybe_unused]] const ssize_t written = ::write(fds[1], bytes.data(), bytes.size());
        ::close(fds[1]);
        ::dup2(fds[0], 0);
        ::close(fds[0]);
    }
    ~StdinHolding() {
        if (saved_ >= 0) {
            ::dup2(saved_, 0);
            ::close(saved_);
        } else {
            ::close(0);
        }
    }
    StdinHolding(const StdinHolding&) = delete;
    StdinHolding& operator=(const StdinHolding&) = delete;

private:
    int saved_;
};

}  // namespace lorvane::test
