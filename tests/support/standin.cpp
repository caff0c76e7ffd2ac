#include "standin.h"

#include "temp_dir.h"

namespace fs = std::filesystem;

namespace lorvane::test {

std::string StandInProgram() { return LORVANE_STANDIN_PATH; }

fs::path Utf8Path(const std::string& utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

std::string Utf8String(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

fs::path InstallStandIn(const fs::path& dir, const std::string& name) {
    const fs::path target = dir / Utf8Path(name);
    fs::copy_file(StandInProgram(), target, fs::copy_options::overwrite_existing);
    fs::permissions(target, fs::perms(0755));
    return target;
}

std::string StandInArgs(const fs::path& dir, const std::string& name) {
    const fs::path args = dir / Utf8Path(name + ".args");
    return fs::exists(args) ? ReadFile(args) : "";
}

}  // namespace lorvane::test
