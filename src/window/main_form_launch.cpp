#include <algorithm>

#include "command_capture.h"
#include "emulator_commands.h"
#include "game_list.h"
#include "main_form.h"
#include "rom_name.h"
#include "settings.h"

namespace lorvane {

namespace {
constexpr const char* const kJoystickOptions[] = {" -joy", "", " -hotrod", " -hotrodse"};
}

void MAIN_form::JOY_SEL_Click(std::int16_t index) {
    state_.JOY_SEL.fill(false);
    if (index < 0 || index >= static_cast<int>(state_.JOY_SEL.size())) {
        RefreshView();
        throw Failure(ErrNo::ControlArrayElementMissing,
                      "Control array element '" + std::to_string(index) + "' doesn't exist");
    }
    state_.JOY_SEL[static_cast<std::size_t>(index)] = true;
    state_.Text3 = kJoystickOptions[index];
    state_.Text4 = std::to_string(index);
    RefreshView();
}

void MAIN_form::Combo1_DblClick() {
    const int index = state_.Combo1.ListIndex();
    if (index < 0) return;  // nothing selected: nothing to start

    try {
        Clean_code::SaveSettings(*this);
    } catch (const Failure& f) {
        MsgBox("The settings could not be saved to LVN.ini.\r\n" + f.Description(),
               "Settings not saved", MsgIcon::Exclamation);
    }

    const std::string name = Frontend_code::ExtractRomName(state_.Combo1.List(index));
    const CommandLine check = VerifyCommand(appDir_, state_.MameExeName, name, state_.Text3);
    const CaptureResult result = RunCapture(check, true, true);
    if (!result.started) return Frontend_code::ReportNotStarted(ui_, check.front(), result.startErrno);
    if (!VerdictPasses(result.text)) {
        MsgBox(result.text, "Rom Error Info", MsgIcon::Information);
        return;
    }
    const CommandLine launch = LaunchCommand(appDir_, state_.MameExeName, name, state_.Text3);
    const DetachedStartResult started = ui_.StartDetached(launch);
    if (!started.started) Frontend_code::ReportNotStarted(ui_, launch.front(), started.startErrno);
}

void MAIN_form::Combo1_KeyPress(std::int16_t& keyAscii) {
    if (keyAscii == 13) {
        Combo1_DblClick();
        return;
    }
    if (keyAscii == 27 || keyAscii == 8 || keyAscii <= 0 || keyAscii > 255) return;
    Combo1_TypeAhead(std::string(1, static_cast<char>(keyAscii)));
    keyAscii = 0;
}

void MAIN_form::Combo1_TypeAhead(const std::string& typed) {
    ComboBox& list = state_.Combo1;
    const std::size_t length = list.text.size();
    const auto start = static_cast<std::size_t>(std::clamp(list.selStart, 0, static_cast<int>(length)));
    const std::string prefix =
        (list.selLength <= 0 ? list.text : list.text.substr(0, start)) + typed;

    if (list.SelectString(prefix) >= 0) {
        // Select the completed rest, so the next character replaces it.
        list.selStart = static_cast<int>(prefix.size());
        list.selLength = static_cast<int>(list.text.size() - prefix.size());
    } else {
        list.SetListIndex(-1);
        list.text = prefix;
        list.selStart = static_cast<int>(prefix.size());
        list.selLength = 0;
    }
    RefreshView();
}

}  // namespace lorvane
