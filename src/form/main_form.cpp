#include "form/main_form.h"

#include "platform/paths.h"

namespace lorvane::form {

MainForm::MainForm(std::string appDir, UiPort& ui) : appDir_(std::move(appDir)), ui_(ui) {
    while (appDir_.size() > 1 && platform::IsPathSeparator(appDir_.back())) appDir_.pop_back();
    emulator_ = PortableEmulatorSetup(appDir_);
}

void MainForm::OnActivated() {
    if (activated_) return;
    activated_ = true;
    Handle([this] { StartUp(); });
}

void MainForm::SetOuterSize(int widthTwips, int heightTwips) {
    state_.windowWidth = widthTwips;
    state_.windowHeight = heightTwips;
    LayOutControls();
}

void MainForm::LayOutControls() {
    if (LayOut(state_.layout, state_.windowWidth, state_.windowHeight, state_.previewOn))
        ui_.StateChanged();
}

void MainForm::Run(Command command) {
    Handle([this, command] {
        switch (command) {
            case Command::TogglePreview:
                return TogglePreview();
            case Command::ExportAvailableGames:
                return ExportAvailableGames();
            case Command::MoveBadRomSets:
                return MoveBadRomSets();
            case Command::ResetSettingsToDefaults:
                return ResetSettingsToDefaults();
            case Command::RecreateGameList:
                return RecreateGameList();
            case Command::ShowAbout:
                return ShowAbout();
            case Command::JoystickSettings:
                return;  // a heading: runs nothing
            default:
                break;
        }
        if (const int mode = JoystickModeOf(command); mode >= 0)
            SelectJoystickMode(static_cast<std::int16_t>(mode));
    });
}

bool MainForm::IsChecked(Command command) const {
    if (command == Command::TogglePreview) return state_.previewOn;
    const int mode = JoystickModeOf(command);
    return mode >= 0 && state_.joystickChecks[static_cast<std::size_t>(mode)];
}

void MainForm::ShowMessage(const std::string& text, MessageIcon icon) {
    ShowMessage(text, kAppTitle, icon);
}

void MainForm::ShowMessage(const std::string& text, const std::string& title, MessageIcon icon) {
    ++userTurns_;
    ui_.ShowMessage(text, title.empty() ? std::string(kAppTitle) : title, icon);
}

void MainForm::ReportError(std::int32_t number, const std::string& description) {
    ShowMessage("An Error has occured Err.number = " + std::to_string(number) +
                    " Err.description = " + description,
                "An Error has occurred", MessageIcon::Critical);
}

void MainForm::ReportFailure(const util::Failure& failure) {
    ReportError(failure.Number(), failure.Description());
}

void MainForm::ReportEmulatorNotStarted(const std::string& program, int startError,
                                        const std::string& more) {
    ShowMessage("The emulator could not be started:\r\n" + program + "\r\n" +
                    platform::DescribeStartError(startError) + more,
                "Emulator not started", MessageIcon::Critical);
}

void MainForm::ReportNoDataFile() {
    ShowMessage("Press button on menu to create Mame data file", "ERROR", MessageIcon::Critical);
}

std::string AboutText() {
    return "Dunmere v1.6\r\n"
           "By the Lorvane developers\r\n"
           "For information on MAME please visit https://www.mamedev.org/\r\n"
           "For more feature rich frontends for use with M.A.M.E please visit\r\n"
           "https://github.com/topics/mame-launcher";
}

void MainForm::ShowAbout() { ShowMessage(AboutText(), "Dunmere", MessageIcon::Information); }

}  // namespace lorvane::form
