#include "file_io.h"
#include "main_form.h"
#include "platform_paths.h"

namespace lorvane {

void MAIN_form::Export_ROM_list_Click() {
    try {
        const ComboBox& list = state_.Combo1;
        if (list.ListCount() == 0) {
            MsgBox("No Rom to export list for", "No Roms to Export List", MsgIcon::Exclamation);
            return;
        }
        std::string text;
        for (const std::string& entry : list.Entries()) text += entry + "\r\n";
        WriteFileAtomically(appDir_ + kPathSeparator + "AvailROM.txt", text + "\r\n");
        MsgBox("Available Rom list exported to AvailROM.txt ", "Summary Report Written",
               MsgIcon::Information);
    } catch (const std::exception&) {
        MsgBox("This Feature is not supported with your version of Internet Explorer",
               "Not Supported Feature", MsgIcon::Information);
    }
}

}  // namespace lorvane
