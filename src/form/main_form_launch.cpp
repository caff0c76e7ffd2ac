// Starting a game: the settings are saved, the emulator checks the game's ROM
// set, and only a set it calls good is started, with the joystick option.
#include "form/main_form.h"
#include "mame/commands.h"
#include "mame/rom_name.h"

namespace lorvane::form {
namespace {

// The option each joystick mode adds to the emulator's command line, by index.
constexpr const char* const kJoystickOptions[kJoystickModeCount] = {" -joy", "", " -hotrod",
                                                                    " -hotrodse"};

}  // namespace

void MainForm::SelectJoystickMode(std::int16_t index) {
    state_.joystickChecks.fill(false);
    if (index < 0 || index >= kJoystickModeCount) {
        ui_.StateChanged();
        throw util::Failure(util::ErrNo::ControlArrayElementMissing,
                            "Control array element '" + std::to_string(index) + "' doesn't exist");
    }
    state_.joystickChecks[static_cast<std::size_t>(index)] = true;
    state_.joystickOption = kJoystickOptions[index];
    state_.joystickIndex = std::to_string(index);
    ui_.StateChanged();
}

void MainForm::LaunchSelectedGame() {
    const int index = state_.gameList.SelectedIndex();
    if (index < 0) return;  // nothing selected: nothing to start

    SaveSettingsOrTell();
    const std::string name = mame::ExtractRomName(state_.gameList.Entry(index));
    const EmulatorProgram emulator = emulator_->ProgramFor(state_.emulatorFileName);
    const platform::CommandLine check =
        mame::VerifyCommand(emulator.dir, emulator.name, name, state_.joystickOption);
    const platform::CaptureResult result = platform::RunCapture(check, true, true);
    if (!result.started) return ReportEmulatorNotStarted(check.front(), result.startErrno);
    if (!mame::VerdictPasses(result.text)) {
        ShowMessage(result.text, "Rom Error Info", MessageIcon::Information);
        return;
    }
    const platform::CommandLine launch =
        mame::LaunchCommand(emulator.dir, emulator.name, name, state_.joystickOption);
    const platform::DetachedStartResult started = ui_.StartDetached(launch);
    if (!started.started) ReportEmulatorNotStarted(launch.front(), started.startErrno);
}

}  // namespace lorvane::form
