// An arbitrary mame.ini: a Failure is an accepted answer; otherwise every ROM
// directory is non-empty, ends with "/" and holds no ";", and snap_path ends with
// "/", lies inside the application directory unless absolute, and is left as it
// was when the read fails.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "emulator_ini.h"
#include "failure.h"
#include "fake_ui.h"
#include "fuzz_support.h"
#include "main_form.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& appDir = lorvane::fuzz::ScratchDir();
    lorvane::fuzz::WriteBytes(appDir + "/mame.ini",
                              std::string_view(reinterpret_cast<const char*>(data), size));

    lorvane::PendingError pending;
    try {
        for (const std::string& dir : lorvane::Clean_code::GetMameRomPath(appDir, "mame", pending)) {
            FUZZ_CHECK(!dir.empty() && dir.back() == '/', "a ROM directory without a final /");
            FUZZ_CHECK(dir.find(';') == std::string::npos, "a ROM directory holding the ; separator");
        }
        FUZZ_CHECK(!pending.IsSet(), "the ini file could not be tested");
    } catch (const lorvane::Failure&) {
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
    }
    const std::string& snap = state.snap_path;
    FUZZ_CHECK(!snap.empty() && snap.back() == '/', "snap_path without a final /");
    // The application directory is absolute, so only a ";" list can be relative.
    FUZZ_CHECK(snap.front() == '/' || snap.find(';') != std::string::npos,
               "a relative snapshot directory not taken inside the application directory");
    return 0;
}
