#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "fake_host.h"
#include "file_exists.h"
#include "file_io.h"
#include "game_list.h"
#include "listing.h"
#include "real_emulator.h"
#include "rom_directory_index.h"
#include "standin.h"
#include "temp_dir.h"

namespace lorvane {
namespace {

namespace fs = std::filesystem;
using namespace std::literals;
using namespace Frontend_code;
using test::ReadFile;
using test::WriteFile;
using Entries = std::vector<std::string>;

// Name before the first blank or quote; names that could leave the ROM directory or break the entry
// ("\r[T") are no game; the header is skipped and the list ends at a line under two characters.
TEST(Listing, GamesOfAListingText) {
    const std::pair<std::string, Entries> cases[] = {
        {"H\npong   \"Pong (Rev E) [TTL]\"\nfscc6 \"Chess \"6\"\"\nabcd\"Eight\"\n"
         "   lead   \" a  b \" \nab\na.b \"D\"\n",
         {"pong|Pong (Rev E) [TTL]", "fscc6|Chess 6", "abcd|Eight", "lead| a  b ", "ab|", "a.b|D"}},
        {"H\n  \"x\"\n.h \"x\"\na/b \"x\"\nn\0l \"x\"\na[1] \"x\"\nok \"OK\"\n"s, {"ok|OK"}},
        {"H\r005 \"005\"\r\nqix \"Qix\"\r\n\r\nb \"B\"\n", {"005|005", "qix|Qix"}},
        {"H\na \"A\"\n   x   \nb \"B\"\n", {"a|A"}},
        {"\r[T", {}},
        {"H\nqix \"Qix", {"qix|Qix"}},
    };
    for (const auto& [text, games] : cases) {
        Entries out;
        ForEachListingGame(text,
                           [&](const ListingGame& g) { out.push_back(std::string(g.name) + "|" + g.description); });
        EXPECT_EQ(out, games) << text;
    }
}

// "read:" or "per name:" and the names found; "differs on X" when an answer is not FileExists's.
std::string Check(const std::string& dir) {
    const RomDirectoryIndex index(dir);
    std::string found = index.ReadInOneGo() ? "read:" : "per name:";
    for (const auto& name : {"real"s, "link"s, "dangle"s, "dir"s, "dirlink"s, ".hid"s, "fifo"s, "upper"s, "UPPER"s,
                             "sub/inner"s, "full"s, ".dot"s, "pat*"s, "pa?1"s, ""s, "../roms/real"s, "re\0al"s}) {
        if (index.Contains(name) != Clean_code::FileExists(dir + name + ".zip")) return "differs on " + name;
        if (index.Contains(name)) found += " " + name;
    }
    return found;
}

bool AsOrdinaryUser(const std::function<bool()>& check) {
    if (geteuid() != 0) return check();
    const pid_t pid = fork();
    if (pid == 0) _exit(setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0 && check() ? 0 : 1);
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Answers as FileExists for every kind of entry, for a directory given with a name prefix, and for
// one that may not be listed or searched (then each name is tested on its own).
TEST(RomDirectoryIndex, AnswersAsTheSingleFileTest) {
    test::TempDir t;
    const std::string roms = (t / "roms").string();
    for (const char* dir : {"/dir.zip", "/sub"}) fs::create_directories(roms + dir);
    for (const char* name : {"real.zip", ".hid.zip", "upper.ZIP", "sub/inner.zip", "prefull.zip", "pre.dot.zip",
                             "pat1.zip"})
        WriteFile(roms + "/" + name, "");
    for (const auto& [to, from] : {std::pair("real", "link"), {"missing", "dangle"}, {"dir", "dirlink"}})
        fs::create_symlink(to + ".zip"s, roms + "/" + from + ".zip");
    ASSERT_EQ(mkfifo((roms + "/fifo.zip").c_str(), 0644), 0);

    EXPECT_EQ(Check(roms + "/"), "read: real link sub/inner pat* pa?1 ../roms/real");
    EXPECT_EQ(Check(roms + "/pre"), "read: full .dot");
    for (const std::string& other : {roms + "//", roms + "/missing/", roms + "/pa*", "/"s})
        EXPECT_FALSE(Check(other).starts_with("differs")) << other << ": " << Check(other);

    ASSERT_EQ(chmod(t.Path().c_str(), 0711), 0);
    ASSERT_EQ(chmod(roms.c_str(), 0311), 0);
    EXPECT_TRUE(AsOrdinaryUser([&] { return Check(roms + "/") == "per name: real link sub/inner ../roms/real"; }));
    ASSERT_EQ(chmod(roms.c_str(), 0644), 0);
    EXPECT_TRUE(AsOrdinaryUser([&] { return Check(roms + "/") == "per name:"; }));
    chmod(roms.c_str(), 0755);
}

class GameListTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* zip :
             {"roms/pong.zip", "roms/natodef.zip", "roms/qix.zip", "roms2/pong.zip", "roms2/natodefa.zip"})
            WriteFile((fs::create_directories((t_ / zip).parent_path()), t_ / zip), "");
        WriteFile(t_ / "mame.ini", "rompath " + t_.Str() + "/roms\n");
        form_.state.MameExeName = "mame";
    }
    const Entries& List() { return form_.state.Combo1.Entries(); }

    test::TempDir t_;
    test::FakeHost form_{t_.Str()};
};

