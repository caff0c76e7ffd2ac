#pragma once
// The games the user can play: every game of the data file whose ROM set lies
// in one of the emulator's ROM folders, as the entries of the game list.
#include <string>
#include <vector>

#include "util/failure.h"

namespace lorvane::gamelist {

// The emulator's natodefa shares natodef's ROM set file, so it is listed
// whenever natodef is.
inline constexpr const char* kNatodefaEntry = "NATO Defense (alternate mazes)    [natodefa]";

// The data file itself is missing or cannot be read: the user's remedy is to
// create it again, unlike a failure of the emulator ini or a ROM folder.
class DataFileFailure : public util::Failure {
public:
    explicit DataFileFailure(const util::Failure& f) : util::Failure(f) {}
};

// The list entries of every game of the data file whose ROM set (folder + name
// + ".zip") is an existing ordinary file, folder after folder, in the data
// file's order. Throws DataFileFailure when the data file cannot be read (53
// when it is missing).
std::vector<std::string> ListAvailableGames(const std::string& dataFilePath,
                                            const std::vector<std::string>& romFolders);

// The window's caption for a list of `count` games.
std::string CountCaption(int count);

}  // namespace lorvane::gamelist
