#pragma once
// Runs of the stand-in emulator, on every system. Every test ends with nothing
// of its runs left: no child, running or unreaped, and no descriptor (POSIX),
// no handle (Windows).
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#endif
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "platform/command_capture.h"
#include "platform/paths.h"
#include "support/standin.h"
#include "support/temp_dir.h"

namespace lorvane::platform {

class ChildTest : public ::testing::Test {
protected:
    void TearDown() override {
#ifndef _WIN32
        EXPECT_TRUE(::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD) << "a child was left";
#endif
        EXPECT_EQ(OpenHandles(), handles_) << "a descriptor or handle was left open";
    }
    static long OpenHandles() {
#ifdef _WIN32
        DWORD n = 0;
        ::GetProcessHandleCount(::GetCurrentProcess(), &n);
        return static_cast<long>(n);
#else
        return static_cast<long>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                               std::filesystem::directory_iterator()));
#endif
    }
    // A stand-in of its own, in this mode, printing this listing for -listfull.
    std::string Emu(const std::string& mode, const std::string& listing = "") {
        const std::string name =
            "mame" + std::to_string(count_++) + (kProgramsHaveExtension ? ".exe" : "");
        test::WriteFile(dir_ / (name + ".mode"), mode);
        test::WriteFile(dir_ / (name + ".listfull"), listing);
        return test::Utf8(test::InstallStandIn(dir_.Path(), name));
    }
    std::string Text(const std::string& mode, const std::string& listing = "", bool err = true) {
        return CapturedText({Emu(mode, listing), "-listfull"}, true, err, false);
    }
    test::TempDir dir_;
    int count_ = 0;
    const long handles_ = OpenHandles();
};

}  // namespace lorvane::platform
