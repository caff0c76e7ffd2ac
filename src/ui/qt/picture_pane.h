#pragma once
// The snapshot pane. It shows a PNG picture given its path,
// scaled to fit, and nothing for "about:blank".
#include <QLabel>
#include <QString>

namespace lorvane::ui::qt {

class PicturePane : public QLabel {
    Q_OBJECT
public:
    explicit PicturePane(QWidget* parent = nullptr);

    // A picture file's path (relative paths against the current directory) or
    // "about:blank". A file that cannot be read leaves the pane empty.
    void Navigate(const QString& target);
    const QString& Page() const { return page_; }

    // Whether PNG pictures can be read at all on this system.
    static bool CanShowPictures();

private:
    QString page_;
};

}  // namespace lorvane::ui::qt
