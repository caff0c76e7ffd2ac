// The window's handlers on the model: launch, type-ahead, layout, preview,
// joystick menu, export, About.
#include <gtest/gtest.h>

#include "app_dir_fixture.h"
#include "fake_ui.h"
#include "main_form.h"
#include "standin.h"

namespace lorvane::test {
namespace {

class HandlersTest : public AppDirTest {
protected:
    void SetUp() override {
        AppDirTest::SetUp();
        form_.State().MameExeName = "mame";
        form_.State().Combo1.AddItems({"Pong (Rev E) [TTL]    [pong]", "Pac-Man (Midway)    [pacman]",
                                       "Pac-Land (World)    [pacland]", "Galaga    [galaga]"});
    }
    int Select(const std::string& entry) {
        auto& list = form_.State().Combo1;
        for (int i = 0; i < list.ListCount(); ++i)
            if (list.List(i) == entry) {
                list.SetListIndex(i);
                return i;
            }
        ADD_FAILURE() << "no entry " << entry;
        return -1;
    }

    FakeUi ui_;
    MAIN_form form_{App(), ui_};
};

TEST_F(HandlersTest, LaunchChecksTheSetWithTheJoystickOptionThenStartsIt) {
    InstallStandIn(dir_.Path(), "mame");
    std::filesystem::create_directories(dir_ / "mame.verify");
    WriteFile(dir_ / "mame.verify" / "pong", "romset pong is best available\n1 romsets found, 1 were OK.\n");
    Select("Pong (Rev E) [TTL]    [pong]");

    form_.JOY_SEL_Click(0);
    form_.Combo1_DblClick();
    form_.JOY_SEL_Click(3);
    std::int16_t enter = 13;
    form_.Combo1_KeyPress(enter);
    EXPECT_EQ(enter, 13) << "Enter is not cancelled";

    EXPECT_EQ(StandInArgs(dir_.Path(), "mame"), "pong\t-joy\t-verifyroms\npong\t-hotrodse\t-verifyroms\n");
    ASSERT_EQ(ui_.starts.size(), 2u);
    EXPECT_EQ(ui_.starts[0], (CommandLine{App() + "/mame", "pong", "-joy"}));
    EXPECT_EQ(ui_.starts[1], (CommandLine{App() + "/mame", "pong", "-hotrodse"}));
    EXPECT_TRUE(ui_.messages.empty());
    // Every launch attempt saves the settings first.
    EXPECT_NE(ReadFile(dir_ / "LVN.ini").find("Joy=3\r\n"), std::string::npos);
}

TEST_F(HandlersTest, AFailingCheckShowsTheWholeReportAndStartsNothing) {
    InstallStandIn(dir_.Path(), "mame");
    Select("Pac-Man (Midway)    [pacman]");
    form_.JOY_SEL_Click(1);
    form_.Combo1_DblClick();
    EXPECT_EQ(StandInArgs(dir_.Path(), "mame"), "pacman\t-verifyroms\n");
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].text, "romset \"pacman\" not found!\n");
    EXPECT_EQ(ui_.messages[0].title, "Rom Error Info");
    EXPECT_EQ(ui_.messages[0].icon, MsgIcon::Information);
    EXPECT_TRUE(ui_.starts.empty());

    // No selection: nothing is checked or started.
    form_.State().Combo1.SetListIndex(-1);
    form_.Combo1_DblClick();
    EXPECT_EQ(StandInArgs(dir_.Path(), "mame"), "pacman\t-verifyroms\n");

    // An emulator that cannot be started is said so, not shown as an empty report.
    form_.State().MameExeName = "missing";
    Select("Galaga    [galaga]");
    form_.Combo1_DblClick();
    ASSERT_EQ(ui_.messages.size(), 2u);
    EXPECT_EQ(ui_.messages[1].title, "Emulator not started");
    EXPECT_NE(ui_.messages[1].text.find(App() + "/missing"), std::string::npos);
    EXPECT_TRUE(ui_.starts.empty());
}

