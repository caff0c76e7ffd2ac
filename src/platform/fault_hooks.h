#pragma once
// Where the file routines of both systems ask a test's hook whether a step is
// to fail. Each returns 0 to let the step run, or the errno it is to fail with.
#include <string>

namespace lorvane::platform::fault {

int OnRead(const std::string& path);
int OnWrite(const char* step, const std::string& path);
int OnMove(const char* step, const std::string& path);

}  // namespace lorvane::platform::fault
