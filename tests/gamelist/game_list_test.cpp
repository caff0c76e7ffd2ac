#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "fake_host.h"
#include "file_io.h"
#include "game_list.h"
#include "temp_dir.h"

namespace lorvane::Frontend_code {
namespace {

namespace fs = std::filesystem;
using test::WriteFile;
using Entries = std::vector<std::string>;

constexpr const char* kHeader = "Name:             Description:\n";

class GameListTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(roms_);
        fs::create_directories(roms2_);
    }
    void Listing(const std::string& games, const std::string& name = "LVN_LIST.txt") {
        WriteFile(t_ / name, kHeader + games);
    }
    static void Zips(const fs::path& dir, std::initializer_list<const char*> names) {
        for (const char* n : names) WriteFile(dir / (std::string(n) + ".zip"), "");
    }
    static std::string Dir(const fs::path& p) { return p.string() + "/"; }
    const Entries& List() { return form_.state.Combo1.Entries(); }

    test::TempDir t_;
    fs::path roms_ = t_ / "roms";
    fs::path roms2_ = t_ / "roms2";
    test::FakeHost form_{t_.Str()};
};

TEST_F(GameListTest, ListsTheGamesWhoseSetsArePresent) {
    Listing(R"L(pong              "Pong (Rev E) [TTL]"
breakout          "Breakout [TTL]"
pacman            "Pac-Man (Midway)"
natodef           "NATO Defense"
natodefa          "NATO Defense (alternate mazes)"
elan_eu3a05commonsys "Elan EU3A05/EU3A14 Common System"
fscc6             "Sensory Chess Challenger "6""
../evil           "Outside"
.hidden           "Hidden"
a/b               "Below"
linked            "Linked"
dirset            "A directory"
dangle            "Dangling link"
)L");
    Zips(roms_, {"pong", "breakout", "natodef", "elan_eu3a05commonsys", "fscc6", ".hidden"});
    fs::create_directories(roms_ / "a");
    Zips(roms_, {"a/b"});
    Zips(t_.Path(), {"evil"});
    fs::create_symlink("pong.zip", roms_ / "linked.zip");
    fs::create_directories(roms_ / "dirset.zip");
    fs::create_symlink("nowhere.zip", roms_ / "dangle.zip");
    form_.state.Combo1.text = "typed";

    LoadGameList(form_, "LVN_LIST.txt", Dir(roms_));

    EXPECT_EQ(List(), (Entries{"Breakout [TTL]    [breakout]",
                               "Elan EU3A05/EU3A14 Common System    [elan_eu3a05commonsys]",
                               "Linked    [linked]",
                               "NATO Defense    [natodef]",
                               "NATO Defense (alternate mazes)    [natodefa]",
                               "Pong (Rev E) [TTL]    [pong]",
                               "Sensory Chess Challenger 6    [fscc6]"}));
    EXPECT_EQ(form_.state.caption, "Lorvane   (romcount = 7)");
    EXPECT_EQ(form_.state.Combo1.ListIndex(), -1);
    EXPECT_EQ(form_.state.Combo1.text, "typed");
    EXPECT_GE(form_.ui.stateChanges, 1);
}

TEST_F(GameListTest, SeveralDirectoriesAddUp) {
    Listing("natodef  \"NATO Defense\"\nnatodefa \"NATO Defense (alternate mazes)\"\n"
            "pong     \"Pong\"\n");
    Zips(roms_, {"pong", "natodef"});
    Zips(roms2_, {"pong", "natodefa"});

    LoadGameList(form_, "LVN_LIST.txt", Dir(roms_));
    EXPECT_EQ(form_.state.caption, "Lorvane   (romcount = 3)");
    LoadGameList(form_, "LVN_LIST.txt", Dir(roms2_));
    EXPECT_EQ(List(), (Entries{"NATO Defense    [natodef]", "NATO Defense (alternate mazes)    [natodefa]",
                               "NATO Defense (alternate mazes)    [natodefa]", "Pong    [pong]",
                               "Pong    [pong]"}));
    EXPECT_EQ(form_.state.caption, "Lorvane   (romcount = 5)");
}

TEST_F(GameListTest, EmptyListsAndAMissingDataFile) {
    Zips(roms_, {"pong"});
    for (const std::string& text : {std::string(), std::string(kHeader), std::string(kHeader) + "\npong \"Pong\"\n"}) {
        WriteFile(t_ / "LVN_LIST.txt", text);
        form_.state.caption = "before";
        LoadGameList(form_, "LVN_LIST.txt", Dir(roms_));
        EXPECT_TRUE(List().empty());
        EXPECT_EQ(form_.state.caption, "Lorvane");
    }

    form_.state.Combo1.AddItem("Kept    [kept]");
    form_.state.caption = "before";
    try {
        LoadGameList(form_, "NO_SUCH.txt", Dir(roms_));
        ADD_FAILURE() << "a missing data file must fail";
    } catch (const Failure& f) {
        EXPECT_EQ(f.Number(), ErrNo::FileNotFound);
    }
    EXPECT_EQ(List(), Entries{"Kept    [kept]"});
    EXPECT_EQ(form_.state.caption, "before");
}

