#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <string>
#include <vector>

#include "gamelist/available_games.h"
#include "gamelist/game_data_file.h"
#include "gamelist/rom_directory_index.h"
#include "mame/emulator_ini.h"
#include "mame/rom_name.h"
#include "platform/file_exists.h"
#include "support/native_path.h"
#include "support/real_emulator.h"
#include "support/temp_dir.h"
#include "support/thrown.h"
#include "util/text.h"

namespace lorvane::gamelist {
namespace {

namespace fs = std::filesystem;
using namespace std::literals;
using namespace test;
using platform::kPathSeparator;
namespace ErrNo = util::ErrNo;
using Entries = std::vector<std::string>;

// "read:" or "per name:" and the names found; "differs on X" when an answer is not FileExists's.
std::string Check(const std::string& dir) {
    const RomDirectoryIndex index(dir);
    std::string found = index.ReadInOneGo() ? "read:" : "per name:";
    for (const auto& name :
         {"real"s, "link"s, "dangle"s, "dir"s, "dirlink"s, ".hid"s, "fifo"s, "upper"s, "UPPER"s,
          "sub/inner"s, "full"s, ".dot"s, "pat*"s, "pa?1"s, ""s, "../roms/real"s, "re\0al"s})
        if (index.Contains(name) != platform::FileExists(dir + name + ".zip"))
            return "differs on " + name;
        else if (index.Contains(name))
            found += " " + name;
    return found;
}

#ifndef _WIN32
// Links, FIFOs, modes and other users are POSIX's; Windows has its own case below.
template <class F>
bool AsOrdinaryUser(F check) {
    if (geteuid() != 0) return check();
    const pid_t pid = fork();
    if (pid == 0)
        _exit(setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0 && check()
                  ? 0
                  : 1);
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

// As FileExists for every kind of entry, with a name prefix, and when the directory cannot be
// listed.
TEST(RomDirectoryIndex, AnswersAsTheSingleFileTest) {
    TempDir t;
    const std::string roms = (t / "roms").string();
    for (const char* dir : {"/dir.zip", "/sub"}) fs::create_directories(roms + dir);
    for (const char* name : {"real.zip", ".hid.zip", "upper.ZIP", "sub/inner.zip", "prefull.zip",
                             "pre.dot.zip", "pat1.zip"})
        WriteFile(roms + "/" + name, "");
    for (const auto& [to, from] :
         {std::pair("real", "link"), {"missing", "dangle"}, {"dir", "dirlink"}})
        fs::create_symlink(to + ".zip"s, roms + "/" + from + ".zip");
    ASSERT_EQ(mkfifo((roms + "/fifo.zip").c_str(), 0644), 0);
    EXPECT_EQ(Check(roms + "/"), "read: real link sub/inner pat* pa?1 ../roms/real");
    EXPECT_EQ(Check(roms + "/pre"), "read: full .dot");
    for (const std::string& other : {roms + "//", roms + "/missing/", roms + "/pa*", "/"s})
        EXPECT_FALSE(Check(other).starts_with("differs")) << other << ": " << Check(other);
    ASSERT_EQ(chmod(t.Path().c_str(), 0711), 0);
    for (const auto& [mode, want] :
         {std::pair(0311, "per name: real link sub/inner ../roms/real"), {0644, "per name:"}})
        EXPECT_TRUE(chmod(roms.c_str(), mode) == 0 &&
                    AsOrdinaryUser([&] { return Check(roms + "/") == want; }))
            << want;
    chmod(roms.c_str(), 0755);
}
#else
void SetAttributes(const fs::path& path, DWORD attrs) {
    ASSERT_TRUE(::SetFileAttributesW(path.c_str(), attrs)) << path;
}

// Names fold case; hidden and system files and folders are no sets; short-name and pattern lookups
// go to the system.
TEST(RomDirectoryIndex, AnswersAsTheSingleFileTestOnWindows) {
    TempDir t;
    const fs::path roms = t.Path() / u8"Spiele für Tests" / "roms";
    fs::create_directories(roms / "dir.zip");
    fs::create_directories(roms / "sub");
    for (const char* name : {"real.zip", "UPPER.ZIP", "Mixed.Zip", "hid.zip", "sys.zip", "ro.zip",
                             "sub/inner.zip", "prefull.zip", "pat1.zip", "longer name here.zip"})
        WriteFile(roms / name, "");
    WriteFile(roms / u8"caf\u00e9.zip", "");
    SetAttributes(roms / "hid.zip", FILE_ATTRIBUTE_HIDDEN);
    SetAttributes(roms / "sys.zip", FILE_ATTRIBUTE_SYSTEM);
    SetAttributes(roms / "ro.zip", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    const std::string dir = Utf8(roms / "");
    const RomDirectoryIndex index(dir);
    EXPECT_TRUE(index.ReadInOneGo());
    std::string found;
    for (const std::string name :
         {"real",        "REAL",        "upper", "UPPER", "mixed",    "mIXED",
          "hid",         "sys",         "ro",    "RO",    "dir",      "sub\\inner",
          "sub/inner",   "full",        "pat*",  "pa?1",  "LONGER~1", "longer name here",
          "caf\xc3\xa9", "CAF\xc3\x89", "a:b",   "a|b",   "missing",  ""}) {
        EXPECT_EQ(index.Contains(name), platform::FileExists(dir + name + ".zip")) << name;
        if (index.Contains(name)) found += " " + name;
    }
    // Whether the system folds é to É and keeps short names is its own affair; the index only
    // follows it.
    EXPECT_TRUE(found.starts_with(
        " real REAL upper UPPER mixed mIXED ro RO sub\\inner sub/inner pat* pa?1"))
        << found;
    EXPECT_EQ(Check(dir + "pre").substr(0, 5), "read:");
    for (const std::string& other : {dir + "missing\\", dir + "pa*", dir + "sub"})
        EXPECT_FALSE(Check(other).starts_with("differs")) << other << ": " << Check(other);
    SetAttributes(roms / "ro.zip", FILE_ATTRIBUTE_NORMAL);
}
#endif

class GameListTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* zip : {"roms/pong.zip", "roms/natodef.zip", "roms/qix.zip",
                                "roms2/pong.zip", "roms2/natodefa.zip"}) {
            fs::create_directories((t_ / zip).parent_path());
            WriteFile(t_ / zip, "");
        }
        WriteFile(t_ / "mame.ini", "rompath " + t_.Str() + "/roms\n");
    }
    // The games of the data file in every ROM folder of the ini, sorted as the list shows them.
    Entries Available(const std::string& app, const std::string& dataFile = "LVN_LIST.txt") {
        Entries entries = ListAvailableGames(app + kPathSeparator + dataFile,
                                             mame::ReadRomFolders(app, kMameExe, pending_));
        std::ranges::sort(entries);
        return entries;
    }
    TempDir t_;
    util::PendingError pending_;
};

// Every ini folder is listed in turn (thousands too), natodefa with natodef's set.
TEST_F(GameListTest, EveryRomFolderOfTheIniIsListed) {
    WriteFile(t_ / "mame.ini", "rompath " + t_.Str() + "/roms;" + t_.Str() + "/roms2\n");
    WriteFile(t_ / "LVN_LIST.txt",
              "Name:\nnatodef \"NATO Defense\"\nnatodefa \"NATO Defense (alternate mazes)\"\npong "
              "\"Pong\"\nbreakout \"B\"\n");
    const Entries both = Available(t_.Str());
    EXPECT_EQ(both, (Entries{"NATO Defense    [natodef]", kNatodefaEntry, kNatodefaEntry,
                             "Pong    [pong]", "Pong    [pong]"}));
    EXPECT_EQ(CountCaption(static_cast<int>(both.size())), "Lorvane   (romcount = 5)");
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
    EXPECT_EQ(Available(t_.Str()), Entries(10, "Pong    [pong]"));
    WriteFile(t_ / "mame.ini", "rompath\n");
    EXPECT_TRUE(Available(t_.Str()).empty());
    EXPECT_EQ(CountCaption(0), "Lorvane");
}

// An application folder and ROM folders with blanks and letters beyond ASCII, the ROM folder
// relative to it; on Windows a set file in upper case counts, and neither a hidden file nor a
// folder named like a set does.
TEST_F(GameListTest, FoldersWithBlanksAndLettersBeyondAscii) {
    const fs::path app = t_.Path() / u8"Mes Jeux \u00e0 moi", roms = app / u8"ROMs f\u00fcr mich";
    fs::create_directories(roms / "galaga.zip");
    const bool windows = kPathSeparator == '\\';
    for (const char* zip : {"pong.zip", windows ? "QIX.ZIP" : "qix.zip", "hidden.zip"})
        WriteFile(roms / zip, "");
#ifdef _WIN32
    ASSERT_TRUE(::SetFileAttributesW((roms / "hidden.zip").c_str(), FILE_ATTRIBUTE_HIDDEN));
#else
    fs::rename(roms / "hidden.zip",
               roms / ".hidden.zip");  // a hidden name here; no game can bear it
#endif
    WriteFile(app / "mame.ini", "rompath " + Utf8(roms.filename()) + "\n");
    WriteFile(app / "LVN_LIST.txt",
              "Name:\ngalaga \"Galaga\"\nhidden \"Hidden\"\npong \"Pong\"\nqix \"Qix\"\n");
    const fs::path previous = fs::current_path();
    fs::current_path(app);  // relative ROM folders are the application folder's
    const Entries listed = Available(Utf8(app));
    fs::current_path(previous);
    EXPECT_EQ(listed, (Entries{"Pong    [pong]", "Qix    [qix]"}));
}

// A 20 MB line loads; a missing, directory or looping data file fails as such.
TEST_F(GameListTest, HostileDataFiles) {
    const std::string huge(20u << 20, 'x'), roms = t_.Str() + "/roms/";
    WriteFile(t_ / "LVN_LIST.txt", "Name:\n" + huge + "\r\nqix \"" + huge);
    const Entries loaded = ListAvailableGames(t_.Str() + "/LVN_LIST.txt", {roms});
    EXPECT_TRUE(loaded == Entries{huge + "    [qix]"}) << loaded.size() << " entries";
    fs::create_directory(t_ / "dir.txt");
    std::vector<std::pair<const char*, std::int32_t>> cases{
        {"missing.txt", ErrNo::FileNotFound}, {"dir.txt", ErrNo::PathFileAccessError}};
    if (kPathSeparator == '/') {  // Wine makes no symbolic links
        fs::create_symlink("loop.txt", t_ / "loop.txt");
        cases.emplace_back("loop.txt", ErrNo::PathFileAccessError);
    }
    for (const auto& [name, number] : cases)
        EXPECT_EQ(FailureNumber<DataFileFailure>(
                      [&] { ListAvailableGames(t_.Str() + "/" + name, {roms}); }),
                  number)
            << name;
}

// Debian's emulator, whatever its version: its listing, in the shape the list reads, becomes the
// data file; five sets give six entries.
TEST_F(GameListTest, RealEmulatorListing) {
    if (!RealEmulatorAvailable()) GTEST_SKIP() << kRealEmulator << " is not installed";
    PrepareRealEmulatorDir(t_.Path());
    for (const char* set : {"breakout", "elan_eu3a05commonsys"})
        WriteFile(t_ / "roms" / (set + ".zip"s), "");
    const fs::path oldDir = fs::current_path();
    fs::current_path(t_.Path());  // the emulator writes its own files beside it
    const ListingCapture capture = CaptureGameDataFile(t_.Str(), "mame", "LVN_LIST.txt");
    const Entries listed = Available(t_.Str());
    fs::current_path(oldDir);
    EXPECT_TRUE(capture.written && capture.program == t_.Str() + "/mame")
        << capture.result.text.substr(0, 500);
    const std::string data = ReadFile(t_ / "LVN_LIST.txt");
    std::vector<std::string_view> lines = util::SplitLines(data);
    ASSERT_GT(lines.size(), 30000u) << "tens of thousands of games";
    EXPECT_TRUE(lines.back().empty() && data.ends_with("\"\n\r\n"))
        << "the listing and one line break";
    lines.pop_back();
    EXPECT_EQ(lines[0], "Name:             Description:");
    std::size_t longNames = 0, natodef = 0;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = lines[i], name = line.substr(0, line.find(' '));
        const std::size_t quote = std::max<std::size_t>(name.size(), 17) +
                                  1;  // name in 17 columns, a blank, "description"
        ASSERT_TRUE(!name.empty() && line.size() > quote + 1 &&
                    line.find_first_not_of(' ', name.size()) == quote && line[quote] == '"' &&
                    line.back() == '"')
            << "line " << i + 1 << ": " << line;
        longNames += name.size() > 8;
        if (name == "natodef" && i + 1 < lines.size() && lines[i + 1].starts_with("natodefa "))
            natodef = i;
    }
    EXPECT_GT(longNames, 1000u);
    EXPECT_NE(natodef, 0u) << "natodef and natodefa on consecutive lines";
    Entries names;
    for (const std::string& entry : listed) names.push_back(mame::ExtractRomName(entry));
    std::ranges::sort(names);
    EXPECT_EQ(names,
              (Entries{"breakout", "elan_eu3a05commonsys", "natodef", "natodefa", "pong", "qix"}));
    EXPECT_EQ(std::ranges::count(listed, kNatodefaEntry), 1);
}

}  // namespace
}  // namespace lorvane::gamelist
