#include "form/emulator_setup.h"

#include "mame/emulator_ini.h"
#include "platform/file_exists.h"
#include "platform/paths.h"
#include "settings/settings.h"

namespace lorvane::form {
namespace {

class PortableSetup : public EmulatorSetup {
public:
    explicit PortableSetup(std::string appDir) : appDir_(std::move(appDir)) {}

    std::optional<EmulatorProgram> Find(const std::string& name,
                                        util::PendingError& pending) const override {
        if (!platform::FileExists(platform::JoinPath(appDir_, name), pending)) return std::nullopt;
        return EmulatorProgram{appDir_, name};
    }
    EmulatorProgram ProgramFor(const std::string& name) const override { return {appDir_, name}; }
    std::vector<std::string> RomFolders(const std::string& name,
                                        util::PendingError& pending) const override {
        return mame::ReadRomFolders(appDir_, name, pending);
    }
    std::optional<std::string> SnapshotFolder(const std::string& name,
                                              util::PendingError& pending) const override {
        return mame::ReadSnapshotFolder(appDir_, name, pending);
    }
    std::string IniFilesForMessages(const std::string& name) const override {
        return mame::EmulatorIniPath(appDir_, name);
    }
    EmulatorQuestion Question() const override {
        return {
            "MAME was not found in the same directory as LVN.\r\n"
            "  What is your MAME executable names?(include .exe)",
            "Enter your mame executable name.", "mame.exe",
            "The MAME executable was not found in the same Directory as LVN.exe",
            "MAME Executable not found!"};
    }
    std::string DefaultName() const override {
        return settings::DefaultSettings().emulatorFileName;
    }
    bool IsSystemFolder(const std::string&) const override { return false; }

private:
    std::string appDir_;
};

}  // namespace

std::unique_ptr<EmulatorSetup> PortableEmulatorSetup(std::string appDir) {
    return std::make_unique<PortableSetup>(std::move(appDir));
}

}  // namespace lorvane::form
