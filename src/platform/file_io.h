#pragma once
// Reading whole files, and replacing a file without ever leaving half of it:
// the new content goes to a temporary file in the same directory, is flushed to
// disk, and is renamed over the old one. On failure the old file is untouched
// and the temporary file is removed.
#include <string>

#include "util/failure.h"

namespace lorvane::platform {

// Throws Failure (53 not found, 70 permission denied, 75 a directory, ...).
std::string ReadWholeFile(const std::string& path);

// A seam for fault-injection tests: when set, called before a file is read and
// may return an errno to fail the read (root reads past any mode bits).
using ReadFaultHook = int (*)(const std::string& path);
void SetReadFaultHook(ReadFaultHook hook);

// Throws Failure; the previous file at path survives any failure.
void WriteFileAtomically(const std::string& path, const std::string& content);

// A seam for fault-injection tests: when set, called at each step of an atomic
// write ("open", "write", "sync", "rename") and may return an errno to fail it.
using WriteFaultHook = int (*)(const char* step, const std::string& path);
void SetWriteFaultHook(WriteFaultHook hook);

}  // namespace lorvane::platform
