#pragma once
// Drives a running lorvane.exe from outside, the way Windows test tools do:
// through window messages to its windows. Menus cannot be opened from another
// process under Wine, so menu items are posted as WM_COMMAND with their
// commands' ids (form/menu.h).
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "form/menu.h"

namespace lorvane::ui::win32 {

using namespace std::chrono_literals;

// Asks done() every step until it holds or the timeout has passed; whether it held.
template <class Done>
bool WaitUntil(Done done, std::chrono::milliseconds timeout = 20s,
               std::chrono::milliseconds step = 50ms) {
    for (const auto deadline = std::chrono::steady_clock::now() + timeout;;) {
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(step);
    }
}

// A top-level dialog of the program (message box, input box, folder picker).
struct Dialog {
    HWND hwnd = nullptr;
    std::string title;
    std::vector<std::string> texts;  // its static texts, in window order
    std::string Text() const;        // the static texts joined by "\n"
};

class LorvaneSession {
public:
    // Starts exe (whose directory is the application directory).
    explicit LorvaneSession(const std::filesystem::path& exe);
    ~LorvaneSession();  // closes the program, ending it if it will not go
    LorvaneSession(const LorvaneSession&) = delete;
    LorvaneSession& operator=(const LorvaneSession&) = delete;

    // The next dialog of the program with the given title (any title when
    // empty); throws when none comes within the timeout.
    Dialog WaitForDialog(const std::string& title = {}, std::chrono::milliseconds timeout = 20s);
    // What a failure's message should tell: the dialogs open now.
    std::string Describe();
    // The dialogs open now.
    std::vector<Dialog> OpenDialogs();
    // Clicks the button with this caption in a dialog.
    void Click(const Dialog& dialog, const std::string& caption);
    // The progress window of a long task, once it is shown.
    Dialog WaitForProgress(std::chrono::milliseconds timeout = 20s);
    // Sets the text of the dialog's (first) edit field.
    void SetEditText(const Dialog& dialog, const std::string& text);

    HWND Main();  // waits for the main window
    std::string Caption();
    // Waits until the caption satisfies the test.
    bool WaitForCaption(const std::string& part, std::chrono::milliseconds timeout = 20s);

    HWND Combo();
    HWND ComboEdit();
    std::vector<std::string> Entries();
    int SelectedIndex();
    std::string EditText();
    // Selection in the edit field, UTF-16 positions [start, end).
    std::pair<int, int> EditSelection();
    // The first entry beginning with the prefix, found by the list control itself.
    int FindString(const std::string& prefix);

    // Typed into the list's edit field, each character handled before the next.
    void Type(const std::string& text);
    // Empties the edit field as a user's edit would.
    void ClearEdit();
    // Enter in the edit field; posted, since it may open a modal dialog.
    void PressEnter();
    // A menu item by its command, posted: it may open a modal dialog.
    void Menu(form::Command command);
    // A menu item that opens no dialog, handled before this returns.
    void MenuAndWait(form::Command command);
    // F10, then these keys, as a user opens a menu and picks an item. Returns
    // once the menu is closed: the chosen item's command is then queued ahead
    // of anything posted afterwards.
    void MenuKeys(const std::vector<UINT>& keys);
    HWND Control(int id);
    std::string ControlText(int id);

    bool WaitForExit(std::chrono::milliseconds timeout);
    DWORD Pid() const { return process_.dwProcessId; }

private:
    PROCESS_INFORMATION process_{};
    HWND main_ = nullptr;
};

// Drives the shell's folder dialog: walks its tree from the desktop down to the
// folder (opening each level as a user would) and confirms with OK.
void ChooseFolderInDialog(const Dialog& dialog, DWORD pid, const std::filesystem::path& folder);

}  // namespace lorvane::ui::win32
