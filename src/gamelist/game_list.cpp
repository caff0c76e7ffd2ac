#include "game_list.h"

#include <string_view>
#include <vector>

#include "emulator_ini.h"
#include "file_io.h"
#include "listing.h"
#include "platform_paths.h"
#include "rom_directory_index.h"

namespace lorvane::Frontend_code {
namespace {

void SetCountCaption(WindowState& state) {
    const int count = state.Combo1.ListCount();
    state.caption = count > 0 ? "Lorvane   (romcount = " + std::to_string(count) + ")" : "Lorvane";
}

}  // namespace

void LoadGameList(MainFormHost& form, const std::string& dataFileName, const std::string& romDir) {
    // Read first: a missing data file fails before anything is added.
    std::string text;
    try {
        text = ReadWholeFile(form.AppDir() + kPathSeparator + dataFileName);
    } catch (const Failure& f) {
        throw DataFileFailure(f);
    }

    // One read of the directory instead of one file test per game line.
    const RomDirectoryIndex roms(romDir);
    std::vector<std::string> entries;
    ForEachListingLine(text, [&](std::string_view line) {
        ListingLineParts game;
        if (!SplitListingLine(line, game) || !roms.Contains(game.name)) return;
        entries.push_back(MakeListEntryFromRaw(game.rawDescription, game.name));
        // The emulator's natodefa shares natodef's ROM set file.
        if (game.name == "natodef") entries.emplace_back(kNatodefaEntry);
    });

    WindowState& state = form.State();
    state.Combo1.AddItems(std::move(entries));
    SetCountCaption(state);
    form.Ui().StateChanged();
}

void StartFrontend(MainFormHost& form) {
    WindowState& state = form.State();
    // Asked first, so a bad ini leaves the list as it was.
    const std::vector<std::string> romDirs =
        Clean_code::GetMameRomPath(form.AppDir(), state.MameExeName, state.err);
    state.Combo1.Clear();
    // The caption counts what is listed, also when nothing can be loaded.
    SetCountCaption(state);
    form.Ui().StateChanged();
    for (const std::string& dir : romDirs) LoadGameList(form, state.LVNGameList, dir);
}

}  // namespace lorvane::Frontend_code
