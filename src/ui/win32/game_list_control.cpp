#include "ui/win32/game_list_control.h"

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <utility>

#include "ui/win32/text_positions.h"

namespace lorvane::ui::win32 {
namespace {

std::wstring WindowText(HWND hwnd) {
    const int n = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<std::size_t>(std::max(n, 0)) + 1, L'\0');
    const int got = GetWindowTextW(hwnd, text.data(), n + 1);
    text.resize(static_cast<std::size_t>(std::max(got, 0)));
    return text;
}

}  // namespace

GameListControl::~GameListControl() {
    if (edit_) RemoveWindowSubclass(edit_, &GameListControl::EditProc, 1);
}

bool GameListControl::Create(HWND parent, int id, const RECT& bounds, HFONT font, Events events) {
    events_ = std::move(events);
    // No CBS_SORT: the entries come sorted from the model, so the list's
    // indexes are the model's.
    combo_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"COMBOBOX", L"",
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_SIMPLE |
                                 CBS_NOINTEGRALHEIGHT | CBS_AUTOHSCROLL,
                             bounds.left, bounds.top, bounds.right - bounds.left,
                             bounds.bottom - bounds.top, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    if (!combo_) return false;
    SendMessageW(combo_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (!GetComboBoxInfo(combo_, &info) || !info.hwndItem) return false;
    edit_ = info.hwndItem;
    list_ = info.hwndList;
    SetWindowSubclass(edit_, &GameListControl::EditProc, 1, reinterpret_cast<DWORD_PTR>(this));
    return true;
}

void GameListControl::Fill(const form::ComboBox& model) {
    const auto start = std::chrono::steady_clock::now();
    showing_ = true;
    SendMessageW(combo_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(combo_, CB_RESETCONTENT, 0, 0);
    std::size_t bytes = 0;
    for (const std::string& e : model.Entries()) bytes += e.size() + 1;
    SendMessageW(combo_, CB_INITSTORAGE, static_cast<WPARAM>(model.Count()),
                 static_cast<LPARAM>(bytes * sizeof(wchar_t)));
    std::wstring wide;
    for (const std::string& e : model.Entries()) {
        wide = Wide(e);
        SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
    SendMessageW(combo_, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(combo_, nullptr, nullptr,
                 RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
    showing_ = false;
    shownRevision_ = model.EntriesRevision();
    lastFillMs_ =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void GameListControl::ShowState(const form::ComboBox& model) {
    if (!combo_) return;
    if (model.EntriesRevision() != shownRevision_) Fill(model);
    showing_ = true;

    // The model found the row as the list's own CB_SELECTSTRING finds a prefix;
    // the list selects it the same way, searching from just before the row so
    // that 45,000 entries cost nothing. Selecting fills the field with the
    // entry, so the model's text is put back after it.
    const int row = model.SelectedIndex();
    if (SendMessageW(list_, LB_GETCURSEL, 0, 0) != row) {
        LRESULT found = CB_ERR;
        if (row >= 0) {
            const std::wstring entry = Wide(model.Entries()[static_cast<std::size_t>(row)]);
            found = SendMessageW(combo_, CB_SELECTSTRING, static_cast<WPARAM>(row - 1),
                                 reinterpret_cast<LPARAM>(entry.c_str()));
        }
        if (found != row) SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    }
    // Setting the field's text makes the combo box look the text up in its list
    // and select what it finds; the model's selection is set again after it.
    const std::wstring text = Wide(model.editText);
    if (WindowText(edit_) != text) {
        SetWindowTextW(edit_, text.c_str());
        if (SendMessageW(list_, LB_GETCURSEL, 0, 0) != row)
            SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    }

    const int start = WidePosFromBytes(model.editText, model.selectionStart);
    const int end =
        model.selectionLength > 0
            ? WidePosFromBytes(model.editText, model.selectionStart + model.selectionLength)
            : start;
    DWORD curStart = 0, curEnd = 0;
    SendMessageW(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&curStart),
                 reinterpret_cast<LPARAM>(&curEnd));
    if (static_cast<int>(curStart) != start || static_cast<int>(curEnd) != end) {
        SendMessageW(edit_, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
    }
    showing_ = false;
}

void GameListControl::OnNotify(WORD code) {
    if (showing_) return;
    switch (code) {
        case CBN_SELCHANGE: {
            const int row = static_cast<int>(SendMessageW(combo_, CB_GETCURSEL, 0, 0));
            if (row >= 0 && events_.entryChosen) events_.entryChosen(row);
            break;
        }
        case CBN_DBLCLK: {
            const int row = static_cast<int>(SendMessageW(combo_, CB_GETCURSEL, 0, 0));
            if (row >= 0 && events_.entryDoubleClicked) events_.entryDoubleClicked(row);
            break;
        }
        case CBN_EDITCHANGE:
            ReportEdit();
            break;
        default:
            break;
    }
}

void GameListControl::ReportEdit() {
    if (showing_ || !events_.editChanged) return;
    DWORD start = 0, end = 0;
    SendMessageW(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    events_.editChanged(WindowText(edit_), static_cast<int>(start), static_cast<int>(end - start));
}

LRESULT CALLBACK GameListControl::EditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                           DWORD_PTR self) {
    return reinterpret_cast<GameListControl*>(self)->OnEditMessage(hwnd, msg, wp, lp);
}

LRESULT GameListControl::OnEditMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_KEYDOWN:
            if (wp == VK_TAB) {
                if (events_.tabPressed) events_.tabPressed(GetKeyState(VK_SHIFT) < 0);
                return 0;
            }
            break;
        case WM_CHAR: {
            const wchar_t c = static_cast<wchar_t>(wp);
            if (c == L'\t') return 0;
            if (c == L'\r') {
                ReportEdit();
                if (events_.enterPressed) events_.enterPressed();
                return 0;
            }
            // Escape, Backspace and the other control keys keep the field's own
            // handling; what it did to the text reaches the model as an edit.
            if (c < 0x20 || c == 0x7f) {
                const LRESULT r = DefSubclassProc(hwnd, msg, wp, lp);
                ReportEdit();
                return r;
            }
            if (IS_HIGH_SURROGATE(c)) {
                highSurrogate_ = c;
                return 0;
            }
            std::wstring typed;
            if (IS_LOW_SURROGATE(c)) {
                if (!highSurrogate_) return 0;
                typed = {highSurrogate_, c};
            } else {
                typed = {c};
            }
            highSurrogate_ = 0;
            // The model starts from what the field holds now.
            ReportEdit();
            if (events_.characterTyped) events_.characterTyped(Utf8(typed));
            return 0;
        }
        case WM_KEYUP:
        case WM_LBUTTONUP: {
            // Caret moves by arrow keys and clicks inside the field.
            const LRESULT r = DefSubclassProc(hwnd, msg, wp, lp);
            ReportEdit();
            return r;
        }
        default:
            break;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace lorvane::ui::win32
