#include "emulator_ini.h"

#include <gtest/gtest.h>

#include "fake_host.h"
#include "failure.h"
#include "temp_dir.h"

namespace lorvane {
namespace {

using test::FakeHost;
using test::TempDir;
using test::WriteFile;
using Dirs = std::vector<std::string>;

TEST(EmulatorIni, NamesTheIniBesideTheExecutable) {
    EXPECT_EQ(EmulatorIniName("mame.exe"), "mame.ini");
    EXPECT_EQ(EmulatorIniName("MAME.exe"), "MAME.ini");
    EXPECT_EQ(EmulatorIniName("MAME.EXE"), "MAME.EXE");  // case-sensitive: names the executable
    EXPECT_EQ(EmulatorIniName("my.exe.exe"), "my.ini.ini");
    EXPECT_EQ(EmulatorIniName("mame.exec"), "mame.inic");
    EXPECT_EQ(EmulatorIniName("mame"), "mame.ini");
    EXPECT_EQ(EmulatorIniName("bin.d/mame"), "bin.d/mame.ini");
    EXPECT_EQ(EmulatorIniName("mame64.sh"), "mame64.sh");
    EXPECT_EQ(EmulatorIniPath("/opt/lvn", "mame"), "/opt/lvn/mame.ini");
}

TEST(EmulatorIni, RomPathFromTheFirstRomPathLine) {
    TempDir dir;
    const std::string app = dir.Str();
    PendingError pending;
    auto romPath = [&](const std::string& ini) {
        WriteFile(dir / "mame.ini", ini);
        return Clean_code::GetMameRomPath(app, "mame", pending);
    };

    pending.Set(57, "left over");
    EXPECT_EQ(Clean_code::GetMameRomPath(app, "mame", pending), Dirs{"roms/"});
    EXPECT_FALSE(pending.IsSet());

    EXPECT_EQ(romPath("rompath  roms\n"), Dirs{"roms/"});
    EXPECT_EQ(romPath("# video opengl\r\nROMPATH roms;/srv/my roms/\r\n"), (Dirs{"roms/", "/srv/my roms/"}));
    EXPECT_EQ(romPath("ROMPATH a; b\n"), (Dirs{"a/", " b/"}));
    EXPECT_EQ(romPath("ROMPATH=roms\n"), Dirs{"=roms/"});
    EXPECT_EQ(romPath("ROMPATH\troms \n"), Dirs{"\troms/"});
    EXPECT_EQ(romPath(";rompath nope\nrompath yes\nrompath no\n"), Dirs{"yes/"});
    EXPECT_EQ(romPath("ROMPATHS  x\n"), Dirs{"S  x/"});
    EXPECT_EQ(romPath("rompath                 $HOME/mame/roms;/usr/share/games/mame/roms\n"),
              (Dirs{"$HOME/mame/roms/", "/usr/share/games/mame/roms/"}));
    EXPECT_EQ(romPath("ROMPATH    \nrompath roms\n"), Dirs{});
    EXPECT_EQ(romPath("ROMPATH"), Dirs{});
    EXPECT_EQ(romPath("ROMPAT roms\nsnapshot_directory snap\n"), Dirs{});

    for (const char* bad : {"ROMPATH a;;b\n", "ROMPATH a;\n", "ROMPATH ;a\n"}) {
        try {
            romPath(bad);
            ADD_FAILURE() << "accepted " << bad;
        } catch (const Failure& f) {
            EXPECT_EQ(f.Number(), ErrNo::InvalidArgument) << bad;
        }
    }

    // Upper-case ".EXE" is left alone, so the executable itself is read and matches nothing.
    WriteFile(dir / "MAME.EXE", std::string("\x7f" "ELF\0\0binary", 12));
    EXPECT_EQ(Clean_code::GetMameRomPath(app, "MAME.EXE", pending), Dirs{});
}

TEST(EmulatorIni, SnapshotDirectory) {
    TempDir dir;
    FakeHost host(dir.Str());
    const std::string app = dir.Str();
    host.state.MameExeName = "mame";
    auto snapDir = [&](const std::string& ini) {
        WriteFile(dir / "mame.ini", ini);
        host.state.snap_path = "unchanged";
        Frontend_code::GetMameSnapshotDir(host);
        return host.state.snap_path;
    };
    auto failure = [&](const std::string& ini) {
        try {
            snapDir(ini);
        } catch (const Failure& f) {
            EXPECT_EQ(host.state.snap_path, "unchanged");
            return f.Number();
        }
        return ErrNo::None;
    };

    host.state.err.Set(57, "left over");
    Frontend_code::GetMameSnapshotDir(host);
    EXPECT_EQ(host.state.snap_path, app + "/snap/");
    EXPECT_FALSE(host.state.err.IsSet());

    EXPECT_EQ(snapDir("snapshot_directory snap\n"), app + "/snap/");
    EXPECT_EQ(snapDir("rompath                 $HOME/mame/roms\n"
                      "snapshot_directory      $HOME/.mame/snap\n"),
              app + "/$HOME/.mame/snap/");
    EXPECT_EQ(snapDir("SNAPSHOT_DIR       pics/\n"), app + "/pics/");
    EXPECT_EQ(snapDir("snapshot_directory /var/games/snap\n"), "/var/games/snap/");
    EXPECT_EQ(snapDir("snapshot_directory snap;/var/snap\n"), "snap;/var/snap/");
    EXPECT_EQ(snapDir("#snapshot_directory x\nsnapshot_directory=first\nsnapshot_directory second\n"),
              app + "/first/");  // 19 characters are dropped: "=" is the 19th
    EXPECT_EQ(snapDir("rompath roms\n"), "unchanged");

    EXPECT_EQ(failure("SNAPSHOT_DIR snap\n"), ErrNo::InvalidArgument);  // 17 characters
    EXPECT_EQ(failure("snapshot_directory \n"), ErrNo::InvalidArgument);
    EXPECT_EQ(failure("snapshot_directory            \n"), ErrNo::InvalidArgument);
}

}  // namespace
}  // namespace lorvane
