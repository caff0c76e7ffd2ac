// The ini files Debian's emulator reads, read the same way: the first mame.ini
// on its built-in ini path, then the first on the ini path that file names,
// whose lines win; relative folders from the folder the emulator starts in.
#include "mame/system_emulator.h"

#include <gtest/gtest.h>

#include "support/scoped_variable.h"
#include "support/temp_dir.h"
#include "support/thrown.h"

namespace lorvane::mame {
namespace {

using namespace test;
using Strings = std::vector<std::string>;

class SystemEmulatorIni : public ::testing::Test {
protected:
    SystemEmulatorIni() { std::filesystem::create_directories(system_.Path()); }
    SystemEmulatorFolders Read() { return ReadSystemEmulatorFolders(home_.Str(), system_.Str()); }
    void WriteSystemIni(const std::string& lines) {
        WriteFile(system_ / "mame.ini",
                  "inipath                  $HOME/.mame;" + system_.Str() + "\n" + lines);
    }
    void WriteUserIni(const std::string& lines) {
        std::filesystem::create_directories(home_ / ".mame");
        WriteFile(home_ / ".mame" / "mame.ini", lines);
    }
    std::string Home() const { return home_.Str(); }

    TempDir home_, system_;
    ScopedVariable homeVar_{"HOME", home_.Str()};
};

// Debian's own file, with $HOME read from the environment; then the user's file,
// found through its ini path, which wins line by line: a rompath of its own
// replaces the system's, and the snapshot folder it lacks stays the system's.
TEST_F(SystemEmulatorIni, TheUsersIniOverridesTheSystemsLineByLine) {
    WriteSystemIni(
        "rompath                 $HOME/mame/roms;/usr/local/share/games/mame/roms\n"
        "snapshot_directory      $HOME/.mame/snap\n");
    SystemEmulatorFolders folders = Read();
    EXPECT_EQ(folders.iniFiles, Strings{system_.Str() + "/mame.ini"});
    EXPECT_EQ(folders.romFolders,
              (Strings{Home() + "/mame/roms/", "/usr/local/share/games/mame/roms/"}));
    EXPECT_EQ(folders.snapshotFolder, Home() + "/.mame/snap/");

    WriteUserIni("rompath \"/srv/arcade roms;~/more\"\n");
    folders = Read();
    EXPECT_EQ(folders.iniFiles, (Strings{system_.Str() + "/mame.ini", Home() + "/.mame/mame.ini"}));
    EXPECT_EQ(folders.romFolders, (Strings{"/srv/arcade roms/", Home() + "/more/"}));
    EXPECT_EQ(folders.snapshotFolder, Home() + "/.mame/snap/");

    // Relative folders are read from the folder the emulator starts in.
    WriteUserIni(
        "rompath            roms;my roms\n"
        "snapshot_directory snaps\n");
    folders = Read();
    EXPECT_EQ(folders.romFolders, (Strings{Home() + "/roms/", Home() + "/my roms/"}));
    EXPECT_EQ(folders.snapshotFolder, Home() + "/snaps/");
}

// The user's file is found only through the system file's ini path: without
// one there, the emulator looks on its built-in path again and reads no other.
// Without any file, the emulator's defaults lie in the folder it starts in.
TEST_F(SystemEmulatorIni, TheUsersIniIsFoundThroughTheSystemsIniPath) {
    WriteFile(system_ / "mame.ini", "rompath /system/roms\n");
    WriteUserIni("rompath /user/roms\n");
    SystemEmulatorFolders folders = Read();
    EXPECT_EQ(folders.iniFiles, Strings{system_.Str() + "/mame.ini"});
    EXPECT_EQ(folders.romFolders, Strings{"/system/roms/"});

    std::filesystem::remove(system_ / "mame.ini");
    folders = Read();
    EXPECT_EQ(folders.iniFiles, Strings{});
    EXPECT_EQ(folders.romFolders, Strings{Home() + "/roms/"});
    EXPECT_EQ(folders.snapshotFolder, Home() + "/snap/");
}

// A bad line is the file's fault, and the failure names that file.
TEST_F(SystemEmulatorIni, ABadLineNamesItsFile) {
    WriteSystemIni("rompath $HOME/mame/roms\n");
    WriteUserIni("rompath a;;b\n");
    EXPECT_EQ(FailureNumber([&] { Read(); }), util::ErrNo::InvalidArgument);
    const std::string why = FailureText([&] { Read(); });
    EXPECT_NE(why.find(Home() + "/.mame/mame.ini"), std::string::npos) << why;
    WriteUserIni("snapshot_directory\n");
    EXPECT_THROW(Read(), util::Failure);
}

}  // namespace
}  // namespace lorvane::mame
