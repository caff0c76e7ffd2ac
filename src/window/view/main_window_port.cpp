// MainWindow as the screen of the handlers: dialogs, the picture pane, the
// event pump and the pointer.
#include <QApplication>
#include <QCoreApplication>

#include "detached_start.h"
#include "dialogs.h"
#include "main_window.h"
#include "picture_pane.h"
#include "text_positions.h"

namespace lorvane {

void MainWindow::MsgBox(const std::string& text, const std::string& title, MsgIcon icon) {
    ShowMessageBox(this, text, title, icon);
}

std::string MainWindow::InputBox(const std::string& prompt, const std::string& title, const std::string& preset) {
    return AskText(this, prompt, title, preset);
}

std::string MainWindow::BrowseForFolder(const std::string& instruction) { return ChooseFolder(this, instruction); }

void MainWindow::Navigate(const std::string& target) { pane_->Navigate(ToQString(target)); }

bool MainWindow::PaneCanShowPictures() { return PicturePane::CanShowPictures(); }

DetachedStartResult MainWindow::StartDetached(const CommandLine& argv) { return ::lorvane::StartDetached(argv); }

void MainWindow::DoEvents() { QCoreApplication::processEvents(); }

void MainWindow::SetBusyPointer(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void MainWindow::Repaint() {
    ShowState();
    repaint();
}

void MainWindow::ProgressOpen(const std::string& title, int total) { progress_.Open(this, title, total); }

void MainWindow::ProgressUpdate(int done, int total, const std::string& current) {
    progress_.Update(done, total, current);
}

bool MainWindow::ProgressCancelled() { return progress_.Cancelled(); }

void MainWindow::ProgressClose() { progress_.Close(); }

void MainWindow::StateChanged() { ShowState(); }

void MainWindow::CloseWindow() { close(); }

}  // namespace lorvane
