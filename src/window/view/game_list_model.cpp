#include "game_list_model.h"

#include "text_positions.h"

namespace lorvane {

GameListModel::GameListModel(const ComboBox& combo, QObject* parent)
    : QAbstractListModel(parent), combo_(combo), revision_(combo.EntriesRevision()), rows_(combo.ListCount()) {}

int GameListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

QVariant GameListModel::data(const QModelIndex& index, int role) const {
    // The entries may change (inside a handler) before the view is told; a row
    // beyond them is left empty until the reset.
    if (!index.isValid() || index.row() >= combo_.ListCount()) return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) return ToQString(combo_.List(index.row()));
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
    rows_ = combo_.ListCount();
    endResetModel();
    return true;
}

}  // namespace lorvane
