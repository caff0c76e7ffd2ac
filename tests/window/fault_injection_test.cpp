// Every file the program writes, failed at each step of its atomic write: the
// previous file survives byte for byte, no temporary file is left behind, and
// the user is told where a handler tells anything.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app_dir_fixture.h"
#include "fake_ui.h"
#include "file_exists.h"
#include "file_io.h"
#include "main_form.h"
#include "standin.h"

namespace lorvane::test {
namespace {

namespace fs = std::filesystem;

// The hook is a plain function pointer: the fault it injects lives here.
struct Fault {
    const char* step;
    int err;
};
Fault g_fault{"", 0};
std::string g_target;  // only writes to this file name fail
int g_hits = 0;

int InjectFault(const char* step, const std::string& path) {
    if (fs::path(path).filename() != g_target || std::strcmp(step, g_fault.step) != 0) return 0;
    ++g_hits;
    return g_fault.err;
}

const char* const kListing = "Name:             Description:\npong              \"Pong (Rev E) [TTL]\"\n";
const char* const kOldIni =
    "; mine\r\n[Settings]\r\nMAME NAME=mame\r\nData File Name=LVN_LIST.txt\r\nJoy=0.0\r\nPreview_on=False\r\n";
const std::string kOldData = std::string(kListing) + "old line\r\n";

struct Writer {
    const char* what;
    const char* file;
    const char* title;  // title of the message the user must get; "" for none
    std::function<void(MAIN_form&, FakeUi&)> act;
};

class FaultInjectionTest : public AppDirTest {
protected:
    void SetUp() override {
        AppDirTest::SetUp();
        InstallStandIn(dir_.Path(), "mame");
        WriteFile(dir_ / "mame.listfull", std::string(kListing) + "qix \"Qix\"\n");
        fs::create_directories(dir_ / "roms");
        WriteFile(dir_ / "roms" / "pong.zip", "");
    }
    void TearDown() override {
        SetWriteFaultHook(nullptr);
        AppDirTest::TearDown();
    }
    // Names in the application directory that look like a temporary write.
    std::string Leftovers() const {
        std::string out;
        for (const auto& e : fs::directory_iterator(dir_.Path()))
            if (e.path().filename().string().find(".tmp-") != std::string::npos) out += e.path().filename().string() + " ";
        return out;
    }
};

TEST_F(FaultInjectionTest, EveryWrittenFileSurvivesEveryFailedStep) {
    const Writer writers[] = {
        {"settings at start-up", "LVN.ini", "Settings not saved",
         [](MAIN_form& f, FakeUi&) { f.OnActivated(); }},
        {"settings at launch", "LVN.ini", "Settings not saved",
         [](MAIN_form& f, FakeUi&) {
             f.State().MameExeName = "mame";
             f.State().LVNGameList = "LVN_LIST.txt";
             f.State().Text4 = "2";
             f.State().Combo1.AddItem("Pong (Rev E) [TTL]    [pong]");
             f.State().Combo1.SetListIndex(0);
             f.Combo1_DblClick();
         }},
        {"default settings from the menu", "LVN.ini", "An Error has occurred",
         [](MAIN_form& f, FakeUi&) { f.create_def_ini_Click(); }},
        {"data file from the menu", "LVN_LIST.txt", "An Error has occurred",
         [](MAIN_form& f, FakeUi&) {
             f.State().MameExeName = "mame";
             f.State().LVNGameList = "LVN_LIST.txt";
             f.MAKE_GAME_LIST_Click();
         }},
        {"export", "AvailROM.txt", "Not Supported Feature",
         [](MAIN_form& f, FakeUi&) {
             f.State().Combo1.AddItem("Galaga    [galaga]");
             f.Export_ROM_list_Click();
         }},
        {"audit report", "BadRoms.txt", "",
         [](MAIN_form& f, FakeUi&) {
             EXPECT_THROW(WriteFileAtomically(f.AppDir() + "/BadRoms.txt", "new report\r\n"), Failure);
         }},
    };
    const Fault faults[] = {
        {"open", ENOSPC}, {"open", EIO},  {"open", EACCES},  {"write", ENOSPC}, {"write", EIO},
        {"write", EACCES}, {"sync", ENOSPC}, {"sync", EIO}, {"sync", EACCES},
        {"rename", EIO},  // stands for a crash between writing and renaming
    };

    std::string matrix;
    for (const Writer& w : writers) {
        for (const Fault& fault : faults) {
            SCOPED_TRACE(std::string(w.what) + " / " + fault.step + " " + std::strerror(fault.err));
            WriteFile(dir_ / "LVN.ini", kOldIni);
            WriteFile(dir_ / "LVN_LIST.txt", kOldData);
            WriteFile(dir_ / "AvailROM.txt", "old export\r\n");
            WriteFile(dir_ / "BadRoms.txt", "old report\r\n");
            const std::string before = ReadFile(dir_ / w.file);

            FakeUi ui;
            MAIN_form form(App(), ui);
            g_fault = fault;
            g_target = w.file;
            g_hits = 0;
            SetWriteFaultHook(&InjectFault);
            w.act(form, ui);
            SetWriteFaultHook(nullptr);

            EXPECT_GE(g_hits, 1) << "the write was never attempted";
            EXPECT_EQ(ReadFile(dir_ / w.file), before);
            EXPECT_EQ(Leftovers(), "");
            bool told = false;
            for (const auto& m : ui.messages) told = told || m.title == w.title;
            if (*w.title) {
                EXPECT_TRUE(told) << "no \"" << w.title << "\" message";
            }
            matrix += std::string(w.what) + " x " + fault.step + "/" + std::strerror(fault.err) + " -> " +
                      (ReadFile(dir_ / w.file) == before && Leftovers().empty() ? "kept" : "LOST") +
                      (*w.title ? (told ? ", told" : ", SILENT") : ", throws") + "\n";
        }
    }
    std::printf("%s", matrix.c_str());
}

// A process killed between writing its temporary file and renaming it: the old
// file is whole, and the hidden leftover is never taken for the real file.
TEST_F(FaultInjectionTest, AKilledWriterLeavesTheOldFileAndAnIgnoredLeftover) {
    WriteFile(dir_ / "LVN.ini", kOldIni);
    WriteFile(dir_ / "LVN_LIST.txt", kOldData);
    for (const char* file : {"LVN.ini", "LVN_LIST.txt"}) {
        SCOPED_TRACE(file);
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            SetWriteFaultHook([](const char* step, const std::string&) -> int {
                if (std::strcmp(step, "rename") == 0) _exit(9);
                return 0;
            });
            try {
                WriteFileAtomically(App() + "/" + file, "[Settings]\r\nMAME NAME=new\r\n");
            } catch (...) {
            }
            _exit(0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 9) << "the writer did not reach the rename";
    }
    EXPECT_NE(Leftovers().find(".LVN.ini.tmp-"), std::string::npos) << "the killed writer's file is expected";
    EXPECT_EQ(ReadFile(dir_ / "LVN.ini"), kOldIni);
    EXPECT_EQ(ReadFile(dir_ / "LVN_LIST.txt"), kOldData);
    EXPECT_FALSE(Clean_code::FileExists(App() + "/*.tmp-*"));
    EXPECT_FALSE(Clean_code::FileExists(App() + "/" + Leftovers().substr(0, Leftovers().find(' '))));

    // The program starts from the old files as if nothing had happened.
    WriteFile(dir_ / "mame.ini", "rompath roms\n");
    FakeUi ui;
    MAIN_form form(App(), ui);
    form.OnActivated();
    EXPECT_EQ(form.State().MameExeName, "mame");
    EXPECT_EQ(form.State().Text4, "0");
    EXPECT_EQ(form.State().Combo1.Entries(), std::vector<std::string>{"Pong (Rev E) [TTL]    [pong]"});
    EXPECT_EQ(ui.closes, 0);
}

}  // namespace
}  // namespace lorvane::test
