#pragma once
// The main window's behaviour: every handler, run on the window's state and a
// UI port. Each view (Qt, Windows) forwards its toolkit's events to the On...
// methods and to Run, and shows the state again whenever it changed.
#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "audit/rom_audit.h"
#include "form/emulator_setup.h"
#include "form/list_read_ahead.h"
#include "form/menu.h"
#include "form/ui_port.h"
#include "form/window_state.h"
#include "gamelist/game_data_file.h"
#include "settings/settings.h"

namespace lorvane::form {

class MainForm {
public:
    // appDir: the application directory, without a trailing separator.
    MainForm(std::string appDir, UiPort& ui);

    WindowState& State() { return state_; }
    const WindowState& State() const { return state_; }
    const std::string& AppDir() const { return appDir_; }

    // What the views report. Each runs its handlers as the window's event loop
    // does (a failure that escapes them is reported, not fatal), then asks the
    // view to show the state.
    //
    // The window became active: the first time, the program starts up
    // (focus coming back must not start it again).
    void OnActivated();
    // The list as read ahead since the program started: the start-up takes
    // it instead of reading the same files again, when it may.
    void UseListReadAhead(std::unique_ptr<ListReadAhead> readAhead) {
        readAhead_ = std::move(readAhead);
    }
    // The window's outer size, in twips: the controls are laid out again.
    void SetOuterSize(int widthTwips, int heightTwips);
    // One character typed into the game list's field (UTF-8; it may take
    // several bytes).
    void OnCharacterTyped(const std::string& character);
    void OnEnterPressed();
    // A row of the game list chosen by mouse or arrow key, or double-clicked.
    void OnGameChosen(int row);
    void OnGameActivated(int row);
    // The list's field changed by its own editing (positions in bytes).
    void OnEditChanged(std::string text, int selectionStart, int selectionLength);
    // The user typed in the emulator's name box.
    void OnEmulatorNameEdited(std::string name);
    // A menu item was chosen.
    void Run(Command command);
    // Whether a menu item shows a check mark.
    bool IsChecked(Command command) const;

    // The handlers, also called on their own by tests and benchmarks.
    void ShowSnapshotOfSelectedGame();
    void LaunchSelectedGame();
    void TypeAhead(const std::string& typed);
    void TogglePreview();
    // Throws Failure 340 for an index without a menu entry (after clearing all marks).
    void SelectJoystickMode(std::int16_t index);
    void ExportAvailableGames();
    void MoveBadRomSets();
    void ResetSettingsToDefaults();
    void RecreateGameList();
    void ShowAbout();
    // Empties the list and fills it again from the data file, for every ROM
    // folder of the emulator's ini; tells the user what stopped it.
    void RebuildGameList();
    // LVN.ini read and applied step by step: a value that cannot be applied
    // throws (13 type mismatch, 6 overflow, 340 no such joystick mode) with the
    // steps before it done.
    void LoadSettings();
    // Throws Failure when LVN.ini cannot be written (the file is then unchanged).
    void SaveSettings();

    // Where the emulator is and which ini names its folders; the portable
    // program's (beside the application directory) until this is called,
    // before the window is first activated.
    void UseEmulatorSetup(std::unique_ptr<EmulatorSetup> setup) { emulator_ = std::move(setup); }
    const EmulatorSetup& Emulator() const { return *emulator_; }

    // How many ROM set checks the audit runs at once; 0: the machine's cores.
    void SetAuditParallelism(int checks) { auditParallelism_ = checks; }
    // Whether the audit asks the emulator about many sets in one run; off,
    // every set gets a check of its own.
    void SetAuditSeveralSetChecks(bool on) { auditSeveralSetChecks_ = on; }

private:
    // Runs one event's handler as the window's event loop does: a failure that
    // escapes it gets the generic message instead of ending the program.
    template <typename Handler>
    void RunHandler(Handler&& handler) {
        try {
            std::forward<Handler>(handler)();
        } catch (const util::Failure& failure) {
            ReportFailure(failure);
        } catch (const std::exception& e) {
            ReportFailure(util::Failure(util::ErrNo::PathFileAccessError, e.what()));
        }
    }
    // The generic failure message, without closing the window.
    void ReportFailure(const util::Failure& failure);

    // Runs a handler for an event and shows the state afterwards.
    template <typename Handler>
    void Handle(Handler&& handler) {
        RunHandler(std::forward<Handler>(handler));
        ui_.StateChanged();
    }

    // The start-up: the files the program needs, then the list, or the
    // failure that ends the program.
    void StartUp();
    void CheckRequiredFiles();
    void ReportStartUpFailure();
    void LayOutControls();
    // A key typed in the game list's field, as a character code: Enter
    // launches, a printable character goes to the type-ahead and is consumed
    // (set to 0).
    void HandleListKey(std::int16_t& keyCode);

    void ShowMessage(const std::string& text, MessageIcon icon = MessageIcon::None);
    void ShowMessage(const std::string& text, const std::string& title, MessageIcon icon);
    void ReportError(std::int32_t number, const std::string& description);
    void ReportEmulatorNotStarted(const std::string& program, int startError,
                                  const std::string& more = "");
    void ReportNoDataFile();

    // Settings
    settings::StoredSettings SettingsToStore() const;
    // The defaults, with the emulator's name its setup's.
    settings::StoredSettings DefaultSettings() const;
    void ApplySettings(const settings::StoredSettings& stored);
    // Saves, and tells the user when the file cannot be written: the program
    // works on with the values it holds.
    void SaveSettingsOrTell();

    // Start-up steps
    void LoadOrCreateSettings();
    bool FindOrAskForEmulator();
    void CreateDataFileWhenMissing();
    void ReadSnapshotFolder();

    // The game list
    void CreateGameDataFile();
    // RebuildGameList without the telling: failures pass to the caller.
    void RefillGameList();
    void ShowFailedListing(const gamelist::ListingCapture& capture, const std::string& keptFile);
    template <typename Fill>
    void FillGameList(Fill&& fill);
    void UpdateCountCaption();

    // The audit's steps
    std::optional<std::string> FirstRomFolderToAudit();
    std::string AskForBadSetFolder();
    audit::RomAuditResult RunAuditWithProgress(const std::string& firstRomFolder,
                                               const std::string& target);
    void ReportAuditEnd(const audit::RomAuditResult& result, const std::string& target);

    bool activated_ = false;
    std::unique_ptr<ListReadAhead> readAhead_;
    // Messages and questions so far: a start-up that stopped for one reads
    // the list afresh, since the user may have changed files meanwhile.
    int userTurns_ = 0;
    // The audit pumps events while it waits: a second click must not start another.
    bool auditRunning_ = false;
    int auditParallelism_ = 0;
    bool auditSeveralSetChecks_ = true;

    std::string appDir_;
    std::unique_ptr<EmulatorSetup> emulator_;
    UiPort& ui_;
    WindowState state_;
};

// The About box's text, five lines.
std::string AboutText();

}  // namespace lorvane::form
