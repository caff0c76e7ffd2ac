#pragma once
// MAIN_form on the screen of Windows: the native main window. It builds the
// controls and the menus, forwards every event to the MAIN_form handlers,
// shows the window state after each change, and is the screen the handlers
// talk to (UiPort).
#include <windows.h>

#include <cstdint>
#include <string>

#include "game_list_control.h"
#include "main_form.h"
#include "picture_pane.h"
#include "progress_window.h"
#include "twips.h"
#include "ui_port.h"

namespace lorvane::win32 {

class MainWindow : public UiPort {
public:
    // appDir: the application directory, without a trailing separator.
    explicit MainWindow(std::string appDir);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates the window with its stored layout; false (and a message) when it cannot.
    bool Create(HINSTANCE instance);
    void Show(int showCommand);
    HWND Handle() const { return hwnd_; }
    MAIN_form& Form() { return form_; }

    // UiPort
    void MsgBox(const std::string& text, const std::string& title, MsgIcon icon) override;
    std::string InputBox(const std::string& prompt, const std::string& title, const std::string& preset) override;
    std::string BrowseForFolder(const std::string& instruction) override;
    void Navigate(const std::string& target) override;
    bool PaneCanShowPictures() override;
    DetachedStartResult StartDetached(const CommandLine& argv) override;
    void DoEvents() override;
    void SetBusyPointer(bool busy) override;
    void Repaint() override;
    void ProgressOpen(const std::string& title, int total) override;
    void ProgressUpdate(int done, int total, const std::string& current) override;
    bool ProgressCancelled() override;
    void ProgressClose() override;
    void StateChanged() override;
    void CloseWindow() override;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
    void BuildControls();
    HMENU BuildMenus();
    void OnCommand(WORD id, WORD code, HWND control);
    void ReportOuterSize();
    void ShowState();
    HWND Owner() const;

    // Runs a handler; a failure it lets through is reported, not fatal.
    template <typename Handler>
    void Forward(Handler&& handler);

    // What the game list reports
    void OnCharacterTyped(const std::string& utf8);
    void OnKeyCode(std::int16_t key);
    void OnEntryChosen(int row);
    void OnEntryDoubleClicked(int row);
    void OnEditChanged(const std::wstring& text, int selStart, int selLength);

    MAIN_form form_;
    HINSTANCE instance_ = nullptr;
    HWND hwnd_ = nullptr;
    HMENU menu_ = nullptr;
    Twips twips_{96};
    HFONT listFont_ = nullptr;
    HFONT labelFont_ = nullptr;
    HWND snapPath_ = nullptr, mameExeName_ = nullptr, text4_ = nullptr, text3_ = nullptr, lvnGameList_ = nullptr;
    HWND label1_ = nullptr, line1_ = nullptr;
    HWND lastFocus_ = nullptr;
    GameListControl combo1_;
    PicturePane pane_;
    ProgressWindow progress_;
    bool busy_ = false;
    bool showing_ = false;  // set while the state is being shown: edits are not user edits
    bool closing_ = false;
};

}  // namespace lorvane::win32
