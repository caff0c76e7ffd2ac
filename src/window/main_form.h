#pragma once
// MAIN_form: the one window's handlers, run on the window state model and a UI
// port. Each view (Qt, Win32) forwards its events here and redraws from the state.
#include <cstdint>
#include <exception>
#include <string>
#include <utility>

#include "main_form_host.h"

namespace lorvane {

class MAIN_form : public MainFormHost {
public:
    // appDir: the application directory, without a trailing separator.
    MAIN_form(std::string appDir, UiPort& ui);

    WindowState& State() override { return state_; }
    const WindowState& State() const { return state_; }
    UiPort& Ui() override { return ui_; }
    const std::string& AppDir() const override { return appDir_; }

    // start-up: the view calls OnActivated on every activation; only the first
    // one runs Form_Activate (focus coming back must not restart the program).
    void OnActivated();
    void Form_Activate();
    void CheckForRunTimeFiles();
    void ErrorHandler();

    // layout: the view reports the outer size in twips, then calls Form_Resize
    void SetOuterSize(int widthTwips, int heightTwips);
    void Form_Resize();

    // list
    void Combo1_Click();
    void Combo1_DblClick();
    void Combo1_KeyPress(std::int16_t& keyAscii);
    // Type-ahead for typed text of one character, which may take several bytes.
    void Combo1_TypeAhead(const std::string& typed);

    // menus
    void Preview_Click() override;
    void JOY_SEL_Click(std::int16_t index) override;
    void Export_ROM_list_Click();
    void Move_bad_roms_Click();
    void create_def_ini_Click();
    void MAKE_GAME_LIST_Click();
    void This_frontend_Click();

    // Shows a message with the application's title.
    void MsgBox(const std::string& text, MsgIcon icon = MsgIcon::None);
    void MsgBox(const std::string& text, const std::string& title, MsgIcon icon);

    // The generic failure message, without closing the window.
    void ReportFailure(const Failure& failure);
    // Runs one event's handler as the window's event loop does: a failure that
    // escapes it gets the generic message instead of ending the program.
    template <typename Handler>
    void RunHandler(Handler&& handler) {
        try {
            std::forward<Handler>(handler)();
        } catch (const Failure& failure) {
            ReportFailure(failure);
        } catch (const std::exception& e) {
            ReportFailure(Failure(ErrNo::PathFileAccessError, e.what()));
        }
    }
    // Rebuilds the list and tells the user what stopped it: a data file that
    // cannot be read sends them to the menu command that creates it.
    void RebuildList();

    // How many ROM set checks the audit runs at once; 0: the machine's cores.
    void SetAuditParallelism(int checks) { auditParallel_ = checks; }
    // Whether the audit asks the emulator about many sets in one run; off,
    // every set gets a check of its own.
    void SetAuditSeveralSetChecks(bool on) { auditSeveralSetChecks_ = on; }

private:
    void ReportError(std::int32_t number, const std::string& description);
    void RefreshView() { ui_.StateChanged(); }
    bool activated_ = false;
    // The audit pumps events while it waits: a second click must not start another.
    bool auditRunning_ = false;
    int auditParallel_ = 0;
    bool auditSeveralSetChecks_ = true;

    std::string appDir_;
    UiPort& ui_;
    WindowState state_;
};

// The About box's text, five lines.
std::string AboutText();

}  // namespace lorvane
