// Arbitrary data as a listing and as the data file of a list load over a ROM
// directory with sets, links, a directory and a hidden file: every game name is
// a plain file name, its entry gives it back through ExtractRomName, and the load
// lists exactly the games whose set FileExists finds (natodef with natodefa).
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "gamelist/available_games.h"
#include "mame/listing.h"
#include "mame/rom_name.h"
#include "platform/file_exists.h"

namespace {

const std::string& RomDir() {
    static const std::string dir = [] {
        const std::string roms = lorvane::fuzz::ScratchDir() + "/roms";
        std::filesystem::create_directory(roms);
        for (const char* set : {"pong", "natodef", "a", "Mixed", "005", ".h"})
            lorvane::fuzz::WriteBytes(roms + "/" + set + ".zip", "PK");
        std::filesystem::create_directory(roms + "/dir.zip");
        std::filesystem::create_symlink("pong.zip", roms + "/link.zip");
        std::filesystem::create_symlink("missing.zip", roms + "/gone.zip");
        return roms + "/";
    }();
    return dir;
}

bool IsWellFormedName(std::string_view name) {
    return !name.empty() && name.front() != '.' &&
           name.find_first_of(std::string_view("/\0 \"", 4)) == std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string& romDir = RomDir();

    std::vector<std::string> expected;
    lorvane::mame::ForEachListingGame(text, [&](const lorvane::mame::ListingGame& game) {
        FUZZ_CHECK(IsWellFormedName(game.name), "a game name that is no plain file name");
        FUZZ_CHECK(game.description.find('"') == std::string::npos,
                   "a description with a double quote");
        std::string entry = lorvane::mame::MakeListEntry(game.description, game.name);
        FUZZ_CHECK(!entry.empty() && entry.back() == ']', "an entry that does not end with ]");
        FUZZ_CHECK(lorvane::mame::ExtractRomName(entry) == game.name,
                   "ExtractRomName does not give back the name of the entry");
        if (!lorvane::platform::FileExists(romDir + std::string(game.name) + ".zip")) return;
        expected.push_back(std::move(entry));
        if (game.name == "natodef") expected.emplace_back(lorvane::gamelist::kNatodefaEntry);
    });

    const std::string dataFile = lorvane::fuzz::ScratchDir() + "/LVN_LIST.txt";
    lorvane::fuzz::WriteBytes(dataFile, text);
    FUZZ_CHECK(lorvane::gamelist::ListAvailableGames(dataFile, {romDir}) == expected,
               "the loaded list differs from the games present");
    return 0;
}
