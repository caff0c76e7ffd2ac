#include "ui/qt/game_list_widget.h"

#include <QItemSelectionModel>
#include <algorithm>

#include "ui/qt/combo_parts.h"
#include "ui/qt/game_list_delegate.h"
#include "ui/qt/game_list_model.h"
#include "ui/qt/text_positions.h"

namespace lorvane::ui::qt {

GameListWidget::GameListWidget(const form::ComboBox& combo, QWidget* parent)
    : QWidget(parent),
      combo_(combo),
      edit_(new ComboEdit(this)),
      list_(new ComboListView(this)),
      model_(new GameListModel(combo, this)) {
    QPalette white = palette();
    white.setColor(QPalette::Base, Qt::white);
    edit_->setPalette(white);
    list_->setPalette(white);

    list_->setModel(model_);
    list_->setItemDelegate(new GameListDelegate(list_));
    list_->setUniformItemSizes(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setTextElideMode(Qt::ElideNone);
    // The keyboard stays in the edit field, as in a simple combo box.
    list_->setFocusPolicy(Qt::NoFocus);
    setFocusProxy(edit_);

    edit_->setAccessibleName(QStringLiteral("Game list"));
    list_->setAccessibleName(QStringLiteral("Games"));

    connect(edit_, &ComboEdit::textTyped, this, &GameListWidget::OnTextTyped);
    connect(edit_, &ComboEdit::enterPressed, this, &GameListWidget::enterPressed);
    connect(edit_, &ComboEdit::stepPressed, this, &GameListWidget::OnStep);
    connect(edit_, &QLineEdit::textEdited, this, [this] { OnEditChanged(true); });
    connect(edit_, &QLineEdit::cursorPositionChanged, this, [this] { OnEditChanged(false); });
    connect(edit_, &QLineEdit::selectionChanged, this, [this] { OnEditChanged(false); });

    connect(list_, &ComboListView::rowPressed, this, [this](int row) {
        edit_->setFocus(Qt::MouseFocusReason);
        emit entryChosen(row);
    });
    connect(list_, &ComboListView::rowDoubleClicked, this, &GameListWidget::entryDoubleClicked);
    // Selections made other than by mouse or keyboard (assistive tools).
    connect(list_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &GameListWidget::OnCurrentChanged);
}

void GameListWidget::resizeEvent(QResizeEvent*) {
    const int editHeight = std::min(edit_->sizeHint().height(), height());
    edit_->setGeometry(0, 0, width(), editHeight);
    list_->setGeometry(0, editHeight, width(), height() - editHeight);
}

void GameListWidget::ShowState() {
    showing_ = true;
    const bool reset = model_->Refresh();

    const QString text = ToQString(combo_.editText);
    if (edit_->text() != text) edit_->setText(text);
    const int start = EditPosFromBytes(combo_.editText, combo_.selectionStart);
    const int length = EditPosFromBytes(combo_.editText, combo_.selectionStart +
                                                             std::max(combo_.selectionLength, 0)) -
                       start;
    if (length > 0) {
        if (edit_->selectionStart() != start || edit_->selectionLength() != length)
            edit_->setSelection(start, length);
    } else if (edit_->hasSelectedText() || edit_->cursorPosition() != start) {
        edit_->setCursorPosition(start);
    }

    const int row = combo_.SelectedIndex();
    QItemSelectionModel* selection = list_->selectionModel();
    const QModelIndex current = list_->currentIndex();
    const bool shown = row < 0 ? !current.isValid() && !selection->hasSelection()
                               : current.row() == row && selection->isSelected(current);
    if (reset || !shown) {
        if (row >= 0) {
            const QModelIndex index = model_->index(row);
            selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
            list_->scrollTo(index, QAbstractItemView::EnsureVisible);
        } else {
            selection->clear();
        }
    }
    showing_ = false;
}

void GameListWidget::OnTextTyped(const QString& text) {
    // One character at a time, a surrogate pair counting as one.
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype n = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        emit characterTyped(text.mid(i, n));
        i += n;
    }
}

int GameListWidget::RowsPerPage() const {
    const int rowHeight = list_->sizeHintForRow(0);
    if (rowHeight <= 0) return 1;
    return std::max(1, list_->viewport()->height() / rowHeight - 1);
}

// The arrow and page keys of a simple combo box: from no selection they choose
// the first entry; they stop at either end.
void GameListWidget::OnStep(int key) {
    const int count = combo_.Count();
    if (count == 0) return;
    const int current = combo_.SelectedIndex();
    int step = 0;
    switch (key) {
        case Qt::Key_Up:
            step = -1;
            break;
        case Qt::Key_Down:
            step = 1;
            break;
        case Qt::Key_PageUp:
            step = -RowsPerPage();
            break;
        case Qt::Key_PageDown:
            step = RowsPerPage();
            break;
        default:
            return;
    }
    const int row = current < 0 ? 0 : std::clamp(current + step, 0, count - 1);
    if (row != current) emit entryChosen(row);
}

void GameListWidget::OnEditChanged(bool textChanged) {
    if (showing_) return;
    const int start = edit_->hasSelectedText() ? edit_->selectionStart() : edit_->cursorPosition();
    emit editChanged(edit_->text(), start, edit_->selectionLength(), textChanged);
}

void GameListWidget::OnCurrentChanged(const QModelIndex& current) {
    if (showing_ || !current.isValid() || current.row() == combo_.SelectedIndex()) return;
    emit entryChosen(current.row());
}

}  // namespace lorvane::ui::qt
