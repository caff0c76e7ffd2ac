#include "mame/emulator_ini.h"

#include <optional>
#include <string_view>

#include "mame/ini_value.h"
#include "platform/environment.h"
#include "platform/file_exists.h"
#include "platform/file_io.h"
#include "util/failure.h"
#include "util/text.h"

namespace lorvane::mame {
namespace {

void EnsureTrailingSlash(std::string& dir) {
    if (dir.empty() || dir.back() != platform::kPathSeparator) dir += platform::kPathSeparator;
}

// An entry that expands to nothing names the working directory, where the
// emulator then looks; a bare separator would name the root instead.
std::string ExpandedFolder(std::string_view entry) {
    std::string dir = ExpandFolderEntry(entry, platform::EnvironmentVariable);
    if (dir.empty()) dir = ".";
    return dir;
}

// Each entry of a ";" list expanded on its own, so a variable holding ";" adds
// no entry.
std::string ExpandedFolderList(std::string_view value) {
    std::string out;
    for (std::size_t start = 0;;) {
        const std::size_t semi = value.find(';', start);
        const std::string_view entry =
            value.substr(start, semi == std::string_view::npos ? semi : semi - start);
        out += entry.empty() ? std::string() : ExpandedFolder(entry);
        if (semi == std::string_view::npos) return out;
        out += ';';
        start = semi + 1;
    }
}

}  // namespace

std::optional<std::string> FirstIniLineWithKey(const std::string& text, std::string_view keyword) {
    std::optional<std::string> found;
    util::ForEachLine(text, [&](std::string_view line) {
        if (line.size() < keyword.size() ||
            util::AsciiUpper(line.substr(0, keyword.size())) != keyword)
            return true;
        found = std::string(line);
        return false;  // reading stops at the first
    });
    return found;
}

std::string EmulatorIniName(const std::string& exeName) {
    static constexpr std::string_view kExe = ".exe";
    std::string name;
    std::size_t pos = 0;
    for (std::size_t hit; (hit = exeName.find(kExe, pos)) != std::string::npos;
         pos = hit + kExe.size()) {
        name.append(exeName, pos, hit - pos);
        name += ".ini";
    }
    name.append(exeName, pos, std::string::npos);
    // A name without an extension (the usual emulator name here) would otherwise
    // name the executable itself.
    const std::size_t slash = name.find_last_of(platform::kPathSeparators);
    const std::size_t lastStart = slash == std::string::npos ? 0 : slash + 1;
    if (!platform::kProgramsHaveExtension && name.find('.', lastStart) == std::string::npos)
        name += ".ini";
    return name;
}

std::string EmulatorIniPath(const std::string& appDir, const std::string& exeName) {
    return appDir + platform::kPathSeparator + EmulatorIniName(exeName);
}

std::vector<std::string> ReadRomFolders(const std::string& appDir, const std::string& exeName,
                                        util::PendingError& pending) {
    const std::string path = EmulatorIniPath(appDir, exeName);
    if (!platform::FileExists(path, pending)) return {kDefaultRomFolder};
    return RomFoldersInIni(platform::ReadWholeFile(path), path)
        .value_or(std::vector<std::string>{});
}

std::optional<std::vector<std::string>> RomFoldersInIni(const std::string& text,
                                                        const std::string& iniPath) {
    const auto line = FirstIniLineWithKey(text, "ROMPATH");
    if (!line) return std::nullopt;
    const std::string_view value =
        UnquoteIniValue(util::TrimSpaces(std::string_view(*line).substr(7)));
    std::vector<std::string> dirs;
    if (value.empty()) return dirs;
    std::size_t start = 0;
    for (;;) {
        const std::size_t semi = value.find(';', start);
        const std::string_view entry = value.substr(
            start, semi == std::string_view::npos ? std::string_view::npos : semi - start);
        if (entry.empty())
            throw util::Failure(
                util::ErrNo::InvalidArgument,
                "Invalid procedure call or argument: an empty directory in the ROM path of " +
                    iniPath);
        std::string dir = ExpandedFolder(entry);
        EnsureTrailingSlash(dir);
        dirs.push_back(std::move(dir));
        if (semi == std::string_view::npos) break;
        start = semi + 1;
    }
    return dirs;
}

std::optional<std::string> ReadSnapshotFolder(const std::string& appDir, const std::string& exeName,
                                              util::PendingError& pending) {
    const std::string path = EmulatorIniPath(appDir, exeName);
    if (!platform::FileExists(path, pending))
        return appDir + platform::kPathSeparator + "snap" + platform::kPathSeparator;
    return SnapshotFolderInIni(platform::ReadWholeFile(path), appDir, path);
}

std::optional<std::string> SnapshotFolderInIni(const std::string& text, const std::string& baseDir,
                                               const std::string& iniPath) {
    const auto line = FirstIniLineWithKey(text, "SNAPSHOT_DIR");
    if (!line) return std::nullopt;
    // The value starts after a key of 18 characters and one separator.
    constexpr std::size_t kValueStart = 19;
    if (line->size() < kValueStart)
        throw util::Failure(util::ErrNo::InvalidArgument,
                            "Invalid procedure call or argument: the snapshot line of " + iniPath +
                                " is too short");
    const std::string_view written =
        UnquoteIniValue(util::TrimSpaces(std::string_view(*line).substr(kValueStart)));
    if (written.empty())
        throw util::Failure(util::ErrNo::InvalidArgument,
                            "Invalid procedure call or argument: the snapshot directory in " +
                                iniPath + " is empty");
    std::string value = ExpandedFolderList(written);
    EnsureTrailingSlash(value);
    // A list (with ";" as written) is kept as it stands; so is an absolute
    // directory, which cannot lie inside the base directory.
    if (written.find(';') == std::string_view::npos && !platform::IsAbsolutePath(value))
        value = baseDir + platform::kPathSeparator + value;
    return value;
}

}  // namespace lorvane::mame
