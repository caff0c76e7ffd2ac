#include <utility>

#include "emulator_commands.h"
#include "emulator_ini.h"
#include "file_exists.h"
#include "game_list.h"
#include "main_form.h"
#include "settings.h"
#include "text_util.h"

namespace lorvane {
namespace {

// Resume-next: a failing operation is abandoned and its failure becomes the
// pending error; the caller goes on with its next operation.
template <typename Fn>
void ResumeNext(PendingError& err, Fn&& fn) {
    try {
        std::forward<Fn>(fn)();
    } catch (const Failure& f) {
        err.Set(f);
    } catch (const std::exception& e) {
        err.Set(ErrNo::PathFileAccessError, e.what());
    }
}

}  // namespace

void MAIN_form::OnActivated() {
    if (activated_) return;
    activated_ = true;
    Form_Activate();
}

void MAIN_form::Form_Activate() {
    CheckForRunTimeFiles();
    if (state_.err.number != ErrNo::None)
        ErrorHandler();
    else
        RebuildList();
    RefreshView();
}

void MAIN_form::CheckForRunTimeFiles() {
    PendingError& err = state_.err;
    err.Clear();

    // 1. Settings file
    if (Clean_code::FileExists(Clean_code::SettingsFilePath(appDir_), err)) {
        ResumeNext(err, [&] { Clean_code::LoadSettings(*this); });
    } else {
        MsgBox("LVN.ini not found.  A new one will be generated", "Generating LVN.ini", MsgIcon::None);
        ResumeNext(err, [&] { Clean_code::WriteDefaultSettings(appDir_); });
        ResumeNext(err, [&] { Clean_code::LoadSettings(*this); });
    }

    // 2. Emulator executable
    if (!Clean_code::FileExists(JoinAppPath(appDir_, state_.MameExeName), err)) {
        state_.MameExeName = ui_.InputBox(
            "MAME was not found in the same directory as LVN.\r\n"
            "  What is your MAME executable names?(include .exe)",
            "Enter your mame executable name.", "mame.exe");
        RefreshView();
        const bool blank = TrimSpaces(state_.MameExeName).empty();
        if (blank || !Clean_code::FileExists(JoinAppPath(appDir_, state_.MameExeName), err)) {
            err.Set(ErrNo::ExecutableNotFound, "MAME executable not found");
            return;
        }
    }

    // 3. Game data file
    if (!Clean_code::FileExists(JoinAppPath(appDir_, state_.LVNGameList), err)) {
        MsgBox(state_.LVNGameList + " not found.  A new one will be generated.",
               "Generating Game Data file", MsgIcon::None);
        ResumeNext(err, [&] {
            try {
                Frontend_code::CreateGameDataFile(*this);
            } catch (const Frontend_code::DataFileFailure&) {
                // No data file: the list rebuild after the check says so, once.
            }
        });
    }

    // 4. Snapshot directory
    ResumeNext(err, [&] { Frontend_code::GetMameSnapshotDir(*this); });

    // 5. Preview pane
    if (!state_.Preview) state_.brwPNGBrowser.visible = false;

    // 6. Settings back to the file. A file that cannot be written is told, not
    // fatal: the program works on with the values it holds.
    try {
        Clean_code::SaveSettings(*this);
    } catch (const Failure& f) {
        MsgBox("The settings could not be saved to LVN.ini.\r\n" + f.Description(),
               "Settings not saved", MsgIcon::Exclamation);
    }
    RefreshView();
}

void MAIN_form::ErrorHandler() {
    const PendingError& err = state_.err;
    if (err.number == ErrNo::ExecutableNotFound) {
        MsgBox("The MAME executable was not found in the same Directory as LVN.exe",
               "MAME Executable not found!", MsgIcon::Critical);
    } else {
        ReportError(err.number, err.description);
    }
    ui_.CloseWindow();
}

}  // namespace lorvane
