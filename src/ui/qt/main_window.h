#pragma once
// The main window on Qt: it builds the controls and the menus, forwards the
// toolkit's events to the MainForm, shows the window state after each change,
// and is the screen the handlers talk to (UiPort).
#include <QMainWindow>
#include <string>
#include <vector>

#include "form/main_form.h"
#include "form/ui_port.h"
#include "ui/qt/progress_window.h"

class QAction;
class QFrame;
class QLabel;
class QLineEdit;

namespace lorvane::ui::qt {

class GameListWidget;
class PicturePane;

class MainWindow : public QMainWindow, public form::UiPort {
    Q_OBJECT
public:
    // appDir: the application directory, without a trailing separator.
    explicit MainWindow(std::string appDir, QWidget* parent = nullptr);
    ~MainWindow() override;

    form::MainForm& Form() { return form_; }

    GameListWidget* GameList() const { return gameList_; }
    QLineEdit* EmulatorNameBox() const { return emulatorNameBox_; }
    PicturePane* SnapshotPane() const { return snapshotPane_; }

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

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct MenuAction {
        QAction* action;
        form::Command command;
    };

    void BuildControls();
    void BuildMenus();
    void ShowState();
    void ReportOuterSize();
    void ActivateLater();

    form::MainForm form_;
    GameListWidget* gameList_ = nullptr;
    QLineEdit* emulatorNameBox_ = nullptr;
    PicturePane* snapshotPane_ = nullptr;
    QLabel* label_ = nullptr;
    QFrame* line_ = nullptr;
    std::vector<MenuAction> checkableItems_;
    ProgressWindow progress_;
    bool busy_ = false;
};

}  // namespace lorvane::ui::qt
