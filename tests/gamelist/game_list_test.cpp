#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fake_host.h"
#include "file_exists.h"
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
using namespace test;
using Entries = std::vector<std::string>;

// Name before the first blank or quote; "/", NUL, "[", leading "." ("\r[T") make no game; ends at a short line.
TEST(Listing, GamesOfAListingText) {
    const std::pair<std::string, Entries> cases[] = {
        {"H\npong   \"Pong (Rev E) [TTL]\"\nfscc6 \"Chess \"6\"\"\nabcd\"Eight\"\n   lead   \" a  b \" \nab\na.b \"D\"\n",
         {"pong|Pong (Rev E) [TTL]", "fscc6|Chess 6", "abcd|Eight", "lead| a  b ", "ab|", "a.b|D"}},
        {"H\n  \"x\"\n.h \"x\"\na/b \"x\"\nn\0l \"x\"\na[1] \"x\"\nok \"OK\"\n"s, {"ok|OK"}},
        {"H\r005 \"005\"\r\nqix \"Qix\"\r\n\r\nb \"B\"\n", {"005|005", "qix|Qix"}}, {"H\na \"A\"\n   x   \nb \"B\"\n", {"a|A"}},
        {"\r[T", {}}, {"H\nqix \"Qix", {"qix|Qix"}}};
    for (const auto& [text, games] : cases) {
        Entries out;
        ForEachListingGame(text, [&](const ListingGame& g) { out.push_back(std::string(g.name) + "|" + g.description); });
        EXPECT_EQ(out, games) << text;
    }
}

// "read:" or "per name:" and the names found; "differs on X" when an answer is not FileExists's.
std::string Check(const std::string& dir) {
    const RomDirectoryIndex index(dir);
    std::string found = index.ReadInOneGo() ? "read:" : "per name:";
    for (const auto& name : {"real"s, "link"s, "dangle"s, "dir"s, "dirlink"s, ".hid"s, "fifo"s, "upper"s, "UPPER"s,
                             "sub/inner"s, "full"s, ".dot"s, "pat*"s, "pa?1"s, ""s, "../roms/real"s, "re\0al"s})
        if (index.Contains(name) != Clean_code::FileExists(dir + name + ".zip")) return "differs on " + name;
        else if (index.Contains(name)) found += " " + name;
    return found;
}

template <class F>
bool AsOrdinaryUser(F check) {
    if (geteuid() != 0) return check();
    const pid_t pid = fork();
    if (pid == 0) _exit(setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0 && check() ? 0 : 1);
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// As FileExists for every kind of entry, with a name prefix, and when the directory cannot be listed.
TEST(RomDirectoryIndex, AnswersAsTheSingleFileTest) {
    TempDir t;
    const std::string roms = (t / "roms").string();
    for (const char* dir : {"/dir.zip", "/sub"}) fs::create_directories(roms + dir);
    for (const char* name : {"real.zip", ".hid.zip", "upper.ZIP", "sub/inner.zip", "prefull.zip", "pre.dot.zip", "pat1.zip"})
        WriteFile(roms + "/" + name, "");
    for (const auto& [to, from] : {std::pair("real", "link"), {"missing", "dangle"}, {"dir", "dirlink"}})
        fs::create_symlink(to + ".zip"s, roms + "/" + from + ".zip");
    ASSERT_EQ(mkfifo((roms + "/fifo.zip").c_str(), 0644), 0);
    EXPECT_EQ(Check(roms + "/"), "read: real link sub/inner pat* pa?1 ../roms/real");
    EXPECT_EQ(Check(roms + "/pre"), "read: full .dot");
    for (const std::string& other : {roms + "//", roms + "/missing/", roms + "/pa*", "/"s})
        EXPECT_FALSE(Check(other).starts_with("differs")) << other << ": " << Check(other);
    ASSERT_EQ(chmod(t.Path().c_str(), 0711), 0);
    for (const auto& [mode, want] : {std::pair(0311, "per name: real link sub/inner ../roms/real"), {0644, "per name:"}})
        EXPECT_TRUE(chmod(roms.c_str(), mode) == 0 && AsOrdinaryUser([&] { return Check(roms + "/") == want; })) << want;
    chmod(roms.c_str(), 0755);
}

class GameListTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* zip : {"roms/pong.zip", "roms/natodef.zip", "roms/qix.zip", "roms2/pong.zip", "roms2/natodefa.zip"}) {
            fs::create_directories((t_ / zip).parent_path());
            WriteFile(t_ / zip, "");
        }
        WriteFile(t_ / "mame.ini", "rompath " + t_.Str() + "/roms\n");
        form_.state.MameExeName = "mame";
    }
    const Entries& List() { return form_.state.Combo1.Entries(); }
    TempDir t_;
    FakeHost form_{t_.Str()};
};

