#include "mame/system_emulator.h"

#include <string_view>

#include "mame/emulator_ini.h"
#include "mame/ini_value.h"
#include "platform/environment.h"
#include "platform/file_exists.h"
#include "platform/file_io.h"
#include "platform/paths.h"
#include "platform/program_search.h"
#include "util/text.h"

namespace lorvane::mame {
namespace {

constexpr std::string_view kIniPathKey = "INIPATH";

std::string InFolder(const std::string& folder, const std::string& workDir) {
    return platform::IsAbsolutePath(folder) ? folder : platform::JoinPath(workDir, folder);
}

// The first mame.ini in the ";" list of folders, each expanded on its own.
std::optional<std::string> FirstIniOnPath(std::string_view iniPath, const std::string& workDir) {
    for (std::size_t start = 0; start <= iniPath.size();) {
        const std::size_t semi = std::min(iniPath.find(';', start), iniPath.size());
        const std::string_view entry = iniPath.substr(start, semi - start);
        start = semi + 1;
        if (entry.empty()) continue;
        const std::string folder = ExpandFolderEntry(entry, platform::EnvironmentVariable);
        const std::string file = platform::JoinPath(
            InFolder(folder.empty() ? "." : folder, workDir), kSystemIniFileName);
        if (platform::FileExists(file)) return file;
    }
    return std::nullopt;
}

std::optional<std::string> IniPathIn(const std::string& text) {
    const auto line = FirstIniLineWithKey(text, kIniPathKey);
    if (!line) return std::nullopt;
    return std::string(
        UnquoteIniValue(util::TrimSpaces(std::string_view(*line).substr(kIniPathKey.size()))));
}

}  // namespace

std::optional<std::string> FindSystemEmulator(const std::string& name) {
    return platform::FindProgram(name, platform::EnvironmentVariable("PATH").value_or(""),
                                 {kSystemGamesFolder});
}

std::vector<std::string> SystemEmulatorIniFiles(const std::string& workDir,
                                                const std::string& builtInIniPath) {
    std::vector<std::string> files;
    const std::optional<std::string> first = FirstIniOnPath(builtInIniPath, workDir);
    std::string nextIniPath = builtInIniPath;
    if (first) {
        files.push_back(*first);
        try {
            nextIniPath = IniPathIn(platform::ReadWholeFile(*first)).value_or(builtInIniPath);
        } catch (const std::exception&) {
            // Reading the folders says what is wrong with the file.
        }
    }
    // The first file may name the ini path of the second.
    const std::optional<std::string> second = FirstIniOnPath(nextIniPath, workDir);
    if (second && second != first) files.push_back(*second);
    return files;
}

SystemEmulatorFolders ReadSystemEmulatorFolders(const std::string& workDir,
                                                const std::string& builtInIniPath) {
    SystemEmulatorFolders folders;
    std::optional<std::vector<std::string>> romFolders;
    std::optional<std::string> snapshotFolder;
    folders.iniFiles = SystemEmulatorIniFiles(workDir, builtInIniPath);
    for (const std::string& file : folders.iniFiles) {
        const std::string text = platform::ReadWholeFile(file);
        if (auto roms = RomFoldersInIni(text, file)) romFolders = std::move(roms);
        if (auto snap = SnapshotFolderInIni(text, workDir, file)) snapshotFolder = std::move(snap);
    }
    const std::string separator(1, platform::kPathSeparator);
    for (const std::string& folder : romFolders.value_or(std::vector<std::string>{"roms/"}))
        folders.romFolders.push_back(InFolder(folder, workDir));
    folders.snapshotFolder =
        snapshotFolder.value_or(platform::JoinPath(workDir, "snap") + separator);
    return folders;
}

}  // namespace lorvane::mame
