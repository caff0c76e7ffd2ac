#include "emulator_ini.h"

#include <optional>
#include <string_view>

#include "failure.h"
#include "file_exists.h"
#include "file_io.h"
#include "text_util.h"

namespace lorvane {
namespace {

// The first line whose first keyword.size() characters, upper-cased, are the
// keyword; reading stops there.
std::optional<std::string> FirstLineWithKey(const std::string& content, std::string_view keyword) {
    std::optional<std::string> found;
    ForEachLine(content, [&](std::string_view line) {
        if (line.size() < keyword.size() || AsciiUpper(line.substr(0, keyword.size())) != keyword) return true;
        found = std::string(line);
        return false;
    });
    return found;
}

void EnsureTrailingSlash(std::string& dir) {
    if (dir.empty() || dir.back() != kPathSeparator) dir += kPathSeparator;
}

}  // namespace

std::string EmulatorIniName(const std::string& exeName) {
    static constexpr std::string_view kExe = ".exe";
    std::string name;
    std::size_t pos = 0;
    for (std::size_t hit; (hit = exeName.find(kExe, pos)) != std::string::npos; pos = hit + kExe.size()) {
        name.append(exeName, pos, hit - pos);
        name += ".ini";
    }
    name.append(exeName, pos, std::string::npos);
    // A name without an extension (the usual emulator name here) would otherwise
    // name the executable itself.
    const std::size_t slash = name.find_last_of(kPathSeparators);
    const std::size_t lastStart = slash == std::string::npos ? 0 : slash + 1;
    if (!kProgramsHaveExtension && name.find('.', lastStart) == std::string::npos) name += ".ini";
    return name;
}

std::string EmulatorIniPath(const std::string& appDir, const std::string& exeName) {
    return appDir + kPathSeparator + EmulatorIniName(exeName);
}

namespace Clean_code {

std::vector<std::string> GetMameRomPath(const std::string& appDir, const std::string& exeName,
                                        PendingError& pending) {
    const std::string path = EmulatorIniPath(appDir, exeName);
    if (!FileExists(path, pending)) return {kDefaultRomDir};

    const auto line = FirstLineWithKey(ReadWholeFile(path), "ROMPATH");
    if (!line) return {};
    const std::string_view value = TrimSpaces(std::string_view(*line).substr(7));
    std::vector<std::string> dirs;
    if (value.empty()) return dirs;
    std::size_t start = 0;
    for (;;) {
        const std::size_t semi = value.find(';', start);
        std::string dir(value.substr(start, semi == std::string_view::npos ? std::string_view::npos : semi - start));
        if (dir.empty())
            throw Failure(ErrNo::InvalidArgument,
                          "Invalid procedure call or argument: an empty directory in the ROM path of " + path);
        EnsureTrailingSlash(dir);
        dirs.push_back(std::move(dir));
        if (semi == std::string_view::npos) break;
        start = semi + 1;
    }
    return dirs;
}

}  // namespace Clean_code

namespace Frontend_code {

void GetMameSnapshotDir(MainFormHost& form) {
    WindowState& st = form.State();
    const std::string& appDir = form.AppDir();
    const std::string path = EmulatorIniPath(appDir, st.MameExeName);
    if (!Clean_code::FileExists(path, st.err)) {
        st.snap_path = appDir + kPathSeparator + "snap" + kPathSeparator;
        return;
    }

    const auto line = FirstLineWithKey(ReadWholeFile(path), "SNAPSHOT_DIR");
    if (!line) return;
    // The value starts after a key of 18 characters and one separator.
    constexpr std::size_t kValueStart = 19;
    if (line->size() < kValueStart)
        throw Failure(ErrNo::InvalidArgument,
                      "Invalid procedure call or argument: the snapshot line of " + path + " is too short");
    std::string value = TrimSpacesCopy(std::string_view(*line).substr(kValueStart));
    if (value.empty())
        throw Failure(ErrNo::InvalidArgument,
                      "Invalid procedure call or argument: the snapshot directory in " + path + " is empty");
    EnsureTrailingSlash(value);
    // A list (with ";") is kept as it stands; so is an absolute directory, which
    // cannot lie inside the application directory.
    if (value.find(';') == std::string::npos && !IsAbsolutePath(value)) value = appDir + kPathSeparator + value;
    st.snap_path = value;
}

}  // namespace Frontend_code

}  // namespace lorvane
