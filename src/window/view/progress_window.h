#pragma once
// The progress window of a long task, modal over the main window.
#include <QPointer>
#include <string>

class QProgressDialog;
class QWidget;

namespace lorvane {

class ProgressWindow {
public:
    void Open(QWidget* owner, const std::string& title, int total);
    void Update(int done, int total, const std::string& current);
    bool Cancelled() const;
    void Close();

private:
    QPointer<QProgressDialog> dialog_;
};

}  // namespace lorvane