TEST_F(GameListTest, StartFrontendRebuildsFromEveryIniDirectory) {
    WriteFile(t_ / "mame.ini", "rompath " + roms_.string() + ";" + roms2_.string() + "\n");
    form_.state.MameExeName = "mame";
    form_.state.LVNGameList = "games.txt";
    Listing("pong     \"Pong\"\nbreakout \"Breakout\"\nqix      \"Qix\"\n", "games.txt");
    Zips(roms_, {"pong", "breakout"});
    Zips(roms2_, {"qix", "pong"});
    form_.state.Combo1.AddItem("Old    [old]");

    StartFrontend(form_);
    EXPECT_EQ(List(), (Entries{"Breakout    [breakout]", "Pong    [pong]", "Pong    [pong]", "Qix    [qix]"}));
    EXPECT_EQ(form_.state.caption, "Lorvane   (romcount = 4)");

    // A bad ini fails before the list is touched.
    WriteFile(t_ / "mame.ini", "rompath " + roms_.string() + ";;" + roms2_.string() + "\n");
    EXPECT_THROW(StartFrontend(form_), Failure);
    EXPECT_EQ(List().size(), 4u);

    // No ROM directory at all: an empty list, and a caption that says so.
    WriteFile(t_ / "mame.ini", "rompath\n");
    StartFrontend(form_);
    EXPECT_TRUE(List().empty());
    EXPECT_EQ(form_.state.caption, "Lorvane");
}

// Data files that are not what they should be: enormous lines without an end
// load in one pass; a directory, a link loop or an unreadable file fail before
// the list is touched.
TEST_F(GameListTest, HostileDataFiles) {
    Zips(roms_, {"pong", "qix"});
    const std::string huge(20u << 20, 'x');
    const struct {
        const char* what;
        std::string text;
        Entries list;
    } loads[] = {
        {"one line, no end", huge, {}},
        {"a game whose description never ends", kHeader + ("qix \"" + huge), {huge + "    [qix]"}},
        {"long lines around a game", kHeader + huge + "\n pong \"Pong\"\n" + huge + "\r\n" + huge, {"Pong    [pong]"}},
    };
    for (const auto& l : loads) {
        SCOPED_TRACE(l.what);
        form_.state.Combo1.Clear();
        WriteFile(t_ / "LVN_LIST.txt", l.text);
        LoadGameList(form_, "LVN_LIST.txt", Dir(roms_));
        EXPECT_TRUE(List() == l.list) << List().size() << " entries";
    }

    fs::create_directory(t_ / "dir.txt");
    fs::create_symlink("loop2.txt", t_ / "loop1.txt");
    fs::create_symlink("loop1.txt", t_ / "loop2.txt");
    // Mode bits do not stop root, so the unreadable file is made by the read seam.
    WriteFile(t_ / "locked.txt", std::string(kHeader) + " pong \"Pong\"\n");
    SetReadFaultHook([](const std::string& path) {
        return path.ends_with("/locked.txt") ? EACCES : 0;
    });
    form_.state.Combo1.Clear();
    form_.state.Combo1.AddItem("Kept    [kept]");
    for (const char* name : {"dir.txt", "loop1.txt", "locked.txt", "missing.txt"}) {
        SCOPED_TRACE(name);
        EXPECT_THROW(LoadGameList(form_, name, Dir(roms_)), DataFileFailure);
        EXPECT_EQ(List(), Entries{"Kept    [kept]"});
    }
    SetReadFaultHook(nullptr);
}

// An emulator ini naming thousands of ROM directories, most of them missing.
TEST_F(GameListTest, ThousandsOfRomDirectories) {
    std::string romPath;
    Entries expected;
    for (int d = 0; d < 3000; ++d) {
        const fs::path dir = t_ / ("r" + std::to_string(d));
        romPath += (d ? ";" : "") + dir.string();
        if (d % 300 == 0) {
            fs::create_directory(dir);
            Zips(dir, {"pong"});
            expected.push_back("Pong    [pong]");
        }
    }
    WriteFile(t_ / "mame.ini", "rompath " + romPath + "\n");
    form_.state.MameExeName = "mame";
    form_.state.LVNGameList = "LVN_LIST.txt";
    Listing("pong \"Pong\"\n");
    StartFrontend(form_);
    EXPECT_EQ(List(), expected);
    EXPECT_EQ(form_.state.caption, "Lorvane   (romcount = 10)");
}

}  // namespace
}  // namespace lorvane::Frontend_code
