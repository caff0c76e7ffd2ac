#include "game_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "fake_host.h"
#include "file_io.h"
#include "real_emulator.h"
#include "standin.h"
#include "temp_dir.h"

namespace lorvane::Frontend_code {
namespace {

namespace fs = std::filesystem;
using namespace std::literals;
using test::ReadFile;
using test::WriteFile;
using Entries = std::vector<std::string>;

constexpr const char* kHeader = "Name:             Description:\n";

class GameListTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* zip : {"roms/pong.zip", "roms/natodef.zip", "roms/qix.zip", "roms2/pong.zip",
                                "roms2/natodefa.zip"}) {
            fs::create_directories((t_ / zip).parent_path());
            WriteFile(t_ / zip, "");
        }
        WriteFile(t_ / "mame.ini", "rompath " + t_.Str() + "/roms\n");
        form_.state.MameExeName = "mame";
    }
    void Load(const std::string& dataFile) { LoadGameList(form_, dataFile, t_.Str() + "/roms/"); }
    const Entries& List() { return form_.state.Combo1.Entries(); }

    test::TempDir t_;
    test::FakeHost form_{t_.Str()};
};

// Each ini directory is loaded in turn, natodefa with natodef's set; a bad ini
// fails before the list is touched; the caption counts what is listed.
TEST_F(GameListTest, StartFrontendLoadsEveryIniDirectory) {
    WriteFile(t_ / "mame.ini", "rompath " + t_.Str() + "/roms;" + t_.Str() + "/roms2\n");
    WriteFile(t_ / "LVN_LIST.txt", kHeader + "natodef  \"NATO Defense\"\nnatodefa \"NATO Defense (alternate mazes)\"\n"
                                             "pong     \"Pong\"\nbreakout \"Breakout\"\n"s);
    form_.state.Combo1.AddItem("Old    [old]");
    StartFrontend(form_);
    EXPECT_EQ(List(), (Entries{"NATO Defense    [natodef]", kNatodefaEntry, kNatodefaEntry, "Pong    [pong]",
                               "Pong    [pong]"}));
    EXPECT_EQ(form_.state.caption, "Lorvane   (romcount = 5)");

    WriteFile(t_ / "mame.ini", "rompath roms;;roms2\n");
    EXPECT_THROW(StartFrontend(form_), Failure);
    EXPECT_EQ(List().size(), 5u);

    // Thousands of ROM directories, most of them missing.
    std::string romPath = "rompath ";
    for (int d = 0; d < 3000; ++d) {
        const fs::path dir = t_ / ("r" + std::to_string(d));
        romPath += (d ? ";" : "") + dir.string();
        if (d % 300 == 0) WriteFile((fs::create_directory(dir), dir / "pong.zip"), "");
    }
    WriteFile(t_ / "mame.ini", romPath + "\n");
    StartFrontend(form_);
    EXPECT_EQ(List(), Entries(10, "Pong    [pong]"));

    WriteFile(t_ / "mame.ini", "rompath\n");
    StartFrontend(form_);
    EXPECT_TRUE(List().empty());
    EXPECT_EQ(form_.state.caption, "Lorvane");
}

// Enormous lines load; a data file missing, a directory, a link loop or
// unreadable fails as the data file's failure, the list and caption untouched.
TEST_F(GameListTest, HostileDataFiles) {
    const std::string huge(20u << 20, 'x');
    WriteFile(t_ / "LVN_LIST.txt", kHeader + huge + "\r\nqix \"" + huge);  // the last description never ends
    Load("LVN_LIST.txt");
    const Entries loaded = {huge + "    [qix]"};
    EXPECT_TRUE(List() == loaded) << List().size() << " entries";
    EXPECT_GE(form_.ui.stateChanges, 1);

    fs::create_directory(t_ / "dir.txt");
    fs::create_symlink("loop2.txt", t_ / "loop1.txt");
    fs::create_symlink("loop1.txt", t_ / "loop2.txt");
    WriteFile(t_ / "locked.txt", kHeader + " pong \"Pong\"\n"s);  // root ignores mode bits: the read seam refuses
    SetReadFaultHook([](const std::string& path) { return path.ends_with("/locked.txt") ? EACCES : 0; });
    form_.state.caption = "before";
    for (const char* name : {"missing.txt", "dir.txt", "loop1.txt", "locked.txt"}) {
        EXPECT_THROW(Load(name), DataFileFailure) << name;
        EXPECT_TRUE(List() == loaded) << name;
        EXPECT_EQ(form_.state.caption, "before") << name;
    }
    try { Load("missing.txt"); } catch (const Failure& f) { EXPECT_EQ(f.Number(), ErrNo::FileNotFound); }
    SetReadFaultHook(nullptr);
}

