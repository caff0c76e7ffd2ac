#pragma once
// The game list on Windows: a real simple-style combo box (an edit field above an
// always-open list). It shows the ComboBox of the window state and reports
// what the user did; the handlers decide what it shows next.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "form/combo_box.h"

namespace lorvane::ui::win32 {

class GameListControl {
public:
    struct Events {
        std::function<void(const std::string& utf8)> characterTyped;  // one printable character
        std::function<void()> enterPressed;
        std::function<void(int row)> entryChosen;  // by mouse or arrow key
        std::function<void(int row)> entryDoubleClicked;
        // The field's own handling changed its text or selection (UTF-16 positions).
        std::function<void(const std::wstring& text, int selStart, int selLength)> editChanged;
        std::function<void(bool backwards)> tabPressed;
    };

    GameListControl() = default;
    ~GameListControl();
    GameListControl(const GameListControl&) = delete;
    GameListControl& operator=(const GameListControl&) = delete;

    bool Create(HWND parent, int id, const RECT& bounds, HFONT font, Events events);
    HWND Handle() const { return combo_; }
    HWND Edit() const { return edit_; }
    HWND List() const { return list_; }

    // Shows the entries (reloaded only when they changed), the edit text with
    // its selection and the selected row as the model holds them.
    void ShowState(const form::ComboBox& model);

    // The parent's WM_COMMAND from this control.
    void OnNotify(WORD code);

    // Milliseconds the last reload of the entries took.
    double LastFillMs() const { return lastFillMs_; }

    // Replaces every entry with the model's, in the model's order.
    void Fill(const form::ComboBox& model);

private:
    static LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                     DWORD_PTR self);
    LRESULT OnEditMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    void ReportEdit();

    HWND combo_ = nullptr;
    HWND edit_ = nullptr;
    HWND list_ = nullptr;
    Events events_;
    std::uint64_t shownRevision_ = ~std::uint64_t{0};
    bool showing_ = false;
    wchar_t highSurrogate_ = 0;
    double lastFillMs_ = 0;
};

}  // namespace lorvane::ui::win32
