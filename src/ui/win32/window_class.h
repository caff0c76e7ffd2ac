#pragma once
// The window classes of the program's own windows, registered the first time
// one of them is made.
#include <windows.h>

namespace lorvane::ui::win32 {

// Registers a class of this program's module with an arrow pointer, unless it
// is registered already; false when it cannot be.
bool RegisterWindowClassOnce(const wchar_t* name, WNDPROC windowProc, HBRUSH background);

}  // namespace lorvane::ui::win32
