#pragma once
// The game list, simple style: an edit field above an always-open list.
// It shows the ComboBox of the window state and reports the user's actions.
#include <QWidget>

#include "form/combo_box.h"

namespace lorvane::ui::qt {

class ComboEdit;
class ComboListView;
class GameListModel;

class GameListWidget : public QWidget {
    Q_OBJECT
public:
    GameListWidget(const form::ComboBox& combo, QWidget* parent = nullptr);

    ComboEdit* Edit() const { return edit_; }
    ComboListView* List() const { return list_; }

    // Shows the entries, the edit text with its selection and the selected row
    // as the model holds them; emits nothing.
    void ShowState();

signals:
    // One character of printable text typed into the edit field.
    void characterTyped(const QString& character);
    void enterPressed();
    // An entry chosen by mouse or by an arrow or page key in the edit field.
    void entryChosen(int row);
    void entryDoubleClicked(int row);
    // The edit field's text or selection changed by the field's own handling
    // (positions in UTF-16 units).
    void editChanged(const QString& text, int selStart, int selLength, bool textChanged);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void OnTextTyped(const QString& text);
    void OnStep(int key);
    void OnEditChanged(bool textChanged);
    void OnCurrentChanged(const QModelIndex& current);
    int RowsPerPage() const;

    const form::ComboBox& combo_;
    ComboEdit* edit_;
    ComboListView* list_;
    GameListModel* model_;
    bool showing_ = false;  // set while the model's state is being shown
};

}  // namespace lorvane::ui::qt
