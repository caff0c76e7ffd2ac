#include "form/list_read_ahead.h"

#include <utility>

#include "gamelist/available_games.h"
#include "platform/paths.h"
#include "settings/settings.h"
#include "util/failure.h"

namespace lorvane::form {

ListReadAhead::ListReadAhead(std::string appDir, std::unique_ptr<const EmulatorSetup> emulator)
    : read_(
          std::async(std::launch::async, [dir = std::move(appDir), emulator = std::move(emulator)] {
              return ReadList(dir, *emulator);
          })) {}

ListReadAhead::~ListReadAhead() { Wait(); }

void ListReadAhead::Wait() const {
    if (read_.valid()) read_.wait();
}

ListReadAhead::Read ListReadAhead::ReadList(const std::string& appDir,
                                            const EmulatorSetup& emulator) {
    Read read;
    try {
        const settings::StoredSettings stored = settings::ReadSettings(appDir);
        util::PendingError ignored;
        read.romFolders = emulator.RomFolders(stored.emulatorFileName, ignored);
        read.dataFilePath = platform::JoinPath(appDir, stored.dataFileName);
        // Taken first: a change while the files are read shows at Take.
        read.identities.push_back(platform::IdentifyFile(read.dataFilePath));
        for (const std::string& folder : read.romFolders)
            read.identities.push_back(platform::IdentifyFile(folder));
        auto listed = gamelist::ListAvailableGames(read.dataFilePath, read.romFolders);
        read.entries = ComboBox::Sorted(std::move(listed));
        read.complete = true;
    } catch (...) {
        // The start-up reads for itself, and tells the user what fails.
    }
    return read;
}

std::optional<SortedEntries> ListReadAhead::Take(const std::string& dataFilePath,
                                                 const std::vector<std::string>& romFolders) {
    if (!read_.valid()) return std::nullopt;
    Read read = read_.get();
    if (!read.complete || read.dataFilePath != dataFilePath || read.romFolders != romFolders)
        return std::nullopt;
    if (!platform::SameFile(read.identities.front(), platform::IdentifyFile(dataFilePath)))
        return std::nullopt;
    for (std::size_t i = 0; i < romFolders.size(); ++i) {
        if (!platform::SameFile(read.identities[i + 1], platform::IdentifyFile(romFolders[i])))
            return std::nullopt;
    }
    return std::move(read.entries);
}

}  // namespace lorvane::form
