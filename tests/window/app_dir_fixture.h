#pragma once
// A temporary application directory, made the working one as the program does with its own.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fake_ui.h"
#include "temp_dir.h"

namespace lorvane::test {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

class AppDirTest : public ::testing::Test {
protected:
    void SetUp() override { fs::current_path(dir_.Path()); }
    void TearDown() override { fs::current_path(previous_); }
    std::string App() const { return dir_.Str(); }

    fs::path previous_ = fs::current_path();
    TempDir dir_;
};

inline Strings Shown(const FakeUi& ui) {
    Strings out;
    for (const RecordedMessage& m : ui.messages)
        out.push_back(m.title + "|" + std::to_string(static_cast<int>(m.icon)) + "|" + m.text);
    return out;
}

}  // namespace lorvane::test
