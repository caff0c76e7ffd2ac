// Filling the game list: from the data file, for every ROM folder, and the
// data file itself made again from the emulator's listing.
#include <cerrno>

#include "form/main_form.h"
#include "gamelist/available_games.h"
#include "platform/file_exists.h"
#include "platform/paths.h"
#include "util/text.h"

namespace lorvane::form {
namespace {

// Enough of what a failing emulator printed to say why, however much it printed.
constexpr int kShownLines = 20;
constexpr std::size_t kShownLineLength = 160;

bool PrintedSomething(const std::string& text) {
    return text.find_first_not_of(" \t\r\n") != std::string::npos;
}

bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

std::string FirstLines(std::string_view text) {
    std::string out;
    int lines = 0;
    util::ForEachLine(text, [&](std::string_view line) {
        if (++lines > kShownLines) return true;
        if (line.size() > kShownLineLength) {
            std::size_t cut = kShownLineLength;
            while (cut > 0 && IsUtf8Continuation(line[cut])) --cut;  // whole characters only
            out.append(line.substr(0, cut)).append("...");
        } else {
            out.append(line);
        }
        out += "\r\n";
        return true;
    });
    if (lines > kShownLines)
        out += "... (" + std::to_string(lines - kShownLines) + " more lines)\r\n";
    return out;
}

}  // namespace

void MainForm::UpdateCountCaption() {
    state_.caption = gamelist::CountCaption(state_.gameList.Count());
}

// Entries loaded before a failure stay; the window stays open. A data file that
// cannot be read sends the user to the menu command that creates it.
template <typename Fill>
void MainForm::FillGameList(Fill&& fill) {
    try {
        std::forward<Fill>(fill)();
    } catch (const gamelist::DataFileFailure&) {
        ReportNoDataFile();
    } catch (const util::Failure& f) {
        ReportFailure(f);
    }
}

void MainForm::RebuildGameList() {
    FillGameList([this] { RefillGameList(); });
}

void MainForm::RefillGameList() {
    // Asked first, so that a bad ini leaves the list as it was.
    const std::vector<std::string> romFolders =
        emulator_->RomFolders(state_.emulatorFileName, state_.pendingError);
    state_.gameList.Clear();
    // The caption counts what is listed, also when nothing can be loaded.
    UpdateCountCaption();
    ui_.StateChanged();
    const std::string dataPath = platform::JoinPath(appDir_, state_.dataFileName);
    std::optional<SortedEntries> readAhead;
    if (readAhead_) {
        readAhead = readAhead_->Take(dataPath, romFolders);
        readAhead_.reset();
    }
    if (readAhead)
        state_.gameList.AddAll(std::move(*readAhead));
    else
        state_.gameList.AddAll(gamelist::ListAvailableGames(dataPath, romFolders));
    UpdateCountCaption();
    ui_.StateChanged();
}

void MainForm::RecreateGameList() {
    FillGameList([this] { CreateGameDataFile(); });
}

// A listing that failed (not started, a status other than 0, killed, nothing
// printed) replaces nothing, and the user is told why. Throws DataFileFailure
// when there is no data file to rebuild from: the caller then sends the user
// to the menu command, once.
void MainForm::CreateGameDataFile() {
    ShowMessage(
        "Please be patient as the data file is created.  This should take approx. 5 seconds and "
        "only needs to be generated once for each new beta.",
        "Please be Patient", MessageIcon::Information);
    const std::string dataPath = platform::JoinPath(appDir_, state_.dataFileName);
    const EmulatorProgram emulator = emulator_->ProgramFor(state_.emulatorFileName);
    const gamelist::ListingCapture capture =
        gamelist::CaptureGameDataFile(emulator.dir, emulator.name, appDir_, state_.dataFileName);
    if (!capture.written)
        ShowFailedListing(capture, platform::FileExists(dataPath) ? state_.dataFileName : "");
    if (!platform::FileExists(dataPath))
        throw gamelist::DataFileFailure(util::FailureFromErrno(ENOENT, dataPath));
    RefillGameList();
}

void MainForm::ShowFailedListing(const gamelist::ListingCapture& capture,
                                 const std::string& keptFile) {
    const platform::CaptureResult& r = capture.result;
    const std::string kept = keptFile.empty() ? ""
                                              : "\r\n\r\nThe game data file " + keptFile +
                                                    " was kept; the list is loaded from it.";
    if (!r.started) return ReportEmulatorNotStarted(capture.program, r.startErrno, kept);
    std::string text = r.exited && r.exitStatus == 0
                           ? capture.program + " printed no game listing."
                           : "The game listing of " + capture.program +
                                 " failed: " + platform::HowItEnded(r) + ".";
    if (PrintedSomething(r.text)) text += "\r\nIt printed:\r\n" + FirstLines(r.text);
    while (text.ends_with("\r\n")) text.resize(text.size() - 2);
    ShowMessage(text + kept, "Game listing failed", MessageIcon::Exclamation);
}

}  // namespace lorvane::form
