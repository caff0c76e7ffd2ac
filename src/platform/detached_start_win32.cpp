#include <windows.h>

#include "platform/detached_start.h"
#include "platform/win32_process.h"

namespace lorvane::platform {

DetachedStartResult StartDetached(const CommandLine& argv) {
    DetachedStartResult result;
    win32::ChildStart start;
    start.argv = &argv;
    // A process group of its own: a Ctrl+C meant for the front end's console
    // does not end the game. Nothing is inherited.
    start.flags = CREATE_NEW_PROCESS_GROUP;
    start.startup.dwFlags = STARTF_USESHOWWINDOW;
    start.startup.wShowWindow = SW_SHOWMAXIMIZED;
    PROCESS_INFORMATION pi{};
    const DWORD err = win32::StartChild(start, pi);
    if (err != 0) {
        result.startErrno = static_cast<int>(err);
        return result;
    }
    // The front end does not watch the game.
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    result.started = true;
    return result;
}

}  // namespace lorvane::platform
