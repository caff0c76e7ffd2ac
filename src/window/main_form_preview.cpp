#include "file_exists.h"
#include "main_form.h"
#include "rom_name.h"

namespace lorvane {

namespace {
constexpr const char* kBlankPage = "about:blank";
}

void MAIN_form::Combo1_Click() {
    if (!state_.Preview) return;
    const int index = state_.Combo1.ListIndex();
    if (index < 0) return;
    const std::string name = Frontend_code::ExtractRomName(state_.Combo1.List(index));
    const std::string path = state_.snap_path + name + ".png";
    const std::string target = Clean_code::FileExists(path) ? path : kBlankPage;
    state_.brwPNGBrowser.page = target;
    ui_.Navigate(target);
    RefreshView();
}

void MAIN_form::Preview_Click() {
    auto& pane = state_.brwPNGBrowser;
    try {
        if (state_.Preview) {
            state_.Preview = false;
            pane.visible = false;
            Form_Resize();
        } else {
            state_.Preview = true;
            pane.visible = true;
            pane.page = kBlankPage;
            ui_.Navigate(kBlankPage);
            if (!ui_.PaneCanShowPictures())
                throw Failure(438, "Object doesn't support this property or method");
            Form_Resize();
        }
    } catch (const std::exception&) {
        state_.Preview = false;
        pane.visible = false;
        Form_Resize();
        RefreshView();
        MsgBox("This feature is not supported with your version of Internet Explorer.",
               "Feature Not supported", MsgIcon::Information);
    }
    RefreshView();
}

}  // namespace lorvane
