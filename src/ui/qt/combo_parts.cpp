#include "ui/qt/combo_parts.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace lorvane::ui::qt {
namespace {

bool IsTypedText(const QKeyEvent* event) {
    const QString text = event->text();
    if (text.isEmpty()) return false;
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    for (const QChar c : text) {
        if (!c.isPrint() && !c.isSurrogate()) return false;
    }
    return true;
}

}  // namespace

void ComboEdit::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            emit enterPressed();
            return;
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            if (!(event->modifiers() & ~Qt::KeypadModifier)) {
                emit stepPressed(event->key());
                return;
            }
            break;
        case Qt::Key_Escape:
        case Qt::Key_Backspace:
            QLineEdit::keyPressEvent(event);
            return;
        default:
            break;
    }
    if (IsTypedText(event)) {
        emit textTyped(event->text());
        return;
    }
    QLineEdit::keyPressEvent(event);
}

// Composed characters arrive here instead of as key presses.
void ComboEdit::inputMethodEvent(QInputMethodEvent* event) {
    const QString committed = event->commitString();
    if (committed.isEmpty()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent withoutCommit(event->preeditString(), event->attributes());
    QLineEdit::inputMethodEvent(&withoutCommit);
    emit textTyped(committed);
}

int ComboListView::RowAt(const QMouseEvent* event) const {
    const QModelIndex index = indexAt(event->position().toPoint());
    return index.isValid() ? index.row() : -1;
}

void ComboListView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    dragging_ = true;
    const int row = RowAt(event);
    if (row >= 0) emit rowPressed(row);
}

void ComboListView::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_ || !(event->buttons() & Qt::LeftButton)) {
        QListView::mouseMoveEvent(event);
        return;
    }
    const int row = RowAt(event);
    if (row >= 0 && row != currentIndex().row()) emit rowPressed(row);
}

void ComboListView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) dragging_ = false;
}

void ComboListView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const int row = RowAt(event);
    if (row >= 0) emit rowDoubleClicked(row);
}

}  // namespace lorvane::ui::qt