// Every ini directory is loaded in turn (thousands too), natodefa with natodef's set; the caption counts the list.
TEST_F(GameListTest, StartFrontendLoadsEveryIniDirectory) {
    WriteFile(t_ / "mame.ini", "rompath " + t_.Str() + "/roms;" + t_.Str() + "/roms2\n");
    WriteFile(t_ / "LVN_LIST.txt", "Name:\nnatodef \"NATO Defense\"\nnatodefa \"NATO Defense (alternate mazes)\"\npong \"Pong\"\nbreakout \"B\"\n");
    form_.state.Combo1.AddItem("Old    [old]");
    StartFrontend(form_);
    EXPECT_EQ(List(), (Entries{"NATO Defense    [natodef]", kNatodefaEntry, kNatodefaEntry, "Pong    [pong]", "Pong    [pong]"}));
    EXPECT_EQ(form_.state.caption, "Lorvane   (romcount = 5)");
    std::string romPath = "rompath ";  // most of them missing
    for (int d = 0; d < 3000; ++d) {
        const fs::path dir = t_ / ("r" + std::to_string(d));
        romPath += (d ? ";" : "") + dir.string();
        if (d % 300 == 0) {
            fs::create_directory(dir);
            WriteFile(dir / "pong.zip", "");
        }
    }
    WriteFile(t_ / "mame.ini", romPath + "\n");
    StartFrontend(form_);
    EXPECT_EQ(List(), Entries(10, "Pong    [pong]"));
    WriteFile(t_ / "mame.ini", "rompath\n");
    StartFrontend(form_);
    EXPECT_TRUE(List().empty() && form_.state.caption == "Lorvane") << form_.state.caption;
}

// A 20 MB line loads; a missing, directory or looping data file fails as such, list and caption untouched.
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
    try { LoadGameList(form_, "missing.txt", roms); } catch (const Failure& f) { EXPECT_EQ(f.Number(), ErrNo::FileNotFound); }
}

// The listing's bytes replace the data file whole; no listing (silent, killed, no start) never touches it.
TEST_F(GameListTest, CreateGameDataFile) {
    const std::string listing = "Name:\npong \"P\xff\xfe\0ng \xc3\x28\"\nqix  \"Qix\"\n"s, old = "Name:\nqix \"Q\"\r\n";
    InstallStandIn(t_.Path(), "mame");
    WriteFile(t_ / "mame.listfull", listing);
    const auto kept = [](const char* why) { return "Game Data file kept|2|The emulator "s + why +
        ", so the existing game data file LVN_LIST.txt was kept and the game list was loaded from it."; };
    const std::string none = "ERROR|3|Press button on menu to create Mame data file";
    const struct { const char* mode; std::string file, message; } cases[] = {
        {"", listing + "\r\n", ""}, {"silent", old, kept("gave no game listing")}, {"silent", "none", none},
        {"crash", old, kept("stopped before finishing its game listing")}, {"crash", "none", none}, {"nosuch", "none", none}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.mode) + " " + c.file.substr(0, 8));
        if (fs::remove(t_ / "LVN_LIST.txt"); c.file != "none") WriteFile(t_ / "LVN_LIST.txt", old);
        WriteFile(t_ / "mame.mode", c.mode + "\n"s);
        form_.state.MameExeName = c.mode == "nosuch"s ? "nosuch" : "mame";
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
    if (!RealEmulatorAvailable()) GTEST_SKIP() << kRealEmulator << " is not installed";
    PrepareRealEmulatorDir(t_.Path());
    for (const char* set : {"breakout", "elan_eu3a05commonsys"}) WriteFile(t_ / "roms" / (set + ".zip"s), "");
    const fs::path oldDir = fs::current_path();
    fs::current_path(t_.Path());  // the emulator writes its own files beside it
    CreateGameDataFile(form_);
    fs::current_path(oldDir);
    EXPECT_EQ(std::ranges::count(ReadFile(t_ / "LVN_LIST.txt"), '\n'), 45295 + 1);
    EXPECT_EQ(List(), (Entries{"Breakout [TTL]    [breakout]", "Elan EU3A05/EU3A14 Common System    [elan_eu3a05commonsys]",
                               "NATO Defense    [natodef]", kNatodefaEntry, "Pong (Rev E) [TTL]    [pong]",
                               "Qix (Rev 2)    [qix]"}));
    EXPECT_EQ(form_.state.caption, "Lorvane   (romcount = 6)");
}

}  // namespace
}  // namespace lorvane
