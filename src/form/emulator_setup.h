#pragma once
// Where the emulator is and which ini file names its folders. The portable
// program's emulator lies in the application directory beside the ini named
// after it; the installed program's is Debian's (system_emulator_setup.h).
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "util/failure.h"

namespace lorvane::form {

// The emulator as its command lines name it: the folder joined with the name.
struct EmulatorProgram {
    std::string dir;
    std::string name;
};

// What the start-up asks and says when the emulator is not found.
struct EmulatorQuestion {
    std::string prompt;
    std::string title;
    std::string preset;
    std::string notFoundText;
    std::string notFoundTitle;
};

class EmulatorSetup {
public:
    virtual ~EmulatorSetup() = default;
    // The program the name in the emulator's box runs, when there is one; the
    // test leaves a failure to make it in `pending`, as every file test does.
    virtual std::optional<EmulatorProgram> Find(const std::string& name,
                                                util::PendingError& pending) const = 0;
    // The program the command lines run for the name, found or not (a start of
    // one not found then fails and says so).
    virtual EmulatorProgram ProgramFor(const std::string& name) const = 0;
    // The ROM folders, each ending with the separator, in the emulator's order.
    // Throws Failure for an ini that cannot be read or holds a bad line.
    virtual std::vector<std::string> RomFolders(const std::string& name,
                                                util::PendingError& pending) const = 0;
    // The snapshot folder, ending with the separator; nothing keeps the one held.
    virtual std::optional<std::string> SnapshotFolder(const std::string& name,
                                                      util::PendingError& pending) const = 0;
    // The ini file(s) that name the ROM folders, for messages.
    virtual std::string IniFilesForMessages(const std::string& name) const = 0;
    virtual EmulatorQuestion Question() const = 0;
    // The emulator's name in the default settings.
    virtual std::string DefaultName() const = 0;
    // A folder the system's packages own, which the audit neither moves sets
    // out of nor into.
    virtual bool IsSystemFolder(const std::string& folder) const = 0;
};

// The emulator in the application directory, the ini named after it there.
std::unique_ptr<EmulatorSetup> PortableEmulatorSetup(std::string appDir);

}  // namespace lorvane::form
