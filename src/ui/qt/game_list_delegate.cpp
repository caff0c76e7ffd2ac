#include "ui/qt/game_list_delegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

namespace lorvane::ui::qt {

void GameListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const QStyle::State state = option.state;
    const QPalette::ColorGroup group = !(state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (state & QStyle::State_Active) ? QPalette::Normal
                                                                        : QPalette::Inactive;
    const bool selected = state & QStyle::State_Selected;
    if (selected) painter->fillRect(option.rect, option.palette.brush(group, QPalette::Highlight));

    const QWidget* widget = option.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    // The same inset as the style's own item text.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    painter->save();
    painter->setFont(option.font);
    painter->setPen(
        option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(option.rect.adjusted(margin, 0, -margin, 0),
                      Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
}

}  // namespace lorvane::ui::qt
