// Every file the program writes, failed at each step of its atomic write: the
// previous file survives byte for byte, no temporary file is left behind, and
// the user is told where a handler tells anything.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>

#include "app_dir_fixture.h"
#include "file_exists.h"
#include "file_io.h"
#include "main_form.h"
#include "standin.h"

namespace lorvane::test {
namespace {

// The hook is a plain function pointer: the fault it injects lives here.
std::string g_file;  // only writes to this file name fail
const char* g_step;
int g_err, g_hits;

int InjectFault(const char* step, const std::string& path) {
    if (std::filesystem::path(path).filename() != g_file || std::strcmp(step, g_step) != 0) return 0;
    ++g_hits;
    return g_err;
}

const char* const kListing = "Name:             Description:\npong              \"Pong (Rev E) [TTL]\"\n";
const char* const kOldIni =
    "; mine\r\n[Settings]\r\nMAME NAME=mame\r\nData File Name=LVN_LIST.txt\r\nJoy=0.0\r\nPreview_on=False\r\n";
const std::string kOldData = std::string(kListing) + "old line\r\n";

class FaultInjectionTest : public AppDirTest {
protected:
    void SetUp() override {
        AppDirTest::SetUp();
        InstallStandIn(dir_.Path(), "mame");
        WriteFile(dir_ / "mame.listfull", std::string(kListing) + "qix \"Qix\"\n");
        std::filesystem::create_directories(dir_ / "roms");
        WriteFile(dir_ / "roms" / "pong.zip", "");
        WriteFile(dir_ / "LVN.ini", kOldIni);
        WriteFile(dir_ / "LVN_LIST.txt", kOldData);
    }
    void TearDown() override {
        SetWriteFaultHook(nullptr);
        AppDirTest::TearDown();
    }
};

TEST_F(FaultInjectionTest, EveryWrittenFileSurvivesEveryFailedStep) {
    const struct {
        const char *what, *file;
        const char* title;  // of the message the user gets; none: the write throws
        std::function<void(MAIN_form&)> act;
    } writers[] = {
        {"start-up", "LVN.ini", "Settings not saved", [](MAIN_form& f) { f.OnActivated(); }},
        {"launch", "LVN.ini", "Settings not saved", [](MAIN_form& f) { f.Combo1_DblClick(); }},
        {"default settings", "LVN.ini", "An Error has occurred", [](MAIN_form& f) { f.create_def_ini_Click(); }},
        {"data file", "LVN_LIST.txt", "An Error has occurred", [](MAIN_form& f) { f.MAKE_GAME_LIST_Click(); }},
        {"export", "AvailROM.txt", "Not Supported Feature", [](MAIN_form& f) { f.Export_ROM_list_Click(); }},
        {"audit report", "BadRoms.txt", nullptr,
         [](MAIN_form& f) { EXPECT_THROW(WriteFileAtomically(f.AppDir() + "/BadRoms.txt", "new"), Failure); }},
    };
    WriteFile(dir_ / "AvailROM.txt", "old export\r\n");
    WriteFile(dir_ / "BadRoms.txt", "old report\r\n");
    for (const auto& w : writers) {
        // A failed rename stands for a crash between writing and renaming.
        for (const char* step : {"open", "write", "sync", "rename"}) {
            for (const int err : {ENOSPC, EIO, EACCES}) {
                SCOPED_TRACE(std::string(w.what) + " / " + step + " " + std::strerror(err));
                const std::string before = ReadFile(dir_ / w.file);
                FakeUi ui;
                MAIN_form form(App(), ui);
                form.State().MameExeName = "mame";
                form.State().LVNGameList = "LVN_LIST.txt";
                form.State().Combo1.AddItem("Pong (Rev E) [TTL]    [pong]");
                form.State().Combo1.SetListIndex(0);
                g_file = w.file, g_step = step, g_err = err, g_hits = 0;
                SetWriteFaultHook(&InjectFault);
                w.act(form);
                SetWriteFaultHook(nullptr);

                EXPECT_GE(g_hits, 1) << "the write was never attempted";
                EXPECT_EQ(ReadFile(dir_ / w.file), before);
                EXPECT_EQ(ListDir(dir_.Path()).find(".tmp-"), std::string::npos) << ListDir(dir_.Path());
                EXPECT_EQ(ui.closes, 0);
                if (w.title) {
                    EXPECT_TRUE(std::any_of(ui.messages.begin(), ui.messages.end(),
                                            [&](const RecordedMessage& m) { return m.title == w.title; }))
                        << "no \"" << w.title << "\" message";
                }
            }
        }
    }
}

// A process killed between writing its temporary file and renaming it: the old
// file is whole, and the hidden leftover is never taken for the real file.
TEST_F(FaultInjectionTest, AKilledWriterLeavesTheOldFileAndAnIgnoredLeftover) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        SetWriteFaultHook([](const char* step, const std::string&) {
            return std::strcmp(step, "rename") == 0 ? (_exit(9), 0) : 0;
        });
        try {
            WriteFileAtomically(App() + "/LVN.ini", "[Settings]\r\nMAME NAME=new\r\n");
        } catch (...) {
        }
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 9) << "the writer did not reach the rename";
    const std::string names = ListDir(dir_.Path());
    ASSERT_EQ(names.rfind(".LVN.ini.tmp-", 0), 0u) << names;
    EXPECT_FALSE(Clean_code::FileExists(App() + "/" + names.substr(0, names.find(' '))));
    EXPECT_FALSE(Clean_code::FileExists(App() + "/*.tmp-*"));
    EXPECT_EQ(ReadFile(dir_ / "LVN.ini"), kOldIni);

    // The program starts from the old files as if nothing had happened.
    FakeUi ui;
    MAIN_form form(App(), ui);
    form.OnActivated();
    EXPECT_EQ(form.State().Text4, "0");
    EXPECT_EQ(form.State().Combo1.Entries(), Strings{"Pong (Rev E) [TTL]    [pong]"});
    EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace lorvane::test
