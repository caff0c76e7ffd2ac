#pragma once
// An application directory in a temporary folder, made the working directory
// for the test (as the program makes its own directory the working one).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fake_ui.h"
#include "temp_dir.h"

namespace lorvane::test {

using Strings = std::vector<std::string>;

class AppDirTest : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::current_path(dir_.Path()); }
    void TearDown() override { std::filesystem::current_path(previous_); }
    std::string App() const { return dir_.Str(); }

    std::filesystem::path previous_ = std::filesystem::current_path();
    TempDir dir_;
};

// "title|icon|text" of every message shown, the icon as its number.
inline Strings Shown(const FakeUi& ui) {
    Strings out;
    for (const RecordedMessage& m : ui.messages)
        out.push_back(m.title + "|" + std::to_string(static_cast<int>(m.icon)) + "|" + m.text);
    return out;
}

}  // namespace lorvane::test
