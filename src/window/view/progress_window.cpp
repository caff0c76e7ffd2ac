#include "progress_window.h"

#include <QProgressDialog>
#include <algorithm>

#include "text_positions.h"

namespace lorvane {

void ProgressWindow::Open(QWidget* owner, const std::string& title, int total) {
    Close();
    dialog_ = new QProgressDialog(owner);
    dialog_->setWindowModality(Qt::WindowModal);
    dialog_->setWindowTitle(ToQString(title));
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    dialog_->setMinimumDuration(0);
    dialog_->setRange(0, std::max(total, 0));
    dialog_->setCancelButtonText(QStringLiteral("Cancel"));
    dialog_->setLabelText(QStringLiteral("0 of %1").arg(total));
    dialog_->setValue(0);
    dialog_->show();
}

void ProgressWindow::Update(int done, int total, const std::string& current) {
    if (!dialog_) return;
    dialog_->setMaximum(std::max(total, 0));
    dialog_->setLabelText(QStringLiteral("%1 of %2\n%3").arg(done).arg(total).arg(ToQString(current)));
    dialog_->setValue(std::clamp(done, 0, std::max(total, 0)));
}

bool ProgressWindow::Cancelled() const { return dialog_ && dialog_->wasCanceled(); }

void ProgressWindow::Close() {
    if (!dialog_) return;
    dialog_->close();
    delete dialog_;
}

}  // namespace lorvane
