#include "command_capture.h"
#include "emulator_commands.h"
#include "file_exists.h"
#include "file_io.h"
#include "game_list.h"

namespace lorvane::Frontend_code {

void ReportNoDataFile(UiPort& ui) {
    ui.MsgBox("Press button on menu to create Mame data file", "ERROR", MsgIcon::Critical);
}

void CreateGameDataFile(MainFormHost& form) {
    form.Ui().MsgBox(
        "Please be patient as the data file is created.  This should take approx. 5 seconds and "
        "only needs to be generated once for each new beta.",
        "Please be Patient", MsgIcon::Information);

    const WindowState& state = form.State();
    const std::string dataName = state.LVNGameList;
    const std::string dataPath = form.AppDir() + "/" + dataName;
    CaptureResult listing = RunCapture(ListFullCommand(form.AppDir(), state.MameExeName), true, true);

    // An emulator that printed nothing (or could not start), or that was killed
    // part way, gave no usable listing: it must not replace a good data file.
    if (listing.text.empty() || listing.signaled) {
        if (!Clean_code::FileExists(dataPath)) {
            ReportNoDataFile(form.Ui());
            return;
        }
        const std::string why = listing.signaled
                                    ? "The emulator stopped before finishing its game listing"
                                    : "The emulator gave no game listing";
        form.Ui().MsgBox(why + ", so the existing game data file " + dataName +
                             " was kept and the game list was loaded from it.",
                         "Game Data file kept", MsgIcon::Exclamation);
        StartFrontend(form);
        return;
    }

    listing.text += "\r\n";
    WriteFileAtomically(dataPath, listing.text);
    if (Clean_code::FileExists(dataPath))
        StartFrontend(form);
    else
        ReportNoDataFile(form.Ui());
}

}  // namespace lorvane::Frontend_code
