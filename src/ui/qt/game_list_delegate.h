#pragma once
// Paints one game list entry: its text on one line, highlighted when selected.
// The style's general item painting lays every row out as a paragraph and asks
// the model for a dozen roles; a list of plain one-line texts needs neither,
// and each type-ahead key repaints the visible rows.
#include <QStyledItemDelegate>

namespace lorvane::ui::qt {

class GameListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

}  // namespace lorvane::ui::qt
