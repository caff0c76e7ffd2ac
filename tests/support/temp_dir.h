#pragma once
#include <filesystem>
#include <string>

namespace lorvane::test {

// A path as the program's text holds it: UTF-8 (on Windows path::string()
// would give the ANSI code page).
inline std::string Utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}
inline std::filesystem::path PathOf(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// A fresh directory under base (the system's temporary directory if none is
// given), removed with its contents when the object goes.
class TempDir {
public:
    explicit TempDir(const std::filesystem::path& base = {});
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::string Str() const { return Utf8(path_); }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

void WriteFile(const std::filesystem::path& path, const std::string& content);
std::string ReadFile(const std::filesystem::path& path);
// Names of the files a directory holds, sorted.
std::string ListDir(const std::filesystem::path& dir);

}  // namespace lorvane::test
