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

// Captures the emulator's listing into the data file, then rebuilds the list
// from the data file there is. A listing that failed (not started, a status
// other than 0, killed, nothing printed) replaces nothing; the user is told
// why. Throws DataFileFailure when there is no data file to rebuild from: the
// caller then sends the user to the menu command (ReportNoDataFile), once.
void CreateGameDataFile(MainFormHost& form);

// Sends the user to the menu command that creates the data file.
void ReportNoDataFile(UiPort& ui);

// The emulator at program could not be started: the system's reason, then more.
void ReportNotStarted(UiPort& ui, const std::string& program, int startErrno, const std::string& more = "");

}  // namespace lorvane::Frontend_code
