#pragma once
// The game list's entries for a list view, read straight from the window
// state; the model resets only when the entries change, so a list of 45,000
// games costs nothing until rows are painted.
#include <QAbstractListModel>
#include <cstdint>

#include "form/combo_box.h"

namespace lorvane::ui::qt {

class GameListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit GameListModel(const form::ComboBox& combo, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Resets the model when the entries changed since the last call; true if so.
    bool Refresh();

private:
    const form::ComboBox& combo_;
    std::uint64_t revision_;
    int rows_;  // the count the view was last told
};

}  // namespace lorvane::ui::qt
