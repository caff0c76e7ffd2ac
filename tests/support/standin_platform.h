#pragma once
// What the stand-in emulator needs from the system it runs on. Paths and text
// are UTF-8; the output goes out as bytes, unchanged.
#include <string>
#include <vector>

namespace lorvane::standin {

bool ReadText(const std::string& path, std::string& out);
bool Exists(const std::string& path);
// One write per line, so that runs at the same time never mix their lines.
void AppendLine(const std::string& path, const std::string& line);
void WriteOut(const std::string& text);
void WriteErr(const std::string& text);
// Reads standard input to its end; the number of bytes it gave.
std::size_t ReadAllInput();
void SleepMs(long ms);
// The line .session records: "sid pid" (POSIX) or "pid" (Windows).
std::string SessionLine();
// Starts a process that keeps standard output open for 1 s, then prints
// "late\n" to it; false when it could not be started.
bool StartLateWriter(const std::string& self);
// Ends this process at once, as a crash would.
[[noreturn]] void EndAbruptly();
// The directory part of a path, "." when there is none.
std::string DirOf(const std::string& path);

// The stand-in itself: self is the path it was run by, args its arguments.
int Run(const std::string& self, const std::vector<std::string>& args);

}  // namespace lorvane::standin