// Every ini directory is loaded in turn, natodefa with natodef's set; the caption counts the list.
TEST_F(GameListTest, StartFrontendLoadsEveryIniDirectory) {
    WriteFile(t_ / "mame.ini", "rompath " + t_.Str() + "/roms;" + t_.Str() + "/roms2\n");
    WriteFile(t_ / "LVN_LIST.txt", "Name:\nnatodef \"NATO Defense\"\nnatodefa \"NATO Defense (alternate mazes)\"\n"
                                   "pong \"Pong\"\nbreakout \"B\"\n");
    form_.state.Combo1.AddItem("Old    [old]");
    StartFrontend(form_);
    EXPECT_EQ(List(), (Entries{"NATO Defense    [natodef]", kNatodefaEntry, kNatodefaEntry, "Pong    [pong]",
                               "Pong    [pong]"}));
    EXPECT_EQ(form_.state.caption, "Lorvane   (romcount = 5)");
    std::string romPath = "rompath ";  // thousands of directories, most of them missing
    for (int d = 0; d < 3000; ++d) {
        romPath += (d ? ";" : "") + t_.Str() + "/r" + std::to_string(d);
        if (d % 300 == 0) WriteFile((fs::create_directory(t_ / ("r" + std::to_string(d))), t_ / ("r" + std::to_string(d)) / "pong.zip"), "");
    }
    WriteFile(t_ / "mame.ini", romPath + "\n");
    StartFrontend(form_);
    EXPECT_EQ(List(), Entries(10, "Pong    [pong]"));
    WriteFile(t_ / "mame.ini", "rompath\n");
    StartFrontend(form_);
    EXPECT_TRUE(List().empty());
    EXPECT_EQ(form_.state.caption, "Lorvane");
}

// A never-ending 20 MB line loads; a data file missing (53), a directory or a link loop fails as the
// data file's failure, list and caption untouched.
TEST_F(GameListTest, HostileDataFiles) {
    const std::string huge(20u << 20, 'x'), roms = t_.Str() + "/roms/";
    WriteFile(t_ / "LVN_LIST.txt", "Name:\n" + huge + "\r\nqix \"" + huge);
    LoadGameList(form_, "LVN_LIST.txt", roms);
    const Entries loaded = {huge + "    [qix]"};
    EXPECT_TRUE(List() == loaded) << List().size() << " entries";
    fs::create_directory(t_ / "dir.txt");
    fs::create_symlink("loop.txt", t_ / "loop.txt");
    form_.state.caption = "before";
    for (const char* name : {"missing.txt", "dir.txt", "loop.txt"}) {
        EXPECT_THROW(LoadGameList(form_, name, roms), DataFileFailure) << name;
        EXPECT_TRUE(List() == loaded && form_.state.caption == "before") << name;
    }
    try {
        LoadGameList(form_, "missing.txt", roms);
    } catch (const Failure& f) { EXPECT_EQ(f.Number(), ErrNo::FileNotFound); }
}

// The listing's bytes (non-UTF-8, NUL) replace the data file whole; an emulator that prints nothing,
// is killed part way or cannot start never creates or replaces it.
TEST_F(GameListTest, CreateGameDataFile) {
    test::InstallStandIn(t_.Path(), "mame");
    const std::string listing = "Name:\npong \"P\xff\xfe\0ng \xc3\x28\"\nqix  \"Qix\"\n"s, old = "Name:\nqix \"Q\"\r\n";
    WriteFile(t_ / "mame.listfull", listing);
    const auto kept = [](const char* why) { return "Game Data file kept|2|The emulator "s + why +
        ", so the existing game data file LVN_LIST.txt was kept and the game list was loaded from it."; };
    const std::string none = "ERROR|3|Press button on menu to create Mame data file";
    const struct { const char *emulator, *mode; std::string file, message; } cases[] = {
        {"mame", "", listing + "\r\n", ""}, {"mame", "silent", old, kept("gave no game listing")},
        {"mame", "crash", old, kept("stopped before finishing its game listing")},
        {"mame", "silent", "none", none}, {"mame", "crash", "none", none}, {"nosuch", "", "none", none}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.emulator) + " " + c.mode + " " + c.file.substr(0, 8));
        fs::remove(t_ / "LVN_LIST.txt");
        if (c.file != "none") WriteFile(t_ / "LVN_LIST.txt", old);
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
        EXPECT_EQ(List(), c.file == "none" ? Entries{"Before    [before]"} : *c.mode ? Entries{"Q    [qix]"}
                          : Entries({"P\xff\xfe\0ng \xc3\x28    [pong]"s, "Qix    [qix]"}));
    }
}

// Debian's emulator: its whole listing becomes the data file, and five sets give six entries.
TEST_F(GameListTest, RealEmulatorListing) {
    if (!test::RealEmulatorAvailable()) GTEST_SKIP() << test::kRealEmulator << " is not installed";
    test::PrepareRealEmulatorDir(t_.Path());
    for (const char* set : {"breakout", "elan_eu3a05commonsys"})  // beside the fixture's pong, natodef, qix
        WriteFile(t_ / "roms" / (set + ".zip"s), "");
    const fs::path oldDir = fs::current_path();
    fs::current_path(t_.Path());  // the emulator writes its own files beside it
    CreateGameDataFile(form_);
    fs::current_path(oldDir);
    const std::string data = ReadFile(t_ / "LVN_LIST.txt");
    EXPECT_EQ(std::count(data.begin(), data.end(), '\n'), 45295 + 1);
    EXPECT_EQ(form_.state.Combo1.Entries(),
              (Entries{"Breakout [TTL]    [breakout]", "Elan EU3A05/EU3A14 Common System    [elan_eu3a05commonsys]",
                       "NATO Defense    [natodef]", kNatodefaEntry, "Pong (Rev E) [TTL]    [pong]", "Qix (Rev 2)    [qix]"}));
    EXPECT_EQ(form_.state.caption, "Lorvane   (romcount = 6)");
}

}  // namespace
}  // namespace lorvane
