#include "support/real_emulator.h"

#ifndef _WIN32
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include "form/main_form.h"
#include "mame/commands.h"
#include "mame/rom_name.h"
#include "platform/command_capture.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace lorvane::test {

#ifdef _WIN32
bool RealEmulatorAvailable() { return false; }  // Debian's emulator is a Linux program
#else
bool RealEmulatorAvailable() { return access(kRealEmulator, X_OK) == 0; }
#endif

void PrepareRealEmulatorDir(const fs::path& dir) {
    fs::copy_file(LORVANE_EMULATOR_WRAPPER, dir / "mame", fs::copy_options::overwrite_existing);
    fs::permissions(dir / "mame", fs::perms(0755));
    WriteFile(dir / "mame.ini",
              "rompath                   roms\n"
              "snapshot_directory        snap\n"
              "video                     none\n"
              "sound                     none\n");
    fs::create_directories(dir / "roms");
    fs::create_directories(dir / "snap");
}

void WriteRealEmulatorWithOwnHome(const fs::path& dir) {
    WriteFile(dir / "mame", std::string("#!/bin/sh\nexec ") + kRealEmulator +
                                " -inipath \"$(dirname \"$0\")\" \"$@\"\n");
    fs::permissions(dir / "mame", fs::perms(0755));
}

std::set<std::string> ListedSets(const form::MainForm& form) {
    std::set<std::string> names;
    for (int i = 0; i < form.State().gameList.Count(); ++i)
        names.insert(mame::ExtractRomName(form.State().gameList.Entry(i)));
    return names;
}

std::set<std::string> ExpectLaunchesAsChecksByHand(form::MainForm& form, FakeUi& ui,
                                                   const std::string& emulator,
                                                   const std::string& snapshots,
                                                   const std::string& pictured) {
    std::set<std::string> passed;
    form::WindowState& st = form.State();
    for (int i = 0; i < st.gameList.Count(); ++i) {
        const std::string name = mame::ExtractRomName(st.gameList.Entry(i));
        const platform::CaptureResult byHand =
            platform::RunCapture({emulator, name, "-verifyroms"}, true, true);
        ui.messages.clear();
        ui.starts.clear();
        st.gameList.Select(i);
        form.LaunchSelectedGame();
        EXPECT_EQ(ui.starts.empty(), !mame::VerdictPasses(byHand.text)) << name;
        if (ui.starts.empty()) {
            EXPECT_EQ(ui.messages.size(), 1u) << name;
            if (!ui.messages.empty()) {
                EXPECT_EQ(ui.messages[0].text, byHand.text) << name;
            }
        } else {
            passed.insert(name);
            EXPECT_EQ(ui.starts[0], (platform::CommandLine{emulator, name})) << name;
        }
        form.ShowSnapshotOfSelectedGame();
        EXPECT_EQ(st.snapshotPane.page,
                  name == pictured ? snapshots + "/" + name + ".png" : "about:blank")
            << name;
    }
    return passed;
}

}  // namespace lorvane::test
