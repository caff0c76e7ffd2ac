#include "file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "temp_dir.h"

namespace lorvane {
namespace {

namespace fs = std::filesystem;

const char* g_failingStep = nullptr;

int FailStep(const char* step, const std::string&) {
    return std::strcmp(step, g_failingStep) == 0 ? ENOSPC : 0;
}

class FileIoTest : public ::testing::Test {
protected:
    void TearDown() override { SetWriteFaultHook(nullptr); }
    test::TempDir dir_;
};

TEST_F(FileIoTest, ReplacesWholeContentKeepingMode) {
    const fs::path file = dir_ / "LVN.ini";
    test::WriteFile(file, std::string(10000, 'x'));
    ::chmod(file.c_str(), 0640);

    const std::string content("[Settings]\r\nJoy=0\r\n\0bin\n", 24);
    WriteFileAtomically(file.string(), content);
    EXPECT_EQ(ReadWholeFile(file.string()), content);
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(test::ListDir(dir_.Path()), "LVN.ini");

    // Through a link the target is rewritten and the link stays.
    fs::create_symlink(file, dir_ / "link");
    WriteFileAtomically((dir_ / "link").string(), "new");
    EXPECT_TRUE(fs::is_symlink(dir_ / "link"));
    EXPECT_EQ(ReadWholeFile(file.string()), "new");
}

TEST_F(FileIoTest, FailedStepLeavesOldFileAndNoTemporary) {
    const fs::path file = dir_ / "AvailROM.txt";
    test::WriteFile(file, "old content\r\n");
    SetWriteFaultHook(&FailStep);
    for (const char* step : {"open", "write", "sync", "rename"}) {
        g_failingStep = step;
        try {
            WriteFileAtomically(file.string(), "new content that must not appear");
            ADD_FAILURE() << step << ": no failure";
        } catch (const Failure& f) {
            EXPECT_EQ(f.Number(), ErrNo::DiskFull) << step;
            EXPECT_NE(f.Description().find("AvailROM.txt"), std::string::npos) << step;
        }
        EXPECT_EQ(ReadWholeFile(file.string()), "old content\r\n") << step;
        EXPECT_EQ(test::ListDir(dir_.Path()), "AvailROM.txt") << step;

        // Nor is a file that did not exist left half-made.
        EXPECT_THROW(WriteFileAtomically((dir_ / "BadRoms.txt").string(), "x"), Failure) << step;
        EXPECT_FALSE(fs::exists(dir_ / "BadRoms.txt")) << step;
    }
}

TEST_F(FileIoTest, ReadWholeFileFailures) {
    const auto number = [](const std::string& path) {
        try {
            ReadWholeFile(path);
        } catch (const Failure& f) {
            return f.Number();
        }
        return ErrNo::None;
    };
    EXPECT_EQ(number(dir_.Str()), ErrNo::PathFileAccessError);
    EXPECT_EQ(number((dir_ / "missing.txt").string()), ErrNo::FileNotFound);
    test::WriteFile(dir_ / "file", "x");
    EXPECT_EQ(number((dir_ / "file" / "below").string()), ErrNo::PathNotFound);
    EXPECT_THROW(WriteFileAtomically(dir_.Str(), "x"), Failure);
}

}  // namespace
}  // namespace lorvane
