#pragma once
// The progress window of a long task, modal over the main window: a bar, a
// label and a Cancel button.
#include <QPointer>
#include <string>

class QProgressDialog;
class QWidget;

namespace lorvane::ui::qt {

class ProgressWindow {
public:
    void Open(QWidget* owner, const std::string& title, int total, const std::string& label);
    void Update(int done, int total, const std::string& label);
    bool Cancelled() const;
    void Close();

private:
    QPointer<QProgressDialog> dialog_;
};

}  // namespace lorvane::ui::qt
