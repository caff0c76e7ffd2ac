// The list read ahead while the window is built: taken by the start-up only
// when it is what the start-up would read itself.
#include "form/list_read_ahead.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <memory>

#include "form/main_form.h"
#include "support/app_dir_test.h"
#include "support/native_path.h"

namespace lorvane::form {
namespace {

namespace fs = std::filesystem;
using namespace test;

const std::string kListing =
    "Name:             Description:\r\npong              \"Pong (Rev E) [TTL]\"\r\n"
    "breakout          \"Breakout [TTL]\"\r\nzaxxon            \"Zaxxon\"\r\n"
    "galaga            \"galaga\"\r\n";

std::string Ini(const std::string& emulator, const std::string& dataFile) {
    return "[Settings]\r\nMAME NAME=" + emulator + "\r\nData File Name=" + dataFile +
           "\r\nJoy=1\r\nPreview_on=False\r\n";
}

class ListReadAheadTest : public AppDirTest {
protected:
    void SetUp() override {
        AppDirTest::SetUp();
        WriteFile(dir_ / kMameExe, "");
        WriteFile(dir_ / "LVN.ini", Ini(kMameExe, "LVN_LIST.txt"));
        WriteFile(dir_ / "LVN_LIST.txt", kListing);
        for (const char* set : {"pong.zip", "zaxxon.zip", "galaga.zip"})
            WriteFile(dir_ / "roms" / set, "");
    }
    // Starts up with a list read ahead that is done reading; the changes come
    // between its read and the start-up.
    const ComboBox& StartUpAfter(const std::function<void()>& change) {
        auto readAhead = std::make_unique<ListReadAhead>(App(), PortableEmulatorSetup(App()));
        readAhead->Wait();
        change();
        form_ = std::make_unique<MainForm>(App(), ui_);
        form_->UseListReadAhead(std::move(readAhead));
        form_->OnActivated();
        return form_->State().gameList;
    }
    // Rewrites the data file in place, with its size and time as they were:
    // a change no identity sees, which shows whether the list was read again.
    void RewriteUnseen(const std::string& text) {
        const fs::path data = dir_ / "LVN_LIST.txt";
        const auto time = fs::last_write_time(data);
        std::fstream out(data, std::ios::binary | std::ios::in | std::ios::out);
        out << text;
        out.close();
        fs::last_write_time(data, time);
    }
    static std::string SameSizeListing() {
        std::string text = kListing;
        text.replace(text.find("Zaxxon"), 6, "Zoxxon");
        return text;
    }
    FakeUi ui_;
    std::unique_ptr<MainForm> form_;
};

// Read ahead, the list is the one the start-up reads itself; a start-up that
// went straight through takes it (the unseen change stays unseen), and it is
// taken once.
TEST_F(ListReadAheadTest, AStraightStartUpTakesTheListReadAhead) {
    const Strings expected = {"galaga    [galaga]", "Pong (Rev E) [TTL]    [pong]",
                              "Zaxxon    [zaxxon]"};
    const ComboBox& list = StartUpAfter([this] { RewriteUnseen(SameSizeListing()); });
    EXPECT_EQ(list.Entries(), expected);
    EXPECT_EQ(form_->State().caption, "Lorvane   (romcount = 3)");
    EXPECT_TRUE(ui_.messages.empty());

    form_->RebuildGameList();
    EXPECT_EQ(list.Entry(2), "Zoxxon    [zaxxon]") << "a later rebuild reads the files";
}

// Whatever the start-up would read otherwise is read again: a data file or ROM
// folder that changed, another data file named, a start-up that asked the
// user something (meanwhile files may change unseen).
TEST_F(ListReadAheadTest, AnythingElseIsReadAgain) {
    const std::string zoxxon = "Zoxxon    [zaxxon]";
    EXPECT_EQ(StartUpAfter([this] {
                  WriteFile(dir_ / "LVN_LIST.txt", SameSizeListing() + "\r\n");
              }).Entry(2),
              zoxxon);
    WriteFile(dir_ / "LVN_LIST.txt", kListing);
    EXPECT_EQ(StartUpAfter([this] {
                  WriteFile(dir_ / "roms" / "breakout.zip", "");
                  // The folder's time moves on even within the clock's tick.
                  const fs::path roms = dir_ / "roms";
                  fs::last_write_time(roms, fs::last_write_time(roms) + std::chrono::hours(1));
              }).Count(),
              4);
    fs::remove(dir_ / "roms" / "breakout.zip");

    EXPECT_EQ(StartUpAfter([this] {
                  WriteFile(dir_ / "OTHER.txt", SameSizeListing());
                  WriteFile(dir_ / "LVN.ini", Ini(kMameExe, "OTHER.txt"));
              }).Entry(2),
              zoxxon);
    WriteFile(dir_ / "LVN.ini", Ini(kMameExe, "LVN_LIST.txt"));

    WriteFile(dir_ / "LVN.ini", Ini("absent", "LVN_LIST.txt"));
    ui_.inputAnswers = {kMameExe};
    EXPECT_EQ(StartUpAfter([this] { RewriteUnseen(SameSizeListing()); }).Entry(2), zoxxon);
    EXPECT_EQ(ui_.inputs.size(), 1u);
}

}  // namespace
}  // namespace lorvane::form
