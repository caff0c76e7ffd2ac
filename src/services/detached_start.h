#pragma once
#include "command_capture.h"

namespace lorvane {

struct DetachedStartResult {
    bool started = false;
    int startErrno = 0;
};

// Starts the program in a session of its own and does not wait for it; no
// zombie is left behind. Its standard input is /dev/null.
DetachedStartResult StartDetached(const CommandLine& argv);

}  // namespace lorvane
