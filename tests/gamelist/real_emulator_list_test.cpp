#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "fake_host.h"
#include "game_list.h"
#include "real_emulator.h"
#include "temp_dir.h"

namespace lorvane::Frontend_code {
namespace {

namespace fs = std::filesystem;
using Entries = std::vector<std::string>;

// Runs inside an application directory around Debian's emulator: its ini names
// the relative directory roms, so the process works from that directory, with
// HOME there too so the emulator writes nothing into the real home.
class RealEmulatorListTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!test::RealEmulatorAvailable()) GTEST_SKIP() << test::kRealEmulator << " is not installed";
        test::PrepareRealEmulatorDir(t_.Path());
        oldDir_ = fs::current_path();
        if (const char* home = std::getenv("HOME")) oldHome_ = home;
        fs::current_path(t_.Path());
        setenv("HOME", t_.Str().c_str(), 1);
        form_.state.MameExeName = "mame";
    }
    void TearDown() override {
        if (oldDir_.empty()) return;
        fs::current_path(oldDir_);
        if (oldHome_)
            setenv("HOME", oldHome_->c_str(), 1);
        else
            unsetenv("HOME");
    }

    test::TempDir t_;
    test::FakeHost form_{t_.Str()};
    fs::path oldDir_;
    std::optional<std::string> oldHome_;
};

TEST_F(RealEmulatorListTest, CapturesTheListingAndListsThePresentSets) {
    for (const char* set : {"pong", "breakout", "natodef", "elan_eu3a05commonsys"})
        test::WriteFile(fs::path("roms") / (std::string(set) + ".zip"), "");
    const Entries expected = {"Breakout [TTL]    [breakout]",
                              "Elan EU3A05/EU3A14 Common System    [elan_eu3a05commonsys]",
                              "NATO Defense    [natodef]",
                              "NATO Defense (alternate mazes)    [natodefa]",
                              "Pong (Rev E) [TTL]    [pong]"};

    CreateGameDataFile(form_);

    const std::string data = test::ReadFile(t_ / "LVN_LIST.txt");
    EXPECT_EQ(std::count(data.begin(), data.end(), '\n'), 45295 + 1);
    EXPECT_TRUE(data.starts_with("Name:"));
    EXPECT_TRUE(data.ends_with("\"\n\r\n"));
    EXPECT_EQ(form_.ui.messages.size(), 1u);  // only the request for patience
    EXPECT_EQ(form_.state.Combo1.Entries(), expected);
    EXPECT_EQ(form_.state.caption, "Lorvane   (romcount = 5)");

    // A later rebuild from the file gives the same list.
    form_.state.Combo1.AddItem("Stale    [stale]");
    StartFrontend(form_);
    EXPECT_EQ(form_.state.Combo1.Entries(), expected);
    EXPECT_EQ(form_.state.caption, "Lorvane   (romcount = 5)");
}

}  // namespace
}  // namespace lorvane::Frontend_code
