// What the user does in the game list: choosing a row, double-clicking it,
// typing in the field above it (type-ahead), Enter.
#include <algorithm>

#include "form/main_form.h"

namespace lorvane::form {
namespace {

// Character codes of the keys the list's field handles itself.
constexpr std::int16_t kEnterKey = 13;
constexpr std::int16_t kEscapeKey = 27;
constexpr std::int16_t kBackspaceKey = 8;
constexpr std::int16_t kLastCharacterCode = 255;
constexpr unsigned char kFirstNonAsciiByte = 0x80;

}  // namespace

void MainForm::OnCharacterTyped(const std::string& character) {
    Handle([this, &character] {
        if (character.size() == 1 &&
            static_cast<unsigned char>(character[0]) < kFirstNonAsciiByte) {
            std::int16_t key = static_cast<std::int16_t>(character[0]);
            HandleListKey(key);
        } else {
            TypeAhead(character);
        }
    });
}

void MainForm::OnEnterPressed() {
    Handle([this] {
        std::int16_t key = kEnterKey;
        HandleListKey(key);
    });
}

void MainForm::OnGameChosen(int row) {
    Handle([this, row] {
        state_.gameList.Select(row);
        ShowSnapshotOfSelectedGame();
    });
}

void MainForm::OnGameActivated(int row) {
    Handle([this, row] {
        if (state_.gameList.SelectedIndex() != row) state_.gameList.Select(row);
        LaunchSelectedGame();
    });
}

// The field's own editing is taken as it is, without showing the state again:
// the view is in the middle of that edit.
void MainForm::OnEditChanged(std::string text, int selectionStart, int selectionLength) {
    ComboBox& list = state_.gameList;
    list.editText = std::move(text);
    list.selectionStart = selectionStart;
    list.selectionLength = selectionLength;
}

void MainForm::OnEmulatorNameEdited(std::string name) { state_.emulatorFileName = std::move(name); }

void MainForm::HandleListKey(std::int16_t& keyCode) {
    if (keyCode == kEnterKey) {
        LaunchSelectedGame();
        return;
    }
    if (keyCode == kEscapeKey || keyCode == kBackspaceKey || keyCode <= 0 ||
        keyCode > kLastCharacterCode)
        return;
    TypeAhead(std::string(1, static_cast<char>(keyCode)));
    keyCode = 0;
}

// The field's text up to its selection, with the typed text added, finds the
// first entry that begins with it; the rest of that entry is selected, so the
// next character replaces it. Without a match the field keeps what was typed.
void MainForm::TypeAhead(const std::string& typed) {
    ComboBox& list = state_.gameList;
    const std::size_t length = list.editText.size();
    const auto start =
        static_cast<std::size_t>(std::clamp(list.selectionStart, 0, static_cast<int>(length)));
    const std::string prefix =
        (list.selectionLength <= 0 ? list.editText : list.editText.substr(0, start)) + typed;

    if (list.SelectFirstStartingWith(prefix) >= 0) {
        list.selectionStart = static_cast<int>(prefix.size());
        list.selectionLength = static_cast<int>(list.editText.size() - prefix.size());
    } else {
        list.Select(-1);
        list.editText = prefix;
        list.selectionStart = static_cast<int>(prefix.size());
        list.selectionLength = 0;
    }
    ui_.StateChanged();
}

}  // namespace lorvane::form
