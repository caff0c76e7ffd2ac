#include "ui/win32/dialogs.h"

#include <cstdint>
#include <vector>

#include "ui/win32/com_on_demand.h"
#include "ui/win32/text_positions.h"

namespace lorvane::ui::win32 {
namespace {

// An in-memory dialog template: DLGTEMPLATE, then each item DWORD-aligned.
class DialogTemplate {
public:
    DialogTemplate(const std::wstring& title, DWORD style, short cx, short cy, WORD items) {
        DLGTEMPLATE head{};
        head.style = style | DS_SETFONT | DS_MODALFRAME;
        head.cdit = items;
        head.cx = cx;
        head.cy = cy;
        Append(&head, sizeof head);
        Word(0);  // no menu
        Word(0);  // the standard dialog class
        String(title);
        Word(8);  // point size of the font
        String(L"MS Shell Dlg");
    }

    // cls: 0x0080 button, 0x0081 edit, 0x0082 static.
    void Item(WORD cls, const std::wstring& text, DWORD style, short x, short y, short cx, short cy,
              WORD id) {
        Align();
        DLGITEMTEMPLATE item{};
        item.style = style | WS_CHILD | WS_VISIBLE;
        item.x = x;
        item.y = y;
        item.cx = cx;
        item.cy = cy;
        item.id = id;
        Append(&item, sizeof item);
        Word(0xFFFF);
        Word(cls);
        String(text);
        Word(0);  // no creation data
    }

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void Append(const void* data, std::size_t bytes) {
        const auto* w = static_cast<const WORD*>(data);
        words_.insert(words_.end(), w, w + bytes / sizeof(WORD));
    }
    void Word(WORD w) { words_.push_back(w); }
    void String(const std::wstring& s) {
        for (wchar_t c : s) words_.push_back(static_cast<WORD>(c));
        words_.push_back(0);
    }
    void Align() {
        if (words_.size() % 2) words_.push_back(0);
    }
    // std::vector's storage is aligned for WORD; DWORD alignment of the start
    // comes from the allocator, which aligns to at least that.
    std::vector<WORD> words_;
};

constexpr WORD kPromptId = 100;
constexpr WORD kAnswerId = 101;

struct InputBoxData {
    std::wstring preset;
    std::wstring answer;
};

INT_PTR CALLBACK InputBoxProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_INITDIALOG: {
            SetWindowLongPtrW(dialog, DWLP_USER, lp);
            auto* data = reinterpret_cast<InputBoxData*>(lp);
            HWND answer = GetDlgItem(dialog, kAnswerId);
            SetWindowTextW(answer, data->preset.c_str());
            SendMessageW(answer, EM_SETSEL, 0, -1);
            SetFocus(answer);
            return FALSE;  // the focus was set here
        }
        case WM_COMMAND: {
            auto* data = reinterpret_cast<InputBoxData*>(GetWindowLongPtrW(dialog, DWLP_USER));
            if (LOWORD(wp) == IDOK) {
                HWND answer = GetDlgItem(dialog, kAnswerId);
                const int n = GetWindowTextLengthW(answer);
                std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
                text.resize(static_cast<std::size_t>(GetWindowTextW(answer, text.data(), n + 1)));
                data->answer = text;
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            if (LOWORD(wp) == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            break;
        }
        default:
            break;
    }
    return FALSE;
}

}  // namespace

UINT MessageBoxIconFlag(form::MessageIcon icon) {
    switch (icon) {
        case form::MessageIcon::Information:
            return MB_ICONINFORMATION;
        case form::MessageIcon::Exclamation:
            return MB_ICONEXCLAMATION;
        case form::MessageIcon::Critical:
            return MB_ICONSTOP;
        case form::MessageIcon::None:
            break;
    }
    return 0;
}

void ShowMessageBox(HWND owner, const std::string& text, const std::string& title,
                    form::MessageIcon icon) {
    MessageBoxW(owner, Wide(text).c_str(), Wide(title).c_str(), MB_OK | MessageBoxIconFlag(icon));
}

std::string AskText(HWND owner, const std::string& prompt, const std::string& title,
                    const std::string& preset) {
    // In dialog units: the prompt at the top left, OK and Cancel at the right,
    // the answer field along the bottom.
    DialogTemplate t(Wide(title), WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_CENTER, 270, 92, 4);
    t.Item(0x0082, Wide(prompt), SS_LEFT | SS_NOPREFIX, 7, 7, 200, 56, kPromptId);
    t.Item(0x0080, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 213, 7, 50, 14, IDOK);
    t.Item(0x0080, L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 213, 25, 50, 14, IDCANCEL);
    t.Item(0x0081, L"", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 7, 70, 256, 13, kAnswerId);

    InputBoxData data{Wide(preset), {}};
    const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), t.Get(), owner,
                                                   &InputBoxProc, reinterpret_cast<LPARAM>(&data));
    return result == IDOK ? Utf8(data.answer) : std::string();
}

std::string ChooseFolder(HWND owner, const std::string& instruction) {
    const std::wstring title = Wide(instruction);
    wchar_t displayName[MAX_PATH] = {};
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.pidlRoot = nullptr;  // the desktop
    info.pszDisplayName = displayName;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    PIDLIST_ABSOLUTE chosen = BrowseForFolder(info);
    if (!chosen) return {};
    wchar_t path[MAX_PATH * 2] = {};
    const bool ok = PathFromIdList(chosen, path);
    FreeComMemory(chosen);
    return ok ? Utf8(path) : std::string();
}

}  // namespace lorvane::ui::win32
