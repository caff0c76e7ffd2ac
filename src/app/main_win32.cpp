// Lorvane for Windows: the application directory is the one that holds this
// executable; the program works from there, so relative ROM and snapshot
// directories mean the same to it as to the emulator it starts.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "platform/application_directory.h"
#include "platform/wide_text.h"
#include "ui/win32/com_on_demand.h"
#include "ui/win32/main_window.h"
#include "util/failure.h"

namespace {

void Fatal(const std::string& text) {
    MessageBoxW(nullptr, lorvane::platform::win32::Wide(text).c_str(), L"LVN", MB_OK | MB_ICONSTOP);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    // The manifest makes the program per-monitor DPI aware: twips become pixels
    // at each monitor's real resolution, never a bitmap stretched from 96.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);

    std::string appDir;
    try {
        appDir = lorvane::platform::ApplicationDirectory();
        lorvane::platform::EnterDirectory(appDir);
    } catch (const lorvane::util::Failure& f) {
        Fatal("The application directory " + appDir + " cannot be entered: " + f.Description());
        return 1;
    }

    int exitCode = 0;
    {
        lorvane::ui::win32::MainWindow window(appDir);
        if (!window.Create(instance)) {
            Fatal("The main window cannot be created: system error " +
                  std::to_string(GetLastError()) + ".");
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
    // The folder dialog and the picture decoder start COM on this thread when first used.
    lorvane::ui::win32::EndCom();
    return exitCode;
}
