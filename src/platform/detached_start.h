#pragma once
#include "platform/command_capture.h"

namespace lorvane::platform {

struct DetachedStartResult {
    bool started = false;
    int startErrno = 0;  // as CaptureResult's: DescribeStartError tells it
};

// Starts the program and does not wait for it; it inherits nothing. POSIX: in
// a session of its own, standard input /dev/null, no zombie left behind.
// Windows: its window shown maximized, in a process group of its own.
DetachedStartResult StartDetached(const CommandLine& argv);

}  // namespace lorvane::platform
