#include "support/standin.h"

#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace lorvane::test {

std::string StandInProgram() { return LORVANE_STANDIN_PATH; }

fs::path InstallStandIn(const fs::path& dir, const std::string& name) {
    const fs::path target = dir / PathOf(name);
    fs::copy_file(StandInProgram(), target, fs::copy_options::overwrite_existing);
    fs::permissions(target, fs::perms(0755));
    return target;
}

std::string StandInArgs(const fs::path& dir, const std::string& name) {
    const fs::path args = dir / PathOf(name + ".args");
    return fs::exists(args) ? ReadFile(args) : "";
}

}  // namespace lorvane::test
