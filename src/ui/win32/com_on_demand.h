#pragma once
// COM and the shell's folder dialog, loaded when first needed rather than at
// start: the first screen needs neither, and under Wine loading them and the
// libraries they pull in is a good part of the start-up.
#include <windows.h>
#include <shlobj.h>

namespace lorvane::ui::win32 {

// COM on this thread (single-threaded apartment), initialised on the first
// call; false when it cannot be.
bool ComReady();
// Ends what ComReady started; for the end of the program, on the same thread.
void EndCom();

HRESULT CreateComObject(REFCLSID clsid, REFIID iid, void** object);
void FreeComMemory(void* memory);

// The shell's folder dialog; null when the user cancels or the shell is missing.
PIDLIST_ABSOLUTE BrowseForFolder(BROWSEINFOW& info);
bool PathFromIdList(PCIDLIST_ABSOLUTE idList, wchar_t* path);

}  // namespace lorvane::ui::win32
