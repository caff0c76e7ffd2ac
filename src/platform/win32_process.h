#pragma once
// What the capture and the detached start share on Windows: the command line
// the C runtime splits back into the same arguments, and the start of a child
// that inherits exactly the handles it is given.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/command_capture.h"

namespace lorvane::platform::win32 {

// One argument quoted so that the C runtime's parser gives it back unchanged.
std::wstring QuoteArgument(const std::wstring& arg);
// The program path (always quoted, as the runtime reads the first word
// differently) followed by the quoted arguments.
std::wstring BuildCommandLine(const std::vector<std::wstring>& argv);

struct ChildStart {
    const CommandLine* argv = nullptr;
    DWORD flags = 0;
    STARTUPINFOW startup{};
    std::vector<HANDLE> inherited;  // only these; none: nothing is inherited
};

// Starts the program named by argv[0] itself (no search along PATH, no
// default extension, no command interpreter). Returns 0 or the system error
// code; a batch file is refused with ERROR_BAD_EXE_FORMAT, since Windows would
// run it through cmd.exe and let the arguments act as commands. A start whose
// process was lost before it ran anything (ERROR_INTERNAL_ERROR) is made again,
// up to kStartAttempts starts in all.
DWORD StartChild(ChildStart& start, PROCESS_INFORMATION& process);

inline constexpr int kStartAttempts = 3;

// A test's hook may fail a start with a system error code instead of making
// the process (0 makes it); it is given the program and the attempt (1, 2, ...).
using StartFaultHook = DWORD (*)(const std::wstring& program, int attempt);
void SetStartFaultHook(StartFaultHook hook);

}  // namespace lorvane::platform::win32
