#pragma once
// A test run inside a fresh application directory (the program works in its
// own directory), and the messages a fake screen was shown, one line each.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/fake_ui.h"
#include "support/temp_dir.h"

namespace lorvane::test {

using Strings = std::vector<std::string>;

class AppDirTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::current_path(dir_.Path());
        std::filesystem::create_directories(dir_ / "roms");
    }
    void TearDown() override { std::filesystem::current_path(previous_); }
    std::string App() const { return dir_.Str(); }
    std::filesystem::path previous_ = std::filesystem::current_path();
    TempDir dir_;
};

inline Strings Shown(const FakeUi& ui) {
    Strings out;
    for (const auto& m : ui.messages)
        out.push_back(m.title + "|" + std::to_string(int(m.icon)) + "|" + m.text);
    return out;
}

}  // namespace lorvane::test
