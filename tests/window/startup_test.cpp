// The start-up sequence end to end on the model, with a recording screen and
// the stand-in emulator.
#include <gtest/gtest.h>

#include <cerrno>

#include "app_dir_fixture.h"
#include "fake_ui.h"
#include "file_io.h"
#include "main_form.h"
#include "standin.h"

namespace lorvane::test {
namespace {

const char* const kListing =
    "Name:             Description:\n"
    "pong              \"Pong (Rev E) [TTL]\"\n"
    "breakout          \"Breakout [TTL]\"\n"
    "natodef           \"NATO Defense\"\n"
    "natodefa          \"NATO Defense (alternate mazes)\"\n"
    "elan_eu3a05commonsys \"Elan EU3A05/EU3A14 Common System\"\n";

std::string Messages(const FakeUi& ui) {
    std::string out;
    for (const auto& m : ui.messages)
        out += m.title + "|" + m.text + "|" + std::to_string(static_cast<int>(m.icon)) + "\n";
    return out;
}

class StartupTest : public AppDirTest {
protected:
    void SetUp() override {
        AppDirTest::SetUp();
        std::filesystem::create_directories(dir_ / "roms");
        for (const char* zip : {"pong.zip", "natodef.zip", "elan_eu3a05commonsys.zip"})
            WriteFile(dir_ / "roms" / zip, "");
    }
    void Emulator(const std::string& name) {
        InstallStandIn(dir_.Path(), name);
        WriteFile(dir_ / (name + ".listfull"), kListing);
    }
    FakeUi ui_;
};

TEST_F(StartupTest, FirstRunWithOnlyTheEmulatorCreatesEverythingAndFillsTheList) {
    Emulator("MAME.exe");
    MAIN_form form(App(), ui_);
    form.OnActivated();

    EXPECT_EQ(Messages(ui_),
              "Generating LVN.ini|LVN.ini not found.  A new one will be generated|0\n"
              "Generating Game Data file|LVN_LIST.txt not found.  A new one will be generated.|0\n"
              "Please be Patient|Please be patient as the data file is created.  This should take "
              "approx. 5 seconds and only needs to be generated once for each new beta.|1\n");
    EXPECT_TRUE(ui_.inputs.empty());
    EXPECT_EQ(ReadFile(dir_ / "LVN_LIST.txt"), std::string(kListing) + "\r\n");
    EXPECT_EQ(StandInArgs(dir_.Path(), "MAME.exe"), "-listfull\n");
    EXPECT_EQ(ReadFile(dir_ / "LVN.ini"),
              "[Settings]\r\nMAME NAME=MAME.exe\r\nData File Name=LVN_LIST.txt\r\nJoy=1\r\n"
              "Preview_on=False\r\n");

    const WindowState& s = form.State();
    EXPECT_EQ(s.Combo1.Entries(),
              (std::vector<std::string>{"Elan EU3A05/EU3A14 Common System    [elan_eu3a05commonsys]",
                                        "NATO Defense    [natodef]",
                                        "NATO Defense (alternate mazes)    [natodefa]",
                                        "Pong (Rev E) [TTL]    [pong]"}));
    EXPECT_EQ(s.caption, "Lorvane   (romcount = 4)");
    EXPECT_EQ(s.snap_path, App() + "/snap/");
    EXPECT_FALSE(s.brwPNGBrowser.visible);
    EXPECT_EQ(s.Text3, "");
    EXPECT_TRUE(s.JOY_SEL[1]);
    EXPECT_EQ(ui_.closes, 0);

    // Focus coming back to the window does not run the start-up again.
    form.OnActivated();
    EXPECT_EQ(ui_.messages.size(), 3u);
}

TEST_F(StartupTest, CancelOrBlanksAtTheExecutableQuestionEndTheProgramWithoutSaving) {
    const std::string ini = "[Settings]\r\nMAME NAME=old.exe\r\nData File Name=LVN_LIST.txt\r\nJoy=1\r\nPreview_on=False\r\n";
    for (const char* answer : {"", "   "}) {
        WriteFile(dir_ / "LVN.ini", ini);
        ui_ = FakeUi();
        ui_.inputAnswers = {answer};
        MAIN_form form(App(), ui_);
        form.OnActivated();

        ASSERT_EQ(ui_.inputs.size(), 1u);
        EXPECT_EQ(ui_.inputs[0].prompt,
                  "MAME was not found in the same directory as LVN.\r\n  What is your MAME "
                  "executable names?(include .exe)");
        EXPECT_EQ(ui_.inputs[0].title, "Enter your mame executable name.");
        EXPECT_EQ(ui_.inputs[0].preset, "mame.exe");
        EXPECT_EQ(Messages(ui_),
                  "MAME Executable not found!|The MAME executable was not found in the same "
                  "Directory as LVN.exe|3\n");
        EXPECT_EQ(ui_.closes, 1);
        EXPECT_EQ(form.State().MameExeName, answer);
        EXPECT_EQ(ReadFile(dir_ / "LVN.ini"), ini);
    }
}

TEST_F(StartupTest, AnAnswerNamingTheEmulatorIsSavedSoTheNextStartDoesNotAsk) {
    Emulator("my emulator");
    WriteFile(dir_ / "LVN_LIST.txt", kListing);
    WriteFile(dir_ / "LVN.ini", "; mine\r\n[Settings]\r\nMAME NAME=gone.exe\r\n[Other]\r\nx=1\r\n");
    ui_.inputAnswers = {"my emulator"};
    {
        MAIN_form form(App(), ui_);
        form.OnActivated();
        EXPECT_EQ(ui_.closes, 0);
        EXPECT_EQ(form.State().Combo1.ListCount(), 4);
    }
    const std::string saved = ReadFile(dir_ / "LVN.ini");
    EXPECT_NE(saved.find("MAME NAME=my emulator\r\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("; mine\r\n"), std::string::npos);
    EXPECT_NE(saved.find("[Other]\r\nx=1\r\n"), std::string::npos);

    FakeUi again;
    MAIN_form form(App(), again);
    form.OnActivated();
    EXPECT_TRUE(again.inputs.empty());
    EXPECT_EQ(form.State().Combo1.ListCount(), 4);
}

TEST_F(StartupTest, MissingKeysReadAsFifteenHundred) {
    Emulator("mame");
    WriteFile(dir_ / "LVN.ini", "[Settings]\r\nMAME NAME=mame\r\n");
    MAIN_form form(App(), ui_);
    form.OnActivated();

    // "1500" as data file name: announced, created and loaded; the preview is
    // switched on; the joystick index without a menu entry is dropped quietly.
    ASSERT_GE(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].text, "1500 not found.  A new one will be generated.");
    EXPECT_TRUE(std::filesystem::exists(dir_ / "1500"));
    EXPECT_TRUE(form.State().Preview);
    EXPECT_TRUE(form.State().brwPNGBrowser.visible);
    EXPECT_EQ(form.State().JOY_SEL, (std::array<bool, 4>{}));
    EXPECT_EQ(form.State().Combo1.ListCount(), 4);
    EXPECT_EQ(ui_.closes, 0);
    EXPECT_EQ(ReadFile(dir_ / "LVN.ini"),
              "[Settings]\r\nMAME NAME=mame\r\nData File Name=1500\r\nJoy=1500\r\nPreview_on=True\r\n");
}

TEST_F(StartupTest, ASnapshotLookupFailureSavesTheSettingsThenReportsAndCloses) {
    Emulator("mame");
    WriteFile(dir_ / "LVN_LIST.txt", kListing);
    WriteFile(dir_ / "LVN.ini", "[Settings]\r\nMAME NAME=mame\r\nData File Name=LVN_LIST.txt\r\nJoy=0\r\nPreview_on=False\r\n");
    WriteFile(dir_ / "mame.ini", "rompath roms\nsnapshot_dir x\n");
    MAIN_form form(App(), ui_);
    form.OnActivated();

    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].title, "An Error has occurred");
    EXPECT_EQ(ui_.messages[0].text.rfind("An Error has occured Err.number = 5 Err.description = ", 0), 0u)
        << ui_.messages[0].text;
    EXPECT_EQ(ui_.messages[0].icon, MsgIcon::Critical);
    EXPECT_EQ(ui_.closes, 1);
    EXPECT_EQ(form.State().Combo1.ListCount(), 0);
    EXPECT_NE(ReadFile(dir_ / "LVN.ini").find("Joy=0\r\n"), std::string::npos);
}

TEST_F(StartupTest, AListThatCannotBeFilledLeavesTheWindowOpen) {
    Emulator("mame");
    WriteFile(dir_ / "LVN.ini", "[Settings]\r\nMAME NAME=mame\r\nData File Name=LVN_LIST.txt\r\nJoy=1\r\nPreview_on=False\r\n");
    // A data file that is a directory can be neither written nor read.
    std::filesystem::create_directories(dir_ / "LVN_LIST.txt");
    auto expectCreateHint = [&](FakeUi& ui) {
        MAIN_form form(App(), ui);
        form.OnActivated();
        ASSERT_FALSE(ui.messages.empty());
        EXPECT_EQ(ui.messages.back().text, "Press button on menu to create Mame data file");
        EXPECT_EQ(ui.messages.back().title, "ERROR");
        EXPECT_EQ(ui.messages.back().icon, MsgIcon::Critical);
        EXPECT_EQ(ui.closes, 0);
        EXPECT_EQ(form.State().Combo1.ListCount(), 0);
    };
    expectCreateHint(ui_);

    // A data file that exists but cannot be read (made by the read seam, since
    // these tests run as root): the same hint, and the file is left alone.
    std::filesystem::remove(dir_ / "LVN_LIST.txt");
    WriteFile(dir_ / "LVN_LIST.txt", kListing);
    SetReadFaultHook([](const std::string& path) { return path.ends_with("/LVN_LIST.txt") ? EACCES : 0; });
    FakeUi unreadable;
    expectCreateHint(unreadable);
    SetReadFaultHook(nullptr);
    EXPECT_EQ(ReadFile(dir_ / "LVN_LIST.txt"), kListing);

    // An empty ROM directory entry: the generic message, and the window stays.
    WriteFile(dir_ / "mame.ini", "rompath roms;;other\n");
    FakeUi ui;
    MAIN_form form(App(), ui);
    form.OnActivated();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text.rfind("An Error has occured Err.number = 5 ", 0), 0u);
    EXPECT_EQ(ui.closes, 0);
}

}  // namespace
}  // namespace lorvane::test
