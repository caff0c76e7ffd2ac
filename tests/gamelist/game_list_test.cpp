// Loading the list from the data file, rebuilding it, and creating the data
// file from the emulator's listing (the stand-in emulator, and Debian's).
#include "game_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
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
        for (const char* zip : {"roms/pong.zip", "roms/breakout.zip", "roms/natodef.zip", "roms/fscc6.zip",
                                "roms/elan_eu3a05commonsys.zip", "roms/qix.zip", "roms2/pong.zip", "roms2/natodefa.zip"}) {
            fs::create_directories((t_ / zip).parent_path());
            WriteFile(t_ / zip, "");
        }
        WriteFile(t_ / "mame.ini", "rompath " + t_.Str() + "/roms\n");
        form_.state.MameExeName = "mame";
    }
    void Load(const std::string& dataFile = "LVN_LIST.txt") { LoadGameList(form_, dataFile, t_.Str() + "/roms/"); }
    const Entries& List() { return form_.state.Combo1.Entries(); }
    // Every message as "title|text|icon" lines.
    std::string Messages() const {
        std::string out;
        for (const auto& m : form_.ui.messages)
            out += m.title + "|" + m.text + "|" + std::to_string(static_cast<int>(m.icon)) + "\n";
        return out;
    }

    test::TempDir t_;
    test::FakeHost form_{t_.Str()};
};

TEST_F(GameListTest, ListsTheGamesWhoseSetsArePresentInListOrder) {
    WriteFile(t_ / "LVN_LIST.txt", kHeader + R"L(pong              "Pong (Rev E) [TTL]"
breakout          "Breakout [TTL]"
pacman            "Pac-Man (Midway)"
natodef           "NATO Defense"
natodefa          "NATO Defense (alternate mazes)"
elan_eu3a05commonsys "Elan EU3A05/EU3A14 Common System"
fscc6             "Sensory Chess Challenger "6""
)L"s);
    form_.state.Combo1.text = "typed";
    Load();
    // natodefa shares natodef's set, so it comes with it.
    EXPECT_EQ(List(), (Entries{"Breakout [TTL]    [breakout]",
                               "Elan EU3A05/EU3A14 Common System    [elan_eu3a05commonsys]",
                               "NATO Defense    [natodef]", "NATO Defense (alternate mazes)    [natodefa]",
                               "Pong (Rev E) [TTL]    [pong]", "Sensory Chess Challenger 6    [fscc6]"}));
    EXPECT_EQ(form_.state.caption, "Lorvane   (romcount = 6)");
    EXPECT_EQ(form_.state.Combo1.ListIndex(), -1);
    EXPECT_EQ(form_.state.Combo1.text, "typed");
    EXPECT_GE(form_.ui.stateChanges, 1);

    // Nothing listed: the caption says so.
    WriteFile(t_ / "LVN_LIST.txt", kHeader + "\npong \"Pong\"\n"s);
    form_.state.Combo1.Clear();
    Load();
    EXPECT_EQ(form_.state.caption, "Lorvane");
}

