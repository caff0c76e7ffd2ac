#pragma once
// Shared by the fuzz targets: a check that stops the run on a broken property
// (libFuzzer then keeps the input as a crash), and one scratch directory per
// process for the targets that go through files.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#define FUZZ_CHECK(cond, what)                                                              \
    do {                                                                                    \
        if (!(cond)) {                                                                      \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, what); \
            __builtin_trap();                                                               \
        }                                                                                   \
    } while (0)

namespace lorvane::fuzz {

// Made on first use, removed when the process exits normally.
inline const std::string& ScratchDir() {
    static const std::string dir = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "lorvane-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            std::perror("mkdtemp");
            std::abort();
        }
        static std::string removeAtExit;
        removeAtExit = pattern;
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(removeAtExit, ignored);
        });
        return pattern;
    }();
    return dir;
}

// A fresh file each time: truncating one that holds data would have the file
// system flush it on close, and every run would wait for the disk.
inline void WriteBytes(const std::string& path, std::string_view bytes) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::abort();
    }
}

}  // namespace lorvane::fuzz
