#include "ui/qt/progress_window.h"

#include <QProgressDialog>
#include <algorithm>

#include "ui/qt/dialogs.h"
#include "ui/qt/text_positions.h"

namespace lorvane::ui::qt {

void ProgressWindow::Open(QWidget* owner, const std::string& title, int total,
                          const std::string& label) {
    Close();
    dialog_ = new QProgressDialog(owner);
    dialog_->setWindowModality(Qt::WindowModal);
    dialog_->setWindowTitle(ToQString(title));
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    dialog_->setMinimumDuration(0);
    dialog_->setRange(0, std::max(total, 0));
    dialog_->setCancelButtonText(QStringLiteral("Cancel"));
    dialog_->setLabelText(DialogText(label));
    dialog_->setValue(0);
    dialog_->show();
}

void ProgressWindow::Update(int done, int total, const std::string& label) {
    if (!dialog_) return;
    dialog_->setMaximum(std::max(total, 0));
    dialog_->setLabelText(DialogText(label));
    dialog_->setValue(std::clamp(done, 0, std::max(total, 0)));
}

bool ProgressWindow::Cancelled() const { return dialog_ && dialog_->wasCanceled(); }

void ProgressWindow::Close() {
    if (!dialog_) return;
    dialog_->close();
    delete dialog_;
}

}  // namespace lorvane::ui::qt
