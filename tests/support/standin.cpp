#include "standin.h"

#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace lorvane::test {

std::string StandInProgram() { return LORVANE_STANDIN_PATH; }

fs::path InstallStandIn(const fs::path& dir, const std::string& name) {
    const fs::path target = dir / name;
    fs::copy_file(StandInProgram(), target, fs::copy_options::overwrite_existing);
    fs::permissions(target, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                fs::perms::others_read | fs::perms::others_exec);
    return target;
}

std::string StandInArgs(const fs::path& dir, const std::string& name) {
    std::ifstream in(dir / (name + ".args"), std::ios::binary);
    if (!in) return "";
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

}  // namespace lorvane::test
