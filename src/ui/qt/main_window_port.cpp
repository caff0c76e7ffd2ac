// MainWindow as the screen of the handlers: dialogs, the picture pane, the
// event pump and the pointer.
#include <QApplication>
#include <QCoreApplication>

#include "platform/detached_start.h"
#include "ui/qt/dialogs.h"
#include "ui/qt/main_window.h"
#include "ui/qt/picture_pane.h"
#include "ui/qt/text_positions.h"

namespace lorvane::ui::qt {

void MainWindow::ShowMessage(const std::string& text, const std::string& title,
                             form::MessageIcon icon) {
    ShowMessageBox(this, text, title, icon);
}

std::string MainWindow::AskForText(const std::string& prompt, const std::string& title,
                                   const std::string& preset) {
    return AskText(this, prompt, title, preset);
}

std::string MainWindow::ChooseFolder(const std::string& instruction) {
    return qt::ChooseFolder(this, instruction);
}

void MainWindow::ShowSnapshot(const std::string& page) { snapshotPane_->Navigate(ToQString(page)); }

bool MainWindow::PaneCanShowPictures() { return PicturePane::CanShowPictures(); }

platform::DetachedStartResult MainWindow::StartDetached(const platform::CommandLine& argv) {
    return platform::StartDetached(argv);
}

void MainWindow::ProcessPendingEvents() { QCoreApplication::processEvents(); }

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

void MainWindow::OpenProgress(const std::string& title, int total, const std::string& label) {
    progress_.Open(this, title, total, label);
}

void MainWindow::UpdateProgress(int done, int total, const std::string& label) {
    progress_.Update(done, total, label);
}

bool MainWindow::ProgressCancelled() { return progress_.Cancelled(); }

void MainWindow::CloseProgress() { progress_.Close(); }

void MainWindow::StateChanged() { ShowState(); }

void MainWindow::CloseWindow() { close(); }

}  // namespace lorvane::ui::qt
