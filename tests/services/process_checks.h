#pragma once
// Checks on the test process's own children.
#include <sys/wait.h>

#include <cerrno>

namespace lorvane::test {

// True when the process has no child at all, neither running nor a zombie.
inline bool NoChildLeft() {
    int status = 0;
    return ::waitpid(-1, &status, WNOHANG) == -1 && errno == ECHILD;
}

}  // namespace lorvane::test
