#pragma once
// Which ROM sets a directory holds, read once: answers "is romDir + name + .zip
// an existing file?" for every game of a reload without one file-system call
// per game, and always with the answer platform::FileExists would give.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lorvane::gamelist {

class RomDirectoryIndex {
public:
    // romDir is used as given (normally ending with the separator; relative to the
    // current directory when relative). Never throws for a directory that is
    // missing or cannot be read.
    explicit RomDirectoryIndex(std::string romDir);

    // Same result as platform::FileExists(romDir + name + ".zip").
    bool Contains(std::string_view name) const;

    // False when the directory could not be read in one go (no permission to
    // list it, a file system whose name lookups fold case, ...): each name is
    // then tested on its own.
    bool ReadInOneGo() const { return mode_ != Mode::PerName; }

private:
    enum class Mode { Absent, Indexed, PerName };

    void ReadDirectory();
    void Add(std::string_view stem);
    void BuildTable();
    bool Find(std::string_view stem) const;
    bool TestOne(std::string_view name) const;

    std::string romDir_;
    std::string prefix_;  // the part of romDir after its last separator
    Mode mode_ = Mode::PerName;

    // The stems (file name less prefix and ".zip") of the ordinary files, in
    // one buffer (in lower case where lookups fold case), and an
    // open-addressing table over them.
    std::string names_;
    std::vector<std::uint32_t> offsets_;  // offsets_[i]..offsets_[i+1] is stem i
    std::vector<std::uint32_t> table_;    // stem index + 1; 0 for an empty slot
};

}  // namespace lorvane::gamelist
