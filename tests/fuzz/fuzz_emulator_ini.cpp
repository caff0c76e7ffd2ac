// An arbitrary mame.ini: a Failure is an accepted answer; otherwise every ROM
// directory is non-empty and ends with "/", and the snapshot folder ends with
// "/" and lies inside the application directory unless absolute. The ini is read in two
// environments whose variables differ, some holding ";": the number of ROM directories and whether
// a read fails never depend on them, and an ini without "$" or "~" reads the same in both. The same
// bytes also go to the value parser as one value.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "mame/emulator_ini.h"
#include "mame/ini_value.h"
#include "util/failure.h"

namespace {

struct Reading {
    bool romFailed = false;
    std::vector<std::string> romDirs;
    bool snapFailed = false;
    std::string snap;
};

Reading Read(const std::string& appDir) {
    Reading r;
    lorvane::util::PendingError pending;
    try {
        r.romDirs = lorvane::mame::ReadRomFolders(appDir, "mame", pending);
        for (const std::string& dir : r.romDirs)
            FUZZ_CHECK(!dir.empty() && dir.back() == '/', "a ROM directory without a final /");
        FUZZ_CHECK(!pending.IsSet(), "the ini file could not be tested");
    } catch (const lorvane::util::Failure&) {
        r.romFailed = true;
    }

    // No snapshot line leaves the folder as it was.
    r.snap = "/before/";
    try {
        if (auto folder = lorvane::mame::ReadSnapshotFolder(appDir, "mame", pending))
            r.snap = std::move(*folder);
    } catch (const lorvane::util::Failure&) {
        r.snapFailed = true;
    }
    FUZZ_CHECK(!r.snap.empty() && r.snap.back() == '/', "a snapshot folder without a final /");
    // The application directory is absolute, so only a ";" list can be relative.
    FUZZ_CHECK(r.snap.front() == '/' || r.snap.find(';') != std::string::npos,
               "a relative snapshot directory not taken inside the application directory");
    return r;
}

void SetVariables(const char* a, const char* b, const char* home) {
    setenv("A", a, 1);
    setenv("B", b, 1);
    setenv("HOME", home, 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& appDir = lorvane::fuzz::ScratchDir();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    lorvane::fuzz::WriteBytes(appDir + "/mame.ini", bytes);

    SetVariables("p;q", "", "/h;x");
    const Reading first = Read(appDir);
    SetVariables("a", "b", "/h");
    const Reading second = Read(appDir);
    FUZZ_CHECK(first.romFailed == second.romFailed && first.romDirs.size() == second.romDirs.size(),
               "a variable's value changed the number of ROM directories");
    FUZZ_CHECK(first.snapFailed == second.snapFailed,
               "a variable's value made the snapshot read fail");
    if (bytes.find_first_of("$~") == std::string_view::npos)
        FUZZ_CHECK(first.romDirs == second.romDirs && first.snap == second.snap,
                   "an ini without variables read differently in another environment");

    const std::string_view unquoted = lorvane::mame::UnquoteIniValue(bytes);
    FUZZ_CHECK(
        unquoted == bytes || (bytes.size() >= 2 && bytes.front() == '"' && bytes.back() == '"' &&
                              unquoted == bytes.substr(1, bytes.size() - 2)),
        "unquoting took more than one enclosing pair of quotes");
    // Whatever a variable holds stays as it is: it is not expanded again.
    const std::string expanded = lorvane::mame::ExpandFolderEntry(
        bytes, [](const std::string&) -> std::optional<std::string> { return "$A${A}~"; });
    if (bytes.find('$') == std::string_view::npos && (bytes.empty() || bytes.front() != '~'))
        FUZZ_CHECK(expanded == bytes, "a value without a variable changed");
    FUZZ_CHECK(expanded.size() <= bytes.size() * 8 + 8, "a variable's value was expanded again");
    return 0;
}
