#pragma once
// MAIN_form on the screen: the Qt main window. It builds the controls and the
// menus, forwards every event to the MAIN_form handlers, shows the window
// state after each change, and is the screen the handlers talk to (UiPort).
#include <QMainWindow>
#include <array>
#include <string>

#include "main_form.h"
#include "progress_window.h"
#include "ui_port.h"

class QAction;
class QFrame;
class QLabel;
class QLineEdit;

namespace lorvane {

class GameListWidget;
class PicturePane;

class MainWindow : public QMainWindow, public UiPort {
    Q_OBJECT
public:
    // appDir: the application directory, without a trailing separator.
    explicit MainWindow(std::string appDir, QWidget* parent = nullptr);
    ~MainWindow() override;

    MAIN_form& Form() { return form_; }

    GameListWidget* Combo1() const { return combo1_; }
    QLineEdit* MameExeName() const { return mameExeName_; }
    PicturePane* BrwPNGBrowser() const { return pane_; }

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

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildControls();
    void BuildMenus();
    QAction* AddItem(QMenu* menu, const char* name, const char* caption);
    void ShowState();
    void ReportOuterSize();
    void ActivateLater();

    // Runs a handler; a failure it lets through is reported, not fatal.
    template <typename Handler>
    void Forward(Handler&& handler);

    void OnCharacterTyped(const QString& character);
    void OnEntryChosen(int row);
    void OnEntryDoubleClicked(int row);
    void OnEditChanged(const QString& text, int selStart, int selLength, bool textChanged);

    MAIN_form form_;
    GameListWidget* combo1_ = nullptr;
    QLineEdit* mameExeName_ = nullptr;
    PicturePane* pane_ = nullptr;
    QLabel* label1_ = nullptr;
    QFrame* line1_ = nullptr;
    QAction* preview_ = nullptr;
    std::array<QAction*, 4> joySel_{};
    ProgressWindow progress_;
    bool busy_ = false;
};

}  // namespace lorvane
