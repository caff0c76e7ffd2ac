#pragma once
// The two halves of the simple-style game list. They report what the user did
// and change nothing themselves: the window state decides what they show.
#include <QLineEdit>
#include <QListView>

namespace lorvane::ui::qt {

// The edit field: printable text and Enter go to the type-ahead, the arrow and
// page keys move through the list; other keys keep the field's own handling.
class ComboEdit : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;

signals:
    void textTyped(const QString& text);
    void enterPressed();
    void stepPressed(int key);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
};

// The always-open list: a press or a drag over an entry chooses it, a double
// click on an entry activates it. Its selection is set from the window state.
class ComboListView : public QListView {
    Q_OBJECT
public:
    using QListView::QListView;

signals:
    void rowPressed(int row);
    void rowDoubleClicked(int row);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    int RowAt(const QMouseEvent* event) const;
    bool dragging_ = false;
};

}  // namespace lorvane::ui::qt
