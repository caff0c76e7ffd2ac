#include "ui/win32/com_on_demand.h"

namespace lorvane::ui::win32 {
namespace {

// A system library from the system folder only, so that no file beside the
// program can stand in for it.
HMODULE LoadSystemLibrary(const wchar_t* name) {
    HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Windows 7 without its 2011 loader update does not know the flag; these
    // libraries are among the system's known ones, which it never looks for
    // elsewhere.
    if (!module && GetLastError() == ERROR_INVALID_PARAMETER) module = LoadLibraryW(name);
    return module;
}

template <typename Function>
Function Find(HMODULE module, const char* name) {
    if (!module) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

struct Ole {
    using Initialize = HRESULT(WINAPI*)(void*, DWORD);
    using Uninitialize = void(WINAPI*)();
    using CreateInstance = HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**);
    using TaskMemFree = void(WINAPI*)(void*);

    Ole() {
        const HMODULE ole32 = LoadSystemLibrary(L"ole32.dll");
        initialize = Find<Initialize>(ole32, "CoInitializeEx");
        uninitialize = Find<Uninitialize>(ole32, "CoUninitialize");
        createInstance = Find<CreateInstance>(ole32, "CoCreateInstance");
        taskMemFree = Find<TaskMemFree>(ole32, "CoTaskMemFree");
        ready = initialize && uninitialize && createInstance && taskMemFree;
    }

    Initialize initialize = nullptr;
    Uninitialize uninitialize = nullptr;
    CreateInstance createInstance = nullptr;
    TaskMemFree taskMemFree = nullptr;
    bool ready = false;
};

// Made on first use and kept: the library stays loaded for the program's life.
Ole& OleLibrary() {
    static Ole ole;
    return ole;
}

struct Shell {
    using Browse = PIDLIST_ABSOLUTE(WINAPI*)(BROWSEINFOW*);
    using PathOf = BOOL(WINAPI*)(PCIDLIST_ABSOLUTE, wchar_t*);

    Shell() {
        const HMODULE shell32 = LoadSystemLibrary(L"shell32.dll");
        browse = Find<Browse>(shell32, "SHBrowseForFolderW");
        pathOf = Find<PathOf>(shell32, "SHGetPathFromIDListW");
    }

    Browse browse = nullptr;
    PathOf pathOf = nullptr;
};

Shell& ShellLibrary() {
    static Shell shell;
    return shell;
}

enum class ComState { NotStarted, Started, Failed };
ComState g_comState = ComState::NotStarted;

}  // namespace

bool ComReady() {
    if (g_comState == ComState::NotStarted) {
        Ole& ole = OleLibrary();
        const bool started =
            ole.ready &&
            SUCCEEDED(ole.initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
        g_comState = started ? ComState::Started : ComState::Failed;
    }
    return g_comState == ComState::Started;
}

void EndCom() {
    if (g_comState == ComState::Started) OleLibrary().uninitialize();
    g_comState = ComState::NotStarted;
}

HRESULT CreateComObject(REFCLSID clsid, REFIID iid, void** object) {
    if (!ComReady()) return E_FAIL;
    return OleLibrary().createInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, object);
}

void FreeComMemory(void* memory) {
    if (memory && OleLibrary().ready) OleLibrary().taskMemFree(memory);
}

PIDLIST_ABSOLUTE BrowseForFolder(BROWSEINFOW& info) {
    if (!ComReady() || !ShellLibrary().browse) return nullptr;
    return ShellLibrary().browse(&info);
}

bool PathFromIdList(PCIDLIST_ABSOLUTE idList, wchar_t* path) {
    return ShellLibrary().pathOf && ShellLibrary().pathOf(idList, path);
}

}  // namespace lorvane::ui::win32
