#include "form/system_emulator_setup.h"

#include "platform/user_folders.h"

namespace lorvane::form {
namespace {

class SystemSetup : public EmulatorSetup {
public:
    SystemSetup(std::string workDir, std::string builtInIniPath)
        : workDir_(std::move(workDir)), builtInIniPath_(std::move(builtInIniPath)) {}

    std::optional<EmulatorProgram> Find(const std::string& name,
                                        util::PendingError&) const override {
        const std::optional<std::string> path = mame::FindSystemEmulator(name);
        if (!path) return std::nullopt;
        const std::size_t slash = path->rfind('/');
        return EmulatorProgram{slash == 0 ? "/" : path->substr(0, slash), path->substr(slash + 1)};
    }
    // A name not found is run as it stands, which fails and is reported.
    EmulatorProgram ProgramFor(const std::string& name) const override {
        util::PendingError unused;
        return Find(name, unused).value_or(EmulatorProgram{"", name});
    }
    std::vector<std::string> RomFolders(const std::string&, util::PendingError&) const override {
        return Read().romFolders;
    }
    std::optional<std::string> SnapshotFolder(const std::string&,
                                              util::PendingError&) const override {
        return Read().snapshotFolder;
    }
    std::string IniFilesForMessages(const std::string&) const override {
        const std::vector<std::string> files =
            mame::SystemEmulatorIniFiles(workDir_, builtInIniPath_);
        if (files.empty())
            return "the emulator's ini files (none found on " + builtInIniPath_ + ")";
        std::string text = files.front();
        for (std::size_t i = 1; i < files.size(); ++i) text += " and " + files[i];
        return text;
    }
    EmulatorQuestion Question() const override {
        return {
            "MAME was not found on PATH or in /usr/games.\r\n"
            "  What is your MAME executable? (a name on PATH, or its full path)",
            "Enter your mame executable name.", mame::kSystemEmulatorName,
            "The MAME executable was not found on PATH, in /usr/games or at the path given",
            "MAME Executable not found!"};
    }
    std::string DefaultName() const override { return mame::kSystemEmulatorName; }
    bool IsSystemFolder(const std::string& folder) const override {
        return platform::IsUnderUsr(folder);
    }

private:
    mame::SystemEmulatorFolders Read() const {
        return mame::ReadSystemEmulatorFolders(workDir_, builtInIniPath_);
    }

    std::string workDir_;
    std::string builtInIniPath_;
};

}  // namespace

std::unique_ptr<EmulatorSetup> SystemEmulatorSetup(std::string workDir,
                                                   std::string builtInIniPath) {
    return std::make_unique<SystemSetup>(std::move(workDir), std::move(builtInIniPath));
}

}  // namespace lorvane::form
