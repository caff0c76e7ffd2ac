#pragma once
// The main window on Windows: the native window. It builds the controls and
// the menus, forwards the system's messages to the MainForm, shows the window
// state after each change, and is the screen the handlers talk to (UiPort).
#include <windows.h>

#include <string>

#include "form/main_form.h"
#include "form/twips.h"
#include "form/ui_port.h"
#include "ui/win32/font.h"
#include "ui/win32/game_list_control.h"
#include "ui/win32/picture_pane.h"
#include "ui/win32/progress_window.h"

namespace lorvane::ui::win32 {

class MainWindow : public form::UiPort {
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
    form::MainForm& Form() { return form_; }

    // form::UiPort
    void ShowMessage(const std::string& text, const std::string& title,
                     form::MessageIcon icon) override;
    std::string AskForText(const std::string& prompt, const std::string& title,
                           const std::string& preset) override;
    std::string ChooseFolder(const std::string& instruction) override;
    void ShowSnapshot(const std::string& page) override;
    bool PaneCanShowPictures() override;
    platform::DetachedStartResult StartDetached(const platform::CommandLine& argv) override;
    void ProcessPendingEvents() override;
    void SetBusyPointer(bool busy) override;
    void Repaint() override;
    void OpenProgress(const std::string& title, int total, const std::string& label) override;
    void UpdateProgress(int done, int total, const std::string& label) override;
    bool ProgressCancelled() override;
    void CloseProgress() override;
    void StateChanged() override;
    void CloseWindow() override;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
    void OnActivate(WPARAM wp);
    void OnCommand(WORD id, WORD code, HWND control);
    void OnEmulatorNameChanged();
    void BuildControls();
    void MakeFonts();
    void PlaceFixedControls();
    void ChangeDpi(int dpi, const RECT& suggested);
    RECT OuterRectAt(int dpi) const;
    HMENU BuildMenus();
    RECT ToPixels(const form::TwipsRect& rect) const;
    void Place(HWND control, const form::TwipsRect& rect);
    void ReportOuterSize();
    void ShowState();
    HWND Owner() const;

    form::MainForm form_;
    HINSTANCE instance_ = nullptr;
    HWND hwnd_ = nullptr;
    HMENU menu_ = nullptr;
    form::Twips twips_;
    // Made for the window's DPI: the list's and the label's Arial, and the
    // system's message font for the text box.
    Font listFont_;
    Font labelFont_;
    Font textFont_;
    HWND emulatorNameBox_ = nullptr;
    HWND label_ = nullptr, line_ = nullptr;
    HWND lastFocus_ = nullptr;
    GameListControl gameList_;
    PicturePane snapshotPane_;
    ProgressWindow progress_;
    bool busy_ = false;
    bool showing_ = false;  // set while the state is being shown: edits are not user edits
    bool closing_ = false;
};

}  // namespace lorvane::ui::win32
