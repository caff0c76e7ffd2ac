// The snapshot preview: the selected game's picture beside the list, while the
// preview is on.
#include "form/main_form.h"
#include "mame/rom_name.h"
#include "platform/file_exists.h"

namespace lorvane::form {
namespace {

constexpr const char* kBlankPage = "about:blank";

}  // namespace

void MainForm::ShowSnapshotOfSelectedGame() {
    if (!state_.previewOn) return;
    const int index = state_.gameList.SelectedIndex();
    if (index < 0) return;
    const std::string name = mame::ExtractRomName(state_.gameList.Entry(index));
    const std::string path = state_.snapshotFolder + name + ".png";
    const std::string page = platform::FileExists(path) ? path : kBlankPage;
    state_.snapshotPane.page = page;
    ui_.ShowSnapshot(page);
    ui_.StateChanged();
}

// Switching on shows an empty pane; a pane that cannot show pictures leaves
// the preview off, and says so.
void MainForm::TogglePreview() {
    SnapshotPane& pane = state_.snapshotPane;
    try {
        if (state_.previewOn) {
            state_.previewOn = false;
            pane.visible = false;
            LayOutControls();
        } else {
            state_.previewOn = true;
            pane.visible = true;
            pane.page = kBlankPage;
            ui_.ShowSnapshot(kBlankPage);
            if (!ui_.PaneCanShowPictures())
                throw util::Failure(util::ErrNo::ObjectDoesNotSupportProperty,
                                    "Object doesn't support this property or method");
            LayOutControls();
        }
    } catch (const std::exception&) {
        state_.previewOn = false;
        pane.visible = false;
        LayOutControls();
        ui_.StateChanged();
        ShowMessage("This feature is not supported with your version of Internet Explorer.",
                    "Feature Not supported", MessageIcon::Information);
    }
    ui_.StateChanged();
}

}  // namespace lorvane::form
