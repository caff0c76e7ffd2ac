// The start-up: the files the program needs are made sure of, then the list
// is filled; a missing emulator or a failing step ends the program.
#include "form/main_form.h"
#include "gamelist/available_games.h"
#include "platform/file_exists.h"
#include "platform/paths.h"
#include "util/text.h"

namespace lorvane::form {
namespace {

// A failing step is abandoned and its failure becomes the pending error; the
// check goes on with its next step.
template <typename Step>
void ResumeNext(util::PendingError& pending, Step&& step) {
    try {
        std::forward<Step>(step)();
    } catch (const util::Failure& f) {
        pending.Set(f);
    } catch (const std::exception& e) {
        pending.Set(util::ErrNo::PathFileAccessError, e.what());
    }
}

}  // namespace

void MainForm::StartUp() {
    const int userTurns = userTurns_;
    CheckRequiredFiles();
    if (userTurns_ != userTurns) readAhead_.reset();
    if (state_.pendingError.IsSet())
        ReportStartUpFailure();
    else
        RebuildGameList();
    readAhead_.reset();
}

// Each file test clears the pending error and leaves its own failure there, so
// the error read afterwards is that of the last step that left one.
void MainForm::CheckRequiredFiles() {
    state_.pendingError.Clear();
    LoadOrCreateSettings();
    if (!FindOrAskForEmulator()) return;
    CreateDataFileWhenMissing();
    ResumeNext(state_.pendingError, [this] { ReadSnapshotFolder(); });
    if (!state_.previewOn) state_.snapshotPane.visible = false;
    SaveSettingsOrTell();
    ui_.StateChanged();
}

void MainForm::LoadOrCreateSettings() {
    util::PendingError& pending = state_.pendingError;
    if (platform::FileExists(settings::SettingsFilePath(appDir_), pending)) {
        ResumeNext(pending, [this] { LoadSettings(); });
        return;
    }
    ShowMessage("LVN.ini not found.  A new one will be generated", "Generating LVN.ini",
                MessageIcon::None);
    ResumeNext(pending, [this] { settings::WriteSettings(appDir_, DefaultSettings()); });
    ResumeNext(pending, [this] { LoadSettings(); });
}

// False (with the pending error 9999) when there is no emulator, even after asking.
bool MainForm::FindOrAskForEmulator() {
    util::PendingError& pending = state_.pendingError;
    if (emulator_->Find(state_.emulatorFileName, pending)) return true;
    ++userTurns_;
    const EmulatorQuestion question = emulator_->Question();
    state_.emulatorFileName = ui_.AskForText(question.prompt, question.title, question.preset);
    ui_.StateChanged();
    const bool blank = util::TrimSpaces(state_.emulatorFileName).empty();
    if (blank || !emulator_->Find(state_.emulatorFileName, pending)) {
        pending.Set(util::ErrNo::ExecutableNotFound, "MAME executable not found");
        return false;
    }
    return true;
}

void MainForm::CreateDataFileWhenMissing() {
    util::PendingError& pending = state_.pendingError;
    if (platform::FileExists(platform::JoinPath(appDir_, state_.dataFileName), pending)) return;
    ShowMessage(state_.dataFileName + " not found.  A new one will be generated.",
                "Generating Game Data file", MessageIcon::None);
    ResumeNext(pending, [this] {
        try {
            CreateGameDataFile();
        } catch (const gamelist::DataFileFailure&) {
            // No data file: the list rebuild after the check says so, once.
        }
    });
}

void MainForm::ReadSnapshotFolder() {
    if (auto folder = emulator_->SnapshotFolder(state_.emulatorFileName, state_.pendingError))
        state_.snapshotFolder = std::move(*folder);
}

void MainForm::ReportStartUpFailure() {
    const util::PendingError& pending = state_.pendingError;
    if (pending.number == util::ErrNo::ExecutableNotFound) {
        const EmulatorQuestion question = emulator_->Question();
        ShowMessage(question.notFoundText, question.notFoundTitle, MessageIcon::Critical);
    } else {
        ReportError(pending.number, pending.description);
    }
    ui_.CloseWindow();
}

}  // namespace lorvane::form
