#include "mame/emulator_ini.h"

#include <gtest/gtest.h>

#include "mame/ini_value.h"
#include "support/native_path.h"
#include "support/scoped_variable.h"
#include "support/temp_dir.h"
#include "util/failure.h"

namespace lorvane::mame {
namespace {

using namespace test;
using namespace std::literals;
using platform::kPathSeparator;
using platform::kProgramsHaveExtension;

template <class F>
std::string Outcome(F fn) try {
    return fn();
} catch (const util::Failure& f) {
    return "E" + std::to_string(f.Number());
}

// The ROM folders, each followed by `after`, then `between` and the snapshot folder ("unchanged"
// for no snapshot line); "E<n>" for a failure of either.
std::string ReadFolders(const std::string& app, const std::string& exe, util::PendingError& pending,
                        const std::string& after, const std::string& between) {
    const std::string rom = Outcome([&] {
        std::string joined;
        for (const auto& d : ReadRomFolders(app, exe, pending)) joined += d + after;
        return joined;
    });
    return rom + between +
           Outcome([&] { return ReadSnapshotFolder(app, exe, pending).value_or("unchanged"); });
}

// ".exe" becomes ".ini"; the first line of each key counts; a relative snapshot dir lies in the app
// dir.
TEST(EmulatorIni, RomPathAndSnapshotDirectory) {
    // Only where programs carry no extension does a name without one get ".ini".
    for (const auto& [exe, ini] :
         {std::pair{"my.exe.exe", "my.ini.ini"},
          {"MAME.EXE", "MAME.EXE"},
          {"bin.d/mame", kProgramsHaveExtension ? "bin.d/mame" : "bin.d/mame.ini"}})
        EXPECT_EQ(EmulatorIniName(exe), ini) << exe;
    TempDir dir;
    const std::string app = dir.Str();
    util::PendingError pending;
    pending.Set(57, "left over");
    EXPECT_EQ(ReadFolders(app, kMameExe, pending, ";", " | "),
              Native("roms/; | " + app + "/snap/"));
    EXPECT_FALSE(pending.IsSet()) << "each file test clears the pending error";
    const std::pair<const char*, std::string> cases[] = {
        {"# x\r\nROMPATH roms;/srv/my roms/\r\nSNAPSHOT_DIR       pics/\r\n",
         "roms/;/srv/my roms/; | " + app + "/pics/"},
        {"ROMPATH a; b\nsnapshot_directory /var/games/snap\n", "a/; b/; | /var/games/snap/"},
        {"ROMPATH\troms \n#snapshot_directory x\nsnapshot_directory=first\nsnapshot_directory "
         "second\n",
         "\troms/; | " + app + "/first/"},
        {"ROMPATH    \nrompath roms\nsnapshot_directory            \n", " | E5"},
        {"ROMPATH a;\n", "E5 | unchanged"}};
    for (const auto& [ini, want] : cases) {
        WriteFile(dir / "mame.ini", Native(ini));
        EXPECT_EQ(ReadFolders(app, kMameExe, pending, ";", " | "), Native(want)) << ini;
    }
}

// Only an enclosing pair of quotes goes; $NAME, ${NAME} and a leading ~ expand once,
// an unset variable to nothing, and whatever is not a reference stays as written.
TEST(IniValue, QuotesAndVariables) {
    for (const auto& [value, want] : {std::pair{"\"my snaps\"", "my snaps"},
                                      {"\"\"", ""},
                                      {"\"", "\""},
                                      {"my\"roms", "my\"roms"},
                                      {"\"my roms", "\"my roms"},
                                      {"roms\"", "roms\""},
                                      {"\"a\";\"b\"", "a\";\"b"},
                                      {" \"a\"", " \"a\""}})
        EXPECT_EQ(UnquoteIniValue(value), want) << value;

    const VariableLookup lookup = [](const std::string& name) -> std::optional<std::string> {
        if (name == "HOME") return "/home/u";
        if (name == "A") return "aa";
        if (name == "B") return "";
        if (name == "S") return "p;q";
        if (name == "R") return "$A~";
        return std::nullopt;
    };
    const std::pair<const char*, const char*> cases[] = {{"$HOME/mame/roms", "/home/u/mame/roms"},
                                                         {"x$A/r", "xaa/r"},
                                                         {"$A$A.x-$A", "aaaa.x-aa"},
                                                         {"${A}x/${HOME}", "aax//home/u"},
                                                         {"$Ax/r", "/r"},
                                                         {"$NOPE", ""},
                                                         {"a$B.b", "a.b"},
                                                         {"${A B}r", "r"},
                                                         {"$S/r", "p;q/r"},
                                                         {"$R", "$A~"},
                                                         {"$/r$", "$/r$"},
                                                         {"$$A", "$aa"},
                                                         {"${}${A", "${}${A"},
                                                         {"$(A)%A%", "$(A)%A%"},
                                                         {"~", "/home/u"},
                                                         {"~/r", "/home/u/r"},
                                                         {"~x", "~x"},
                                                         {"a/~", "a/~"},
                                                         {"my roms", "my roms"}};
    for (const auto& [entry, want] : cases)
        EXPECT_EQ(ExpandFolderEntry(entry, lookup), want) << entry;
    EXPECT_EQ(
        ExpandFolderEntry("~/r", [](const std::string&) { return std::optional<std::string>(); }),
        "~/r");
}

// The emulator's own way of writing its ini, read through both lookups; variables come from the
// environment, one entry at a time.
TEST(EmulatorIni, QuotedValuesAndVariables) {
    TempDir dir, home;
    const std::string app = dir.Str();
    const std::string h = home.Str();
    util::PendingError pending;
    ScopedVariable homeVar("HOME", h), semi("LORVANE_TEST_SEMI", "p;q"),
        unset("LORVANE_TEST_UNSET", std::nullopt);
    const auto read = [&] { return ReadFolders(app, "mame.exe", pending, "|", " # "); };
    // Slashes written in the ini stay; the separator is the one the program adds.
    const std::string S(1, kPathSeparator);
    const std::pair<std::string, std::string> cases[] = {
        {"homepath                  .\nrompath                   \"my roms;$HOME/mame/roms\"\n"
         "snapshot_directory        \"my snaps\"\n",
         "my roms" + S + "|" + h + "/mame/roms" + S + "| # " + app + S + "my snaps" + S},
        {"rompath $HOME/mame/roms;/usr/share/games/mame/roms\nsnapshot_directory "
         "$HOME/.mame/snap\n",
         h + "/mame/roms" + S + "|/usr/share/games/mame/roms" + S + "| # " + h + "/.mame/snap" + S},
        {"rompath ${LORVANE_TEST_SEMI};x${LORVANE_TEST_UNSET}y\nsnapshot_directory "
         "$LORVANE_TEST_SEMI\n",
         "p;q" + S + "|xy" + S + "| # " + app + S + "p;q" + S},
        {"rompath $LORVANE_TEST_UNSET;\" a \"\nsnapshot_directory \"$LORVANE_TEST_UNSET;~/s\"\n",
         "." + S + "|\" a \"" + S + "| # .;" + h + "/s" + S},
        {"rompath \"\nsnapshot_directory \"s\n", "\"" + S + "| # " + app + S + "\"s" + S},
        {"rompath \"\"\nsnapshot_directory \"\"\n", " # E5"},
        {"rompath \"a;;b\"\nsnapshot_directory \"  \"\n", "E5 # " + app + S + "  " + S}};
    for (const auto& [ini, want] : cases) {
        WriteFile(dir / "mame.ini", ini);
        EXPECT_EQ(read(), want) << ini;
    }
}

}  // namespace
}  // namespace lorvane::mame
