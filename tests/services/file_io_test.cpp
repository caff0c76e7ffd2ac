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

class FileIoTest : public ::testing::Test {
protected:
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
