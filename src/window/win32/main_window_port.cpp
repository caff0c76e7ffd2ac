// MainWindow as the screen of the handlers: dialogs, the picture pane, the
// event pump and the pointer.
#include "detached_start.h"
#include "dialogs.h"
#include "main_window.h"

namespace lorvane::win32 {

void MainWindow::MsgBox(const std::string& text, const std::string& title, MsgIcon icon) {
    ShowMessageBox(Owner(), text, title, icon);
}

std::string MainWindow::InputBox(const std::string& prompt, const std::string& title, const std::string& preset) {
    return AskText(Owner(), prompt, title, preset);
}

std::string MainWindow::BrowseForFolder(const std::string& instruction) { return ChooseFolder(Owner(), instruction); }

void MainWindow::Navigate(const std::string& target) { pane_.Navigate(target); }

bool MainWindow::PaneCanShowPictures() { return PicturePane::CanShowPictures(); }

DetachedStartResult MainWindow::StartDetached(const CommandLine& argv) { return ::lorvane::StartDetached(argv); }

void MainWindow::DoEvents() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Left for the main loop, which ends the program.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void MainWindow::SetBusyPointer(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(busy ? IDC_WAIT : IDC_ARROW)));
}

void MainWindow::Repaint() {
    ShowState();
    if (Owner()) RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void MainWindow::ProgressOpen(const std::string& title, int total) { progress_.Open(Owner(), title, total); }

void MainWindow::ProgressUpdate(int done, int total, const std::string& current) {
    progress_.Update(done, total, current);
}

bool MainWindow::ProgressCancelled() { return progress_.Cancelled(); }

void MainWindow::ProgressClose() { progress_.Close(); }

void MainWindow::StateChanged() { ShowState(); }

void MainWindow::CloseWindow() {
    // Closed once the handler that asked for it has returned.
    closing_ = true;
    if (Owner()) PostMessageW(hwnd_, WM_CLOSE, 0, 0);
}

}  // namespace lorvane::win32