// The listing's bytes (not UTF-8, NUL included) replace the data file whole; an
// emulator that prints nothing, is killed part way or cannot start never
// creates or replaces it.
TEST_F(GameListTest, CreateGameDataFile) {
    test::InstallStandIn(t_.Path(), "mame");
    const std::string listing = kHeader + "pong \"P\xff\xfe\0ng \xc3\x28\"\nqix  \"Qix\"\n"s;
    const std::string old = "Name:\nqix \"Qix (old)\"\r\n" + std::string(1000, ' ');
    WriteFile(t_ / "mame.listfull", listing);
    const auto kept = [](const char* why) { return "Game Data file kept|2|The emulator "s + why +
        ", so the existing game data file LVN_LIST.txt was kept and the game list was loaded from it."; };
    const std::string none = "ERROR|3|Press button on menu to create Mame data file";
    const struct {
        const char *emulator, *mode;
        std::string file, message;
    } cases[] = {
        {"mame", "", listing + "\r\n", ""},
        {"mame", "silent", old, kept("gave no game listing")},
        {"mame", "crash", old, kept("stopped before finishing its game listing")},
        {"mame", "silent", "none", none}, {"mame", "crash", "none", none}, {"nosuch", "", "none", none},
    };
    for (const auto& c : cases) {
        const bool hadFile = c.file != "none";
        SCOPED_TRACE(std::string(c.emulator) + " " + c.mode + (hadFile ? " with a data file" : ""));
        fs::remove(t_ / "LVN_LIST.txt");
        if (hadFile) WriteFile(t_ / "LVN_LIST.txt", old);
        WriteFile(t_ / "mame.mode", std::string(c.mode) + "\n");
        form_.state.MameExeName = c.emulator;
        form_.ui.messages.clear();
        form_.state.Combo1.Clear();
        form_.state.Combo1.AddItem("Before    [before]");
        CreateGameDataFile(form_);
        EXPECT_EQ(fs::exists(t_ / "LVN_LIST.txt") ? ReadFile(t_ / "LVN_LIST.txt") : "none", c.file);
        ASSERT_EQ(form_.ui.messages.size(), c.message.empty() ? 1u : 2u);
        const auto& m = form_.ui.messages.back();
        EXPECT_EQ(c.message.empty() ? "" : m.title + "|" + std::to_string(int(m.icon)) + "|" + m.text, c.message);
        const Entries list = !hadFile ? Entries{"Before    [before]"} : *c.mode ? Entries{"Qix (old)    [qix]"}
                                   : Entries{"P\xff\xfe\0ng \xc3\x28    [pong]"s, "Qix    [qix]"};
        EXPECT_EQ(List(), list);
    }
}

// Debian's emulator, working from the application directory (its ini names
// the relative roms), with HOME there so nothing reaches the real home.
TEST_F(GameListTest, RealEmulatorListing) {
    if (!test::RealEmulatorAvailable()) GTEST_SKIP() << test::kRealEmulator << " is not installed";
    const fs::path app = t_ / "real";
    fs::create_directory(app);
    test::PrepareRealEmulatorDir(app);
    for (const char* set : {"pong", "breakout", "natodef", "elan_eu3a05commonsys"})
        WriteFile(app / "roms" / (set + ".zip"s), "");
    const fs::path oldDir = fs::current_path();
    const char* home = std::getenv("HOME");
    const std::string oldHome = home ? home : "";
    fs::current_path(app);
    setenv("HOME", app.c_str(), 1);
    test::FakeHost form(app.string());
    form.state.MameExeName = "mame";
    EXPECT_NO_THROW(CreateGameDataFile(form));
    fs::current_path(oldDir);
    home ? setenv("HOME", oldHome.c_str(), 1) : unsetenv("HOME");

    const std::string data = ReadFile(app / "LVN_LIST.txt");
    EXPECT_EQ(std::count(data.begin(), data.end(), '\n'), 45295 + 1);
    EXPECT_TRUE(data.starts_with("Name:") && data.ends_with("\"\n\r\n"));
    EXPECT_EQ(form.ui.messages.size(), 1u);
    EXPECT_EQ(form.state.Combo1.Entries(),
              (Entries{"Breakout [TTL]    [breakout]", "Elan EU3A05/EU3A14 Common System    [elan_eu3a05commonsys]",
                       "NATO Defense    [natodef]", kNatodefaEntry, "Pong (Rev E) [TTL]    [pong]"}));
    EXPECT_EQ(form.state.caption, "Lorvane   (romcount = 5)");
}

}  // namespace
}  // namespace lorvane::Frontend_code
