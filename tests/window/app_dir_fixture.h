#pragma once
// An application directory in a temporary folder, made the working directory
// for the test (as the program makes its own directory the working one).
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "temp_dir.h"

namespace lorvane::test {

class AppDirTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_.Path());
    }
    void TearDown() override { std::filesystem::current_path(previous_); }

    std::string App() const { return dir_.Str(); }
    std::filesystem::path operator/(const std::string& name) const { return dir_ / name; }

    TempDir dir_;

private:
    std::filesystem::path previous_;
};

}  // namespace lorvane::test
