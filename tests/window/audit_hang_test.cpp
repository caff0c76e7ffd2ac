// An emulator that never answers: Cancel in the progress window ends the
// checks in flight and the audit finishes cleanly, moving nothing.
#include <gtest/gtest.h>

#include <filesystem>

#include "app_dir_fixture.h"
#include "fake_ui.h"
#include "game_list.h"
#include "main_form.h"
#include "standin.h"

namespace fs = std::filesystem;

namespace lorvane::test {
namespace {

class AuditHangTest : public AppDirTest {};

TEST_F(AuditHangTest, CancelEndsTheChecksInFlightOfAnEmulatorThatHangs) {
    TempDir target;
    FakeUi ui;
    ui.folderAnswer = target.Str();
    MAIN_form form(App(), ui);
    form.State().MameExeName = "mame";
    InstallStandIn(dir_.Path(), "mame");
    fs::create_directories(dir_ / "roms");
    std::string data = "Name:             Description:\n";
    for (const char* set : {"s0", "s1", "s2"}) {
        data += std::string(set) + "                \"Game " + set + "\"\n";
        WriteFile(dir_ / "roms" / (std::string(set) + ".zip"), "");
    }
    WriteFile(dir_ / "LVN_LIST.txt", data + "\n");
    Frontend_code::StartFrontend(form);
    ASSERT_EQ(form.State().Combo1.ListCount(), 3);

    WriteFile(dir_ / "mame.mode", "hang");
    int pumpsWhenCancelled = -1;
    ui.onPump = [&] {
        if (ui.progressOpen && pumpsWhenCancelled < 0 && ui.pumps > 20) {
            pumpsWhenCancelled = ui.pumps;
            ui.cancelRequested = true;
        }
    };
    form.Move_bad_roms_Click();

    EXPECT_GT(pumpsWhenCancelled, 0) << "the audit kept the window live while it waited";
    EXPECT_EQ(ListDir(dir_ / "roms"), "s0.zip s1.zip s2.zip");
    EXPECT_EQ(ListDir(target.Path()), "");
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.back().text, "0 bad roms found.");
    EXPECT_EQ(ui.progressCloses, 1);
    EXPECT_FALSE(ui.progressOpen);
}

}  // namespace
}  // namespace lorvane::test
