#include "support/temp_dir.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace fs = std::filesystem;

namespace lorvane::test {

// A fresh name, made by the directory's creation itself (which fails for a
// name taken), as mkdtemp does; std::filesystem makes it work on Windows too.
TempDir::TempDir(const fs::path& under) {
    static std::mt19937_64 random{std::random_device{}()};
    const fs::path base = under.empty() ? fs::temp_directory_path() : under;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, "lorvane-test-%012llx",
                      static_cast<unsigned long long>(random() & 0xFFFFFFFFFFFFULL));
        if (fs::create_directory(base / name)) {
            path_ = base / name;
            return;
        }
    }
    throw std::runtime_error("no fresh temporary directory under " + base.string());
}

TempDir::~TempDir() {
    std::error_code ec;
    // Tests may leave read-only directories behind; make them removable first.
    for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::end(it);
         it.increment(ec)) {
        if (it->is_directory(ec))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::remove_all(path_, ec);
}

void WriteFile(const fs::path& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::string ListDir(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    std::string out;
    for (const auto& n : names) out += (out.empty() ? "" : " ") + n;
    return out;
}

}  // namespace lorvane::test
