#include "gamelist/available_games.h"

#include <string_view>

#include "gamelist/rom_directory_index.h"
#include "mame/listing.h"
#include "platform/file_io.h"

namespace lorvane::gamelist {

std::vector<std::string> ListAvailableGames(const std::string& dataFilePath,
                                            const std::vector<std::string>& romFolders) {
    // Read first: a missing data file fails before anything is listed.
    std::string text;
    try {
        text = platform::ReadWholeFile(dataFilePath);
    } catch (const util::Failure& f) {
        throw DataFileFailure(f);
    }

    std::vector<std::string> entries;
    for (const std::string& folder : romFolders) {
        // One read of the folder instead of one file test per game line.
        const RomDirectoryIndex roms(folder);
        mame::ForEachListingLine(text, [&](std::string_view line) {
            mame::ListingLineParts game;
            if (!mame::SplitListingLine(line, game) || !roms.Contains(game.name)) return;
            entries.push_back(mame::MakeListEntryFromRaw(game.rawDescription, game.name));
            if (game.name == "natodef") entries.emplace_back(kNatodefaEntry);
        });
    }
    return entries;
}

std::string CountCaption(int count) {
    return count > 0 ? "Lorvane   (romcount = " + std::to_string(count) + ")" : "Lorvane";
}

}  // namespace lorvane::gamelist
