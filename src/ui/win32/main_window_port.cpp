// MainWindow as the screen of the handlers: dialogs, the picture pane, the
// event pump and the pointer.
#include "platform/detached_start.h"
#include "ui/win32/dialogs.h"
#include "ui/win32/main_window.h"

namespace lorvane::ui::win32 {

void MainWindow::ShowMessage(const std::string& text, const std::string& title,
                             form::MessageIcon icon) {
    ShowMessageBox(Owner(), text, title, icon);
}

std::string MainWindow::AskForText(const std::string& prompt, const std::string& title,
                                   const std::string& preset) {
    return AskText(Owner(), prompt, title, preset);
}

std::string MainWindow::ChooseFolder(const std::string& instruction) {
    return win32::ChooseFolder(Owner(), instruction);
}

void MainWindow::ShowSnapshot(const std::string& page) { snapshotPane_.Navigate(page); }

bool MainWindow::PaneCanShowPictures() { return PicturePane::CanShowPictures(); }

platform::DetachedStartResult MainWindow::StartDetached(const platform::CommandLine& argv) {
    return platform::StartDetached(argv);
}

void MainWindow::ProcessPendingEvents() {
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
    if (Owner())
        RedrawWindow(hwnd_, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void MainWindow::OpenProgress(const std::string& title, int total, const std::string& label) {
    progress_.Open(Owner(), title, total, label);
}

void MainWindow::UpdateProgress(int done, int total, const std::string& label) {
    progress_.Update(done, total, label);
}

bool MainWindow::ProgressCancelled() { return progress_.Cancelled(); }

void MainWindow::CloseProgress() { progress_.Close(); }

void MainWindow::StateChanged() { ShowState(); }

void MainWindow::CloseWindow() {
    // Closed once the handler that asked for it has returned.
    closing_ = true;
    if (Owner()) PostMessageW(hwnd_, WM_CLOSE, 0, 0);
}

}  // namespace lorvane::ui::win32