TEST_F(GameListTest, StartFrontendRebuildsFromEveryIniDirectory) {
    WriteFile(t_ / "mame.ini", "rompath " + t_.Str() + "/roms;" + t_.Str() + "/roms2\n");
    form_.state.LVNGameList = "games.txt";
    WriteFile(t_ / "games.txt", kHeader + "natodef  \"NATO Defense\"\nnatodefa \"NATO Defense (alternate mazes)\"\n"
                                          "pong     \"Pong\"\n"s);
    form_.state.Combo1.AddItem("Old    [old]");
    StartFrontend(form_);
    EXPECT_EQ(List(), (Entries{"NATO Defense    [natodef]", "NATO Defense (alternate mazes)    [natodefa]",
                               "NATO Defense (alternate mazes)    [natodefa]", "Pong    [pong]", "Pong    [pong]"}));
    EXPECT_EQ(form_.state.caption, "Lorvane   (romcount = 5)");

    // A bad ini fails before the list is touched.
    WriteFile(t_ / "mame.ini", "rompath roms;;roms2\n");
    EXPECT_THROW(StartFrontend(form_), Failure);
    EXPECT_EQ(List().size(), 5u);

    // Thousands of ROM directories, most of them missing: each present one counts.
    std::string romPath = "rompath ";
    for (int d = 0; d < 3000; ++d) {
        const fs::path dir = t_ / ("r" + std::to_string(d));
        romPath += (d ? ";" : "") + dir.string();
        if (d % 300 == 0) WriteFile((fs::create_directory(dir), dir / "pong.zip"), "");
    }
    WriteFile(t_ / "mame.ini", romPath + "\n");
    StartFrontend(form_);
    EXPECT_EQ(List(), Entries(10, "Pong    [pong]"));

    // No ROM directory at all: an empty list, and a caption that says so.
    WriteFile(t_ / "mame.ini", "rompath\n");
    StartFrontend(form_);
    EXPECT_TRUE(List().empty());
    EXPECT_EQ(form_.state.caption, "Lorvane");
}

// Enormous lines load; a data file that is missing, a directory, a link loop or
// unreadable fails as the data file's failure before the list is touched.
TEST_F(GameListTest, HostileDataFiles) {
    const std::string huge(20u << 20, 'x');
    WriteFile(t_ / "LVN_LIST.txt", kHeader + huge + "\r\nqix \"" + huge);  // the last description never ends
    Load();
    const Entries loaded = {huge + "    [qix]"};
    EXPECT_TRUE(List() == loaded) << List().size() << " entries";

    fs::create_directory(t_ / "dir.txt");
    fs::create_symlink("loop2.txt", t_ / "loop1.txt");
    fs::create_symlink("loop1.txt", t_ / "loop2.txt");
    // Mode bits do not stop root, so the unreadable file is made by the read seam.
    WriteFile(t_ / "locked.txt", std::string(kHeader) + " pong \"Pong\"\n");
    SetReadFaultHook([](const std::string& path) { return path.ends_with("/locked.txt") ? EACCES : 0; });
    form_.state.caption = "before";
    for (const char* name : {"missing.txt", "dir.txt", "loop1.txt", "locked.txt"}) {
        SCOPED_TRACE(name);
        try {
            Load(name);
            ADD_FAILURE() << "loaded";
        } catch (const DataFileFailure& f) {
            EXPECT_TRUE(name != "missing.txt"s || f.Number() == ErrNo::FileNotFound) << f.Number();
        }
        EXPECT_TRUE(List() == loaded);
        EXPECT_EQ(form_.state.caption, "before");
    }
    SetReadFaultHook(nullptr);
}

// Bytes that are not UTF-8, NUL included, pass through unchanged.
const std::string kListing =
    "Name:             Description:\npong              \"P\xff\xfe\0ng \xc3\x28\"\nqix               \"Qix\"\n"s;
constexpr const char* kPatience =
    "Please be Patient|Please be patient as the data file is created.  This should take approx. 5 seconds "
    "and only needs to be generated once for each new beta.|1\n";

TEST_F(GameListTest, CapturedListingReplacesTheDataFileWhole) {
    test::InstallStandIn(t_.Path(), "mame");
    WriteFile(t_ / "mame.listfull", kListing);
    WriteFile(t_ / "LVN_LIST.txt", std::string(100000, 'x'));
    CreateGameDataFile(form_);

    EXPECT_EQ(ReadFile(t_ / "LVN_LIST.txt"), kListing + "\r\n");
    EXPECT_EQ(test::StandInArgs(t_.Path(), "mame"), "-listfull\n");
    EXPECT_EQ(Messages(), kPatience);
    EXPECT_EQ(List(), (Entries{"P\xff\xfe\0ng \xc3\x28    [pong]"s, "Qix    [qix]"}));
    EXPECT_EQ(form_.state.caption, "Lorvane   (romcount = 2)");
    for (const auto& e : fs::directory_iterator(t_.Path()))
        EXPECT_FALSE(e.path().filename().string().starts_with(".")) << "left behind: " << e.path();
}

