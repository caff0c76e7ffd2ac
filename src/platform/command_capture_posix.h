#pragma once
// The POSIX capture's pipe, for the capture's own poll loop and its tests (which
// check who still holds the pipe); nothing else needs it.
#include "platform/command_capture.h"

namespace lorvane::platform {

struct ChildCaptureAccess {
    // The pipe's read end, -1 once closed or never opened.
    static int ReadFd(const ChildCapture& child);
};

}  // namespace lorvane::platform
