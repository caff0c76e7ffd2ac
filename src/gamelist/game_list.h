#pragma once
#include <string>

#include "failure.h"
#include "main_form_host.h"

namespace lorvane::Frontend_code {

inline constexpr const char* kNatodefaEntry = "NATO Defense (alternate mazes)    [natodefa]";

// The data file itself is missing or cannot be read: the user's remedy is to
// create it again, unlike a failure of the emulator ini or a ROM directory.
class DataFileFailure : public Failure {
public:
    explicit DataFileFailure(const Failure& f) : Failure(f) {}
};

// Adds to Combo1 every game of the data file whose ROM set (romDir + name +
// ".zip") is an existing ordinary file, then sets the caption. Throws
// DataFileFailure when the data file cannot be read (53 when it is missing).
void LoadGameList(MainFormHost& form, const std::string& dataFileName, const std::string& romDir);

// Clears the list and loads it once for every ROM directory of the emulator ini.
void StartFrontend(MainFormHost& form);

// Captures the emulator's listing into the data file, then rebuilds the list.
void CreateGameDataFile(MainFormHost& form);

// Sends the user to the menu command that creates the data file.
void ReportNoDataFile(UiPort& ui);

}  // namespace lorvane::Frontend_code