// An emulator that prints nothing, is killed part way or cannot start never
// creates or replaces the data file.
TEST_F(GameListTest, NoListingKeepsAnOlderDataFileOrSaysThereIsNone) {
    test::InstallStandIn(t_.Path(), "mame");
    const std::string old = "Name:\nqix \"Qix (old)\"\r\n";
    const struct {
        const char *emulator, *mode, *why;  // why the older file was kept; "" when there is none
    } cases[] = {
        {"mame", "silent", "gave no game listing"}, {"mame", "crash", "stopped before finishing its game listing"},
        {"mame", "silent", ""}, {"mame", "crash", ""}, {"nosuch", "", ""},
    };
    for (const auto& c : cases) {
        const bool oldFile = *c.why;
        SCOPED_TRACE(std::string(c.emulator) + " " + c.mode + (oldFile ? " with a data file" : " without one"));
        fs::remove(t_ / "LVN_LIST.txt");
        if (oldFile) WriteFile(t_ / "LVN_LIST.txt", old);
        WriteFile(t_ / "mame.mode", std::string(c.mode) + "\n");
        form_.state.MameExeName = c.emulator;
        form_.ui.messages.clear();
        form_.state.Combo1.Clear();
        form_.state.Combo1.AddItem("Before    [before]");

        CreateGameDataFile(form_);

        EXPECT_EQ(fs::exists(t_ / "LVN_LIST.txt") ? ReadFile(t_ / "LVN_LIST.txt") : "no file", oldFile ? old : "no file");
        EXPECT_EQ(Messages(), kPatience + (oldFile ? "Game Data file kept|The emulator "s + c.why +
                                                         ", so the existing game data file LVN_LIST.txt was kept and "
                                                         "the game list was loaded from it.|2\n"
                                                   : "ERROR|Press button on menu to create Mame data file|3\n"s));
        EXPECT_EQ(List(), oldFile ? Entries{"Qix (old)    [qix]"} : Entries{"Before    [before]"});
    }
}

// Debian's emulator: its ini names the relative directory roms, so the process
// works from the application directory, with HOME there too so the emulator
// writes nothing into the real home.
TEST_F(GameListTest, RealEmulatorListing) {
    if (!test::RealEmulatorAvailable()) GTEST_SKIP() << test::kRealEmulator << " is not installed";
    const fs::path app = t_ / "real";
    fs::create_directory(app);
    test::PrepareRealEmulatorDir(app);
    for (const char* set : {"pong", "breakout", "natodef", "elan_eu3a05commonsys"})
        WriteFile(app / "roms" / (set + ".zip"s), "");
    const fs::path oldDir = fs::current_path();
    const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    fs::current_path(app);
    setenv("HOME", app.c_str(), 1);
    test::FakeHost form(app.string());
    form.state.MameExeName = "mame";
    EXPECT_NO_THROW(CreateGameDataFile(form));
    fs::current_path(oldDir);
    oldHome.empty() ? unsetenv("HOME") : setenv("HOME", oldHome.c_str(), 1);

    const std::string data = ReadFile(app / "LVN_LIST.txt");
    EXPECT_EQ(std::count(data.begin(), data.end(), '\n'), 45295 + 1);
    EXPECT_TRUE(data.starts_with("Name:") && data.ends_with("\"\n\r\n"));
    EXPECT_EQ(form.ui.messages.size(), 1u);  // only the request for patience
    EXPECT_EQ(form.state.Combo1.Entries(),
              (Entries{"Breakout [TTL]    [breakout]", "Elan EU3A05/EU3A14 Common System    [elan_eu3a05commonsys]",
                       "NATO Defense    [natodef]", "NATO Defense (alternate mazes)    [natodefa]",
                       "Pong (Rev E) [TTL]    [pong]"}));
    EXPECT_EQ(form.state.caption, "Lorvane   (romcount = 5)");
}

}  // namespace
}  // namespace lorvane::Frontend_code
