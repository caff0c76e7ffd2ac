#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fake_host.h"
#include "game_list.h"
#include "standin.h"
#include "temp_dir.h"

namespace lorvane::Frontend_code {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;
using Entries = std::vector<std::string>;

constexpr const char* kListing =
    "Name:             Description:\npong              \"Pong\"\nqix               \"Qix\"\n";
constexpr const char* kOldFile = "Name:\nqix \"Qix (old)\"\r\n";

class GameDataFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::InstallStandIn(t_.Path(), "mame");
        WriteFile(t_ / "mame.listfull", kListing);
        WriteFile(t_ / "mame.ini", "rompath " + t_.Str() + "/roms\n");
        fs::create_directories(t_ / "roms");
        WriteFile(t_ / "roms/pong.zip", "");
        WriteFile(t_ / "roms/qix.zip", "");
        form_.state.MameExeName = "mame";
        form_.state.Combo1.AddItem("Before    [before]");
    }
    void Mode(const std::string& mode) { WriteFile(t_ / "mame.mode", mode + "\n"); }
    fs::path DataFile() const { return t_ / "LVN_LIST.txt"; }
    const std::vector<test::RecordedMessage>& Messages() const { return form_.ui.messages; }
    const Entries& List() const { return form_.state.Combo1.Entries(); }

    void ExpectPatienceFirst() const {
        ASSERT_FALSE(Messages().empty());
        EXPECT_EQ(Messages()[0].text,
                  "Please be patient as the data file is created.  This should take approx. 5 seconds "
                  "and only needs to be generated once for each new beta.");
        EXPECT_EQ(Messages()[0].title, "Please be Patient");
        EXPECT_EQ(Messages()[0].icon, MsgIcon::Information);
    }
    void ExpectNoDataFileMessage() const {
        ASSERT_EQ(Messages().size(), 2u);
        EXPECT_EQ(Messages()[1].text, "Press button on menu to create Mame data file");
        EXPECT_EQ(Messages()[1].title, "ERROR");
        EXPECT_EQ(Messages()[1].icon, MsgIcon::Critical);
    }

    test::TempDir t_;
    test::FakeHost form_{t_.Str()};
};

TEST_F(GameDataFileTest, CapturedListingReplacesTheFileWhole) {
    WriteFile(DataFile(), std::string(100000, 'x'));
    CreateGameDataFile(form_);

    EXPECT_EQ(ReadFile(DataFile()), std::string(kListing) + "\r\n");
    EXPECT_EQ(test::StandInArgs(t_.Path(), "mame"), "-listfull\n");
    ExpectPatienceFirst();
    EXPECT_EQ(Messages().size(), 1u);
    EXPECT_EQ(List(), (Entries{"Pong    [pong]", "Qix    [qix]"}));
    EXPECT_EQ(form_.state.caption, "Lorvane   (romcount = 2)");
    // Nothing is left behind beside it.
    for (const auto& e : fs::directory_iterator(t_.Path()))
        EXPECT_FALSE(e.path().filename().string().starts_with(".")) << e.path();
}

TEST_F(GameDataFileTest, NoListingKeepsAnOlderFile) {
    for (const std::string mode : {"silent", "crash"}) {
        SCOPED_TRACE(mode);
        Mode(mode);
        WriteFile(DataFile(), kOldFile);
        form_.ui.messages.clear();

        CreateGameDataFile(form_);

        EXPECT_EQ(ReadFile(DataFile()), kOldFile);
        ExpectPatienceFirst();
        ASSERT_EQ(Messages().size(), 2u);
        EXPECT_EQ(Messages()[1].title, "Game Data file kept");
        EXPECT_EQ(Messages()[1].icon, MsgIcon::Exclamation);
        EXPECT_NE(Messages()[1].text.find("LVN_LIST.txt was kept"), std::string::npos);
        EXPECT_NE(Messages()[1].text.find(mode == "crash" ? "stopped before finishing" : "gave no game listing"),
                  std::string::npos)
            << Messages()[1].text;
        // The list comes from the kept file.
        EXPECT_EQ(List(), Entries{"Qix (old)    [qix]"});
    }
}

TEST_F(GameDataFileTest, NoListingAndNoFileSaysSo) {
    for (const std::string how : {"silent", "crash", "missing emulator"}) {
        SCOPED_TRACE(how);
        if (how == "missing emulator")
            form_.state.MameExeName = "nosuch";
        else
            Mode(how);
        form_.ui.messages.clear();

        CreateGameDataFile(form_);

        EXPECT_FALSE(fs::exists(DataFile()));
        ExpectPatienceFirst();
        ExpectNoDataFileMessage();
        EXPECT_EQ(List(), Entries{"Before    [before]"});
    }
}

// Whatever the emulator prints goes into the data file byte for byte and the
// list is loaded from it without harm: megabytes of random bytes (NULs and
// stray line ends included), text that is not UTF-8, or a program that only
// looks at its (empty) standard input.
TEST_F(GameDataFileTest, AnyOutputIsStoredUnchangedAndLoadsWithoutHarm) {
    const std::string notUtf8 = "Name:\npong   \"P\xff\xfe" "ng \xc3\x28 \xed\xa0\x80\"\n";
    struct Case {
        const char* mode;
        std::string listfull;
        Entries list;  // checked unless the output is random
    } cases[] = {
        {"noise 8", "", {}},
        {"", notUtf8, {"P\xff\xfe" "ng \xc3\x28 \xed\xa0\x80    [pong]"}},
        {"readstdin", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        Mode(c.mode);
        WriteFile(t_ / "mame.listfull", c.listfull);
        form_.ui.messages.clear();

        CreateGameDataFile(form_);

        const std::string stored = ReadFile(DataFile());
        EXPECT_EQ(Messages().size(), 1u);
        if (std::string(c.mode) == "noise 8") {
            EXPECT_EQ(stored.size(), 8u * 1024 * 1024 + 2);
            EXPECT_EQ(form_.state.caption.rfind("Lorvane", 0), 0u);
        } else {
            EXPECT_EQ(stored, (c.listfull.empty() ? "stdin:0\n" : c.listfull) + "\r\n");
            EXPECT_EQ(List(), c.list);
        }
    }
}

}  // namespace
}  // namespace lorvane::Frontend_code
