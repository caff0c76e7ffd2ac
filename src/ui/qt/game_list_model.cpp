#include "ui/qt/game_list_model.h"

#include "ui/qt/text_positions.h"

namespace lorvane::ui::qt {

GameListModel::GameListModel(const form::ComboBox& combo, QObject* parent)
    : QAbstractListModel(parent),
      combo_(combo),
      revision_(combo.EntriesRevision()),
      rows_(combo.Count()) {}

int GameListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

QVariant GameListModel::data(const QModelIndex& index, int role) const {
    // The entries may change (inside a handler) before the view is told; a row
    // beyond them is left empty until the reset.
    if (!index.isValid() || index.row() >= combo_.Count()) return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return ToQString(combo_.Entry(index.row()));
    return {};
}

Qt::ItemFlags GameListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

bool GameListModel::Refresh() {
    if (revision_ == combo_.EntriesRevision()) return false;
    beginResetModel();
    revision_ = combo_.EntriesRevision();
    rows_ = combo_.Count();
    endResetModel();
    return true;
}

}  // namespace lorvane::ui::qt
