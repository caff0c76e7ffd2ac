#include "gamelist/rom_directory_index.h"

#include <climits>
#include <cstring>
#include <functional>

#include "platform/directory_listing.h"
#include "platform/file_exists.h"
#include "platform/paths.h"
#include "util/text.h"

namespace lorvane::gamelist {
namespace {

constexpr std::string_view kZip = ".zip";

std::size_t HashOf(std::string_view s) { return std::hash<std::string_view>{}(s); }

bool IsAscii(std::string_view s) {
    for (const char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

// Where lookups fold case, stems are kept and looked up in lower case.
void AppendKey(std::string& out, std::string_view stem) {
    if (!platform::kFileNamesFoldCase) {
        out.append(stem);
        return;
    }
    for (const char c : stem) out += util::AsciiLower(c);
}

}  // namespace

RomDirectoryIndex::RomDirectoryIndex(std::string romDir) : romDir_(std::move(romDir)) {
    const std::size_t slash = romDir_.find_last_of(platform::kPathSeparators);
    prefix_ = slash == std::string::npos ? romDir_ : romDir_.substr(slash + 1);
    // A NUL cannot be passed to the system, and a pattern character in the
    // file name part makes every test a pattern match: leave both to FileExists.
    if (romDir_.find('\0') != std::string::npos ||
        prefix_.find_first_of(platform::kNameSpecialChars) != std::string::npos) {
        mode_ = Mode::PerName;
        return;
    }
    ReadDirectory();
}

void RomDirectoryIndex::ReadDirectory() {
    const std::size_t slash = romDir_.find_last_of(platform::kPathSeparators);
    const std::string dir =
        slash == std::string::npos ? "." : romDir_.substr(0, slash == 0 ? 1 : slash);
    switch (platform::ListOrdinaryFiles(dir, prefix_, kZip,
                                        [this](std::string_view stem) { Add(stem); })) {
        case platform::DirectoryListing::Listed:
            BuildTable();
            mode_ = Mode::Indexed;
            return;
        case platform::DirectoryListing::Absent:
            mode_ = Mode::Absent;
            return;
        case platform::DirectoryListing::NotListable:
            names_.clear();
            offsets_.clear();
            mode_ = Mode::PerName;
            return;
    }
}

void RomDirectoryIndex::Add(std::string_view stem) {
    if (offsets_.empty()) offsets_.push_back(0);
    AppendKey(names_, stem);
    offsets_.push_back(static_cast<std::uint32_t>(names_.size()));
}

void RomDirectoryIndex::BuildTable() {
    const std::size_t count = offsets_.empty() ? 0 : offsets_.size() - 1;
    std::size_t slots = 16;
    while (slots < count * 2) slots *= 2;
    table_.assign(slots, 0);
    const std::size_t mask = slots - 1;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view stem(names_.data() + offsets_[i], offsets_[i + 1] - offsets_[i]);
        std::size_t slot = HashOf(stem) & mask;
        while (table_[slot] != 0) slot = (slot + 1) & mask;
        table_[slot] = static_cast<std::uint32_t>(i + 1);
    }
}

bool RomDirectoryIndex::Find(std::string_view name) const {
    std::string folded;
    std::string_view stem = name;
    if (platform::kFileNamesFoldCase) {
        AppendKey(folded, name);
        stem = folded;
    }
    const std::size_t mask = table_.size() - 1;
    for (std::size_t slot = HashOf(stem) & mask; table_[slot] != 0; slot = (slot + 1) & mask) {
        const std::uint32_t i = table_[slot] - 1;
        const std::uint32_t begin = offsets_[i], end = offsets_[i + 1];
        if (end - begin == stem.size() &&
            std::memcmp(names_.data() + begin, stem.data(), stem.size()) == 0)
            return true;
    }
    return false;
}

bool RomDirectoryIndex::TestOne(std::string_view name) const {
    std::string path;
    path.reserve(romDir_.size() + name.size() + kZip.size());
    path.append(romDir_).append(name).append(kZip);
    return platform::FileExists(path);
}

bool RomDirectoryIndex::Contains(std::string_view name) const {
    if (mode_ == Mode::PerName) return TestOne(name);
    // A NUL ends no real name; a pattern, a name reaching into a subdirectory,
    // a path too long for the system, or (where case folds) letters beyond
    // ASCII, which the system folds by its own table, is what the single test is for.
    bool single = romDir_.size() + name.size() + kZip.size() >= PATH_MAX ||
                  (platform::kFileNamesFoldCase && !IsAscii(name));
    for (const char c : name) {
        if (c == '\0') return false;
        if (platform::kNameSpecialChars.find(c) != std::string_view::npos) single = true;
    }
    if (single) return TestOne(name);
    if (mode_ == Mode::Absent) return false;
    return Find(name);
}

}  // namespace lorvane::gamelist
