// The settings file seen from the window: what is stored comes from the
// state, and what is read is applied to it step by step.
#include "form/main_form.h"

namespace lorvane::form {

settings::StoredSettings MainForm::SettingsToStore() const {
    return {state_.emulatorFileName, state_.dataFileName, state_.joystickIndex,
            state_.previewOn ? "True" : "False"};
}

void MainForm::ApplySettings(const settings::StoredSettings& stored) {
    state_.emulatorFileName = stored.emulatorFileName;
    state_.dataFileName = stored.dataFileName;
    state_.joystickIndex = stored.joystickIndex;
    // Only ever switches the preview on: the command is a toggle.
    if (settings::ToBoolean(stored.previewOn)) TogglePreview();
    SelectJoystickMode(settings::ToInt16(state_.joystickIndex));
}

settings::StoredSettings MainForm::DefaultSettings() const {
    settings::StoredSettings defaults = settings::DefaultSettings();
    defaults.emulatorFileName = emulator_->DefaultName();
    return defaults;
}

void MainForm::LoadSettings() { ApplySettings(settings::ReadSettings(appDir_)); }

void MainForm::SaveSettings() { settings::WriteSettings(appDir_, SettingsToStore()); }

void MainForm::SaveSettingsOrTell() {
    try {
        SaveSettings();
    } catch (const util::Failure& f) {
        ShowMessage("The settings could not be saved to LVN.ini.\r\n" + f.Description(),
                    "Settings not saved", MessageIcon::Exclamation);
    }
}

// The defaults written over the four keys and applied; the list is not rebuilt.
void MainForm::ResetSettingsToDefaults() {
    try {
        settings::WriteSettings(appDir_, DefaultSettings());
        LoadSettings();
    } catch (const util::Failure& f) {
        ReportFailure(f);
    }
}

}  // namespace lorvane::form
