// Lorvane for Windows: the application directory is the one that holds this
// executable; the program works from there, so relative ROM and snapshot
// directories mean the same to it as to the emulator it starts.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <string>

#include "main_window.h"
#include "wide_text.h"

namespace {

// The directory of the running executable, without a trailing separator.
std::wstring ApplicationDirectory() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

void Fatal(const std::wstring& text) { MessageBoxW(nullptr, text.c_str(), L"LVN", MB_OK | MB_ICONSTOP); }

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    // Twips become pixels at the screen's real resolution, not a scaled 96.
    SetProcessDPIAware();
    // The folder dialog and the picture decoder are COM objects of this thread.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);

    const std::wstring appDir = ApplicationDirectory();
    if (appDir.empty() || !SetCurrentDirectoryW(appDir.c_str())) {
        const DWORD err = GetLastError();
        wchar_t* reason = nullptr;
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, err, 0, reinterpret_cast<LPWSTR>(&reason), 0, nullptr);
        Fatal(L"The application directory " + appDir + L" cannot be entered: " + (reason ? reason : L""));
        if (reason) LocalFree(reason);
        return 1;
    }

    int exitCode = 0;
    {
        lorvane::win32::MainWindow window(lorvane::win32::Utf8(appDir));
        if (!window.Create(instance)) {
            Fatal(L"The main window cannot be created.");
            return 1;
        }
        window.Show(showCommand);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        exitCode = static_cast<int>(msg.wParam);
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return exitCode;
}
