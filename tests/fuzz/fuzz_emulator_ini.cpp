// An arbitrary mame.ini: a Failure is an accepted answer; otherwise every ROM
// directory is non-empty and ends with "/", and snap_path ends with "/", lies
// inside the application directory unless absolute, and is left as it was when
// the read fails. The ini is read in two environments whose variables differ,
// some holding ";": the number of ROM directories and whether a read fails never
// depend on them, and an ini without "$" or "~" reads the same in both. The same
// bytes also go to the value parser as one value.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "emulator_ini.h"
#include "failure.h"
#include "fake_ui.h"
#include "fuzz_support.h"
#include "ini_value.h"
#include "main_form.h"

namespace {

struct Reading {
    bool romFailed = false;
    std::vector<std::string> romDirs;
    bool snapFailed = false;
    std::string snap;
};

Reading Read(const std::string& appDir) {
    Reading r;
    lorvane::PendingError pending;
    try {
        r.romDirs = lorvane::Clean_code::GetMameRomPath(appDir, "mame", pending);
        for (const std::string& dir : r.romDirs)
            FUZZ_CHECK(!dir.empty() && dir.back() == '/', "a ROM directory without a final /");
        FUZZ_CHECK(!pending.IsSet(), "the ini file could not be tested");
    } catch (const lorvane::Failure&) {
        r.romFailed = true;
    }

    lorvane::test::FakeUi ui;
    lorvane::MAIN_form host(appDir, ui);
    lorvane::WindowState& state = host.State();
    state.MameExeName = "mame";
    const std::string before = "/before/";
    state.snap_path = before;
    try {
        lorvane::Frontend_code::GetMameSnapshotDir(host);
    } catch (const lorvane::Failure&) {
        FUZZ_CHECK(state.snap_path == before, "a failed read changed snap_path");
        r.snapFailed = true;
    }
    r.snap = state.snap_path;
    FUZZ_CHECK(!r.snap.empty() && r.snap.back() == '/', "snap_path without a final /");
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
    FUZZ_CHECK(first.snapFailed == second.snapFailed, "a variable's value made the snapshot read fail");
    if (bytes.find_first_of("$~") == std::string_view::npos)
        FUZZ_CHECK(first.romDirs == second.romDirs && first.snap == second.snap,
                   "an ini without variables read differently in another environment");

    const std::string_view unquoted = lorvane::UnquoteIniValue(bytes);
    FUZZ_CHECK(unquoted == bytes || (bytes.size() >= 2 && bytes.front() == '"' && bytes.back() == '"' &&
                                     unquoted == bytes.substr(1, bytes.size() - 2)),
               "unquoting took more than one enclosing pair of quotes");
    // Whatever a variable holds stays as it is: it is not expanded again.
    const std::string expanded = lorvane::ExpandFolderEntry(
        bytes, [](const std::string&) -> std::optional<std::string> { return "$A${A}~"; });
    if (bytes.find('$') == std::string_view::npos && (bytes.empty() || bytes.front() != '~'))
        FUZZ_CHECK(expanded == bytes, "a value without a variable changed");
    FUZZ_CHECK(expanded.size() <= bytes.size() * 8 + 8, "a variable's value was expanded again");
    return 0;
}