TEST_F(HandlersTest, ResizeFollowsTheThresholdsAndThePreviewState) {
    auto& s = form_.State();
    const auto unchanged = [&] {
        return std::make_tuple(s.Combo1Size.width, s.Combo1Size.height, s.MameExeNameSize.width,
                               s.brwPNGBrowser.left);
    };
    auto before = unchanged();
    for (auto [w, h] : {std::pair{4799, 6000}, {9000, 1169}, {0, 0}}) {
        form_.SetOuterSize(w, h);
        EXPECT_EQ(unchanged(), before) << w << "x" << h;
    }
    form_.SetOuterSize(9000, 6000);
    EXPECT_EQ(s.Combo1Size.width, 8640);
    EXPECT_EQ(s.Combo1Size.height, 4830);
    EXPECT_EQ(s.MameExeNameSize.width, 7080);
    EXPECT_EQ(s.brwPNGBrowser.left, 5520) << "the hidden pane does not move";

    form_.Preview_Click();
    EXPECT_EQ(s.Combo1Size.width, 4200);
    EXPECT_EQ(s.brwPNGBrowser.left, 4440);
    form_.SetOuterSize(4800, 1170);
    EXPECT_EQ(s.Combo1Size.width, 0);
    EXPECT_EQ(s.Combo1Size.height, 0);
    EXPECT_EQ(s.brwPNGBrowser.left, 240);
    EXPECT_EQ(s.MameExeNameSize.width, 2880);

    // A narrow window with the preview on does not make the list narrow for good.
    form_.Preview_Click();
    EXPECT_EQ(s.Combo1Size.width, 4440);
    form_.SetOuterSize(8000, 5000);
    EXPECT_EQ(s.Combo1Size.width, 7640);
}

TEST_F(HandlersTest, JoystickMenuChecksExactlyOneItem) {
    auto& s = form_.State();
    form_.JOY_SEL_Click(2);
    form_.JOY_SEL_Click(2);
    EXPECT_EQ(s.JOY_SEL, (std::array<bool, 4>{false, false, true, false}));
    EXPECT_EQ(s.Text3, " -hotrod");
    EXPECT_EQ(s.Text4, "2");
    EXPECT_THROW(form_.JOY_SEL_Click(4), Failure);
    EXPECT_EQ(s.JOY_SEL, (std::array<bool, 4>{}));
    EXPECT_EQ(s.Text3, " -hotrod");
}

TEST_F(HandlersTest, ExportWritesEveryEntryAndReplacesTheFile) {
    form_.Export_ROM_list_Click();
    form_.Export_ROM_list_Click();
    EXPECT_EQ(ReadFile(dir_ / "AvailROM.txt"),
              "Galaga    [galaga]\r\nPac-Land (World)    [pacland]\r\nPac-Man (Midway)    [pacman]\r\n"
              "Pong (Rev E) [TTL]    [pong]\r\n\r\n");
    ASSERT_EQ(ui_.messages.size(), 2u);
    EXPECT_EQ(ui_.messages[0].text, "Available Rom list exported to AvailROM.txt ");
    EXPECT_EQ(ui_.messages[0].title, "Summary Report Written");

    form_.State().Combo1.Clear();
    form_.Export_ROM_list_Click();
    EXPECT_EQ(ui_.messages.back().text, "No Rom to export list for");
    EXPECT_EQ(ui_.messages.back().icon, MsgIcon::Exclamation);
    EXPECT_NE(ReadFile(dir_ / "AvailROM.txt").find("Galaga"), std::string::npos);
}

TEST_F(HandlersTest, CreateDefaultIniResetsTheFileAndLoadsItWithoutTouchingTheList) {
    form_.Preview_Click();
    form_.JOY_SEL_Click(3);
    form_.State().LVNGameList = "other.txt";
    form_.create_def_ini_Click();
    const auto& s = form_.State();
    EXPECT_EQ(s.MameExeName, "MAME.exe");
    EXPECT_EQ(s.LVNGameList, "LVN_LIST.txt");
    EXPECT_EQ(s.JOY_SEL, (std::array<bool, 4>{false, true, false, false}));
    EXPECT_TRUE(s.Preview) << "False in the file does not switch the preview off";
    EXPECT_EQ(s.Combo1.ListCount(), 4);
    EXPECT_NE(ReadFile(dir_ / "LVN.ini").find("Preview_on=False\r\n"), std::string::npos);
}

}  // namespace
}  // namespace lorvane::test
