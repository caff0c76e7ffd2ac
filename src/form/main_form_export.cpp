// Export Available Rom list: the list's entries, one a line, in AvailROM.txt.
#include "form/main_form.h"
#include "platform/file_io.h"
#include "platform/paths.h"

namespace lorvane::form {
namespace {

constexpr const char* kExportFileName = "AvailROM.txt";

}  // namespace

void MainForm::ExportAvailableGames() {
    try {
        const ComboBox& list = state_.gameList;
        if (list.Count() == 0) {
            ShowMessage("No Rom to export list for", "No Roms to Export List",
                        MessageIcon::Exclamation);
            return;
        }
        std::string text;
        for (const std::string& entry : list.Entries()) text += entry + "\r\n";
        platform::WriteFileAtomically(platform::JoinPath(appDir_, kExportFileName), text + "\r\n");
        ShowMessage("Available Rom list exported to AvailROM.txt ", "Summary Report Written",
                    MessageIcon::Information);
    } catch (const std::exception& e) {
        // The file's name and the system's reason: the earlier file is kept.
        ShowMessage(
            std::string("The available rom list could not be written to AvailROM.txt:\r\n") +
                e.what(),
            "Not Supported Feature", MessageIcon::Information);
    }
}

}  // namespace lorvane::form
