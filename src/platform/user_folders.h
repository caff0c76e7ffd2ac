#pragma once
// The folders of the installed program, which cannot keep its files beside its
// executable: the user's home, and the per-user data folder that the XDG base
// directory rules name. Linux only.
#include <optional>
#include <string>

namespace lorvane::platform {

// $HOME when it names an absolute folder, else the home folder of the user's
// entry in the password database; nothing when neither names one.
std::optional<std::string> HomeFolder();

// $XDG_DATA_HOME/<program> when that variable names an absolute folder (the
// rules ignore a relative one), else <home>/.local/share/<program>.
std::string UserDataFolder(const std::optional<std::string>& xdgDataHome, const std::string& home,
                           const std::string& program);

// True for /usr and every path below it: what the system's packages own.
bool IsUnderUsr(const std::string& path);

// Makes the folder and the missing ones above it, each new one open to its
// owner only, as the rules ask. Throws Failure naming the folder that could not
// be made (also when a file stands in its place).
void MakeFolders(const std::string& dir);

struct InstalledFolders {
    std::string home;    // where the emulator is started; relative ini folders are read from here
    std::string appDir;  // the program's own files: LVN.ini, the data file, AvailROM.txt
};

// The installed program's folders, made when missing. A missing or relative
// $HOME is set from the password database first, so the emulator started later
// reads the same home. Throws Failure with a message for the user when there is
// no home or it is not there, when the folder would lie under /usr, or when it
// cannot be made.
InstalledFolders PrepareInstalledFolders(const std::string& program);

}  // namespace lorvane::platform
