#include "window_driver.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>
#include <thread>

#include "platform/wide_text.h"
#include "ui/win32/window_ids.h"

namespace lorvane::ui::win32 {
namespace {

using platform::win32::Utf8;
using platform::win32::Wide;

constexpr UINT kTimeoutMs = 10000;

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

// Through WM_GETTEXT, which Wine and Windows carry across processes; a
// control's text is not in its window structure, so GetWindowText cannot read it.
std::wstring TextOf(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kTimeoutMs, &length))
        return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, kTimeoutMs, &got);
    text.resize(std::min<std::size_t>(got, length));
    return text;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> found;
    EnumChildWindows(
        parent,
        [](HWND hwnd, LPARAM lp) {
            reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

struct TopLevelSearch {
    DWORD pid;
    std::vector<HWND> found;
};

std::vector<HWND> TopLevelWindows(DWORD pid) {
    TopLevelSearch search{pid, {}};
    EnumWindows(
        [](HWND hwnd, LPARAM lp) {
            auto* s = reinterpret_cast<TopLevelSearch*>(lp);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (owner == s->pid && IsWindowVisible(hwnd)) s->found.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Waits until the thread is in a menu's loop (or out of it): another process
// sees that through the thread's GUI state.
bool WaitForMenuMode(DWORD thread, bool inMenu) {
    return WaitUntil(
        [&] {
            GUITHREADINFO info{};
            info.cbSize = sizeof info;
            return GetGUIThreadInfo(thread, &info) &&
                   ((info.flags & GUI_INMENUMODE) != 0) == inMenu;
        },
        10s, 20ms);
}

bool SameNoCase(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

std::string Dialog::Text() const {
    std::string joined;
    for (const std::string& t : texts) joined += (joined.empty() ? "" : "\n") + t;
    return joined;
}

LorvaneSession::LorvaneSession(const std::filesystem::path& exe) {
    // Started from another folder: the program must find its own.
    const std::wstring cwd = exe.parent_path().parent_path().wstring();
    std::wstring commandLine = L"\"" + exe.wstring() + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    if (!CreateProcessW(exe.wstring().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, cwd.c_str(), &si, &process_))
        throw std::runtime_error("cannot start " + exe.string() + ": error " +
                                 std::to_string(GetLastError()));
}

LorvaneSession::~LorvaneSession() {
    if (!process_.hProcess) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
        for (HWND w : TopLevelWindows(process_.dwProcessId)) PostMessageW(w, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process_.hProcess, 5000) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 1);
            WaitForSingleObject(process_.hProcess, 5000);
        }
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

std::vector<Dialog> LorvaneSession::OpenDialogs() {
    std::vector<Dialog> dialogs;
    for (HWND w : TopLevelWindows(process_.dwProcessId)) {
        if (ClassOf(w) != L"#32770") continue;
        Dialog d;
        d.hwnd = w;
        d.title = Utf8(TextOf(w));
        for (HWND c : Children(w)) {
            if (ClassOf(c) != L"Static") continue;
            const std::wstring text = TextOf(c);
            if (!text.empty()) d.texts.push_back(Utf8(text));
        }
        dialogs.push_back(std::move(d));
    }
    return dialogs;
}

std::string LorvaneSession::Describe() {
    std::string text;
    for (const Dialog& d : OpenDialogs()) text += "\nopen dialog \"" + d.title + "\": " + d.Text();
    return text;
}

Dialog LorvaneSession::WaitForDialog(const std::string& title, std::chrono::milliseconds timeout) {
    Dialog found;
    std::string seen;
    const bool came = WaitUntil(
        [&] {
            for (Dialog& d : OpenDialogs()) {
                // A dialog still being built has no texts yet.
                if ((title.empty() || d.title == title) && !d.texts.empty()) return found = d, true;
                seen = d.title;
            }
            if (WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0)
                throw std::runtime_error("the program ended while waiting for the dialog \"" +
                                         title + "\"");
            return false;
        },
        timeout);
    if (came) return found;
    throw std::runtime_error("no dialog \"" + title + "\" came" +
                             (seen.empty() ? "" : "; open: \"" + seen + "\""));
}

Dialog LorvaneSession::WaitForProgress(std::chrono::milliseconds timeout) {
    Dialog d;
    if (WaitUntil(
            [&] {
                for (HWND w : TopLevelWindows(process_.dwProcessId))
                    if (ClassOf(w) == L"LorvaneProgress") d = {w, Utf8(TextOf(w)), {}};
                return d.hwnd != nullptr;
            },
            timeout)) {
        for (HWND c : Children(d.hwnd))
            if (ClassOf(c) == L"Static") d.texts.push_back(Utf8(TextOf(c)));
        return d;
    }
    throw std::runtime_error("no progress window came" + Describe());
}

void LorvaneSession::Click(const Dialog& dialog, const std::string& caption) {
    for (HWND c : Children(dialog.hwnd)) {
        if (ClassOf(c) == L"Button" && Utf8(TextOf(c)) == caption) {
            PostMessageW(c, BM_CLICK, 0, 0);
            WaitUntil([&] { return !IsWindow(dialog.hwnd) || !IsWindowVisible(dialog.hwnd); }, 10s,
                      20ms);
            return;
        }
    }
    throw std::runtime_error("no button \"" + caption + "\" in the dialog \"" + dialog.title +
                             "\"");
}

void LorvaneSession::SetEditText(const Dialog& dialog, const std::string& text) {
    for (HWND c : Children(dialog.hwnd)) {
        if (ClassOf(c) == L"Edit") {
            const std::wstring wide = Wide(text);
            SendMessageTimeoutW(c, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()),
                                SMTO_ABORTIFHUNG, kTimeoutMs, nullptr);
            return;
        }
    }
    throw std::runtime_error("no edit field in the dialog \"" + dialog.title + "\"");
}

HWND LorvaneSession::Main() {
    if (!WaitUntil([&] {
            for (HWND w : TopLevelWindows(process_.dwProcessId))
                if (ClassOf(w) == kMainWindowClass) main_ = w;
            return main_ != nullptr;
        }))
        throw std::runtime_error("the main window did not appear");
    return main_;
}

std::string LorvaneSession::Caption() { return Utf8(TextOf(Main())); }

bool LorvaneSession::WaitForCaption(const std::string& part, std::chrono::milliseconds timeout) {
    return WaitUntil([&] { return Caption().find(part) != std::string::npos; }, timeout);
}

HWND LorvaneSession::Control(int id) { return GetDlgItem(Main(), id); }

std::string LorvaneSession::ControlText(int id) { return Utf8(TextOf(Control(id))); }

HWND LorvaneSession::Combo() {
    for (HWND c : Children(Main()))
        if (ClassOf(c) == L"ComboBox") return c;
    throw std::runtime_error("no combo box in the main window");
}

HWND LorvaneSession::ComboEdit() {
    HWND edit = FindWindowExW(Combo(), nullptr, L"Edit", nullptr);
    if (!edit) throw std::runtime_error("the combo box has no edit field");
    return edit;
}

std::vector<std::string> LorvaneSession::Entries() {
    HWND combo = Combo();
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    std::vector<std::string> entries;
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring text(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
        const LRESULT got = SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i),
                                         reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(std::max<LRESULT>(got, 0)));
        entries.push_back(Utf8(text));
    }
    return entries;
}

int LorvaneSession::SelectedIndex() {
    return static_cast<int>(SendMessageW(Combo(), CB_GETCURSEL, 0, 0));
}

std::string LorvaneSession::EditText() { return Utf8(TextOf(ComboEdit())); }

std::pair<int, int> LorvaneSession::EditSelection() {
    const LRESULT sel = SendMessageW(ComboEdit(), EM_GETSEL, 0, 0);
    return {LOWORD(sel), HIWORD(sel)};
}

int LorvaneSession::FindString(const std::string& prefix) {
    const std::wstring wide = Wide(prefix);
    return static_cast<int>(SendMessageW(Combo(), CB_FINDSTRING, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(wide.c_str())));
}

void LorvaneSession::Type(const std::string& text) {
    HWND edit = ComboEdit();
    for (wchar_t c : Wide(text))
        SendMessageTimeoutW(edit, WM_CHAR, c, 1, SMTO_ABORTIFHUNG, kTimeoutMs, nullptr);
}

void LorvaneSession::ClearEdit() {
    SendMessageTimeoutW(ComboEdit(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""), SMTO_ABORTIFHUNG,
                        kTimeoutMs, nullptr);
}

void LorvaneSession::PressEnter() { PostMessageW(ComboEdit(), WM_CHAR, L'\r', 1); }

void LorvaneSession::Menu(form::Command command) {
    PostMessageW(Main(), WM_COMMAND, MAKEWPARAM(static_cast<unsigned>(command), 0), 0);
}

void LorvaneSession::MenuAndWait(form::Command command) {
    SendMessageTimeoutW(Main(), WM_COMMAND, MAKEWPARAM(static_cast<unsigned>(command), 0), 0,
                        SMTO_ABORTIFHUNG, kTimeoutMs, nullptr);
}

void LorvaneSession::MenuKeys(const std::vector<UINT>& keys) {
    HWND main = Main();
    const DWORD thread = GetWindowThreadProcessId(main, nullptr);
    PostMessageW(main, WM_SYSKEYDOWN, VK_F10, 1);
    PostMessageW(main, WM_SYSKEYUP, VK_F10, 0xC0000001);
    if (!WaitForMenuMode(thread, true)) throw std::runtime_error("F10 opened no menu" + Describe());
    // The menu's own loop reads the keys that follow from the program's queue.
    for (UINT key : keys) {
        std::this_thread::sleep_for(150ms);
        PostMessageW(main, WM_KEYDOWN, key, 1);
        PostMessageW(main, WM_KEYUP, key, 0xC0000001);
    }
    // The menu posts the chosen item's WM_COMMAND before it lets go.
    if (!WaitForMenuMode(thread, false))
        throw std::runtime_error("the menu stayed open after the keys");
}

bool LorvaneSession::WaitForExit(std::chrono::milliseconds timeout) {
    return WaitForSingleObject(process_.hProcess, static_cast<DWORD>(timeout.count())) ==
           WAIT_OBJECT_0;
}

namespace {

// Reads tree items of another process: the item record and its text buffer
// live in memory allocated in that process.
class RemoteTree {
public:
    RemoteTree(HWND tree, DWORD pid) : tree_(tree) {
        process_ =
            OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (!process_) throw std::runtime_error("cannot open the program's process");
        memory_ =
            static_cast<BYTE*>(VirtualAllocEx(process_, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE));
        if (!memory_) throw std::runtime_error("cannot allocate memory in the program's process");
    }
    ~RemoteTree() {
        VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
        CloseHandle(process_);
    }
    RemoteTree(const RemoteTree&) = delete;
    RemoteTree& operator=(const RemoteTree&) = delete;

    std::wstring Text(HTREEITEM item) {
        TVITEMW record{};
        record.mask = TVIF_TEXT | TVIF_HANDLE;
        record.hItem = item;
        record.pszText = reinterpret_cast<wchar_t*>(memory_ + sizeof record);
        record.cchTextMax = 512;
        WriteProcessMemory(process_, memory_, &record, sizeof record, nullptr);
        SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(memory_));
        wchar_t text[512] = {};
        ReadProcessMemory(process_, memory_ + sizeof record, text, sizeof text - sizeof(wchar_t),
                          nullptr);
        return text;
    }
    HTREEITEM Next(HTREEITEM item, UINT how) {
        return reinterpret_cast<HTREEITEM>(
            SendMessageW(tree_, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
    }
    void Expand(HTREEITEM item) {
        SendMessageW(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
    }
    std::vector<HTREEITEM> ChildrenOf(HTREEITEM item) {
        Expand(item);
        std::vector<HTREEITEM> items;
        for (HTREEITEM c = Next(item, TVGN_CHILD); c; c = Next(c, TVGN_NEXT)) items.push_back(c);
        return items;
    }
    void Select(HTREEITEM item) {
        SendMessageW(tree_, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
        SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    }

private:
    HWND tree_;
    HANDLE process_ = nullptr;
    BYTE* memory_ = nullptr;
};

// The drive's item: below the desktop (the computer), named with "X:" in it.
HTREEITEM FindDrive(RemoteTree& tree, HTREEITEM item, const std::wstring& drive, int depth) {
    if (!item || depth > 3) return nullptr;
    const std::wstring text = tree.Text(item);
    const std::wstring upper = [&] {
        std::wstring u = text;
        CharUpperBuffW(u.data(), static_cast<DWORD>(u.size()));
        return u;
    }();
    if (upper.find(drive) != std::wstring::npos) return item;
    for (HTREEITEM child : tree.ChildrenOf(item))
        if (HTREEITEM found = FindDrive(tree, child, drive, depth + 1)) return found;
    return nullptr;
}

}  // namespace

void ChooseFolderInDialog(const Dialog& dialog, DWORD pid, const std::filesystem::path& folder) {
    HWND treeWindow = nullptr;
    for (HWND c : Children(dialog.hwnd))
        if (ClassOf(c) == L"SysTreeView32") treeWindow = c;
    if (!treeWindow) throw std::runtime_error("the folder dialog has no folder tree");
    RemoteTree tree(treeWindow, pid);

    std::wstring drive = folder.root_name().wstring();  // "C:"
    CharUpperBuffW(drive.data(), static_cast<DWORD>(drive.size()));
    HTREEITEM item = FindDrive(tree, tree.Next(nullptr, TVGN_ROOT), drive, 0);
    if (!item) throw std::runtime_error("the folder dialog does not show the drive " + Utf8(drive));
    for (const auto& part : folder.relative_path()) {
        const std::wstring name = part.wstring();
        if (name.empty()) continue;
        HTREEITEM next = nullptr;
        for (HTREEITEM child : tree.ChildrenOf(item))
            if (SameNoCase(tree.Text(child), name)) next = child;
        if (!next)
            throw std::runtime_error("the folder dialog does not show " + part.string() + " in " +
                                     Utf8(tree.Text(item)));
        item = next;
    }
    tree.Select(item);
    for (HWND c : Children(dialog.hwnd)) {
        if (ClassOf(c) == L"Button" && TextOf(c) == L"OK") {
            PostMessageW(c, BM_CLICK, 0, 0);
            return;
        }
    }
    throw std::runtime_error("the folder dialog has no OK button");
}

}  // namespace lorvane::ui::win32
