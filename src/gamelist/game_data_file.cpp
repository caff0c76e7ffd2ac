#include "command_capture.h"
#include "emulator_commands.h"
#include "file_exists.h"
#include "file_io.h"
#include "game_list.h"
#include "text_util.h"

namespace lorvane::Frontend_code {
namespace {

// Enough of what a failing emulator printed to say why, however much it printed.
constexpr int kShownLines = 20;
constexpr std::size_t kShownLineLength = 160;

bool PrintedSomething(const std::string& text) { return text.find_first_not_of(" \t\r\n") != std::string::npos; }

// A listing replaces the data file only when the emulator finished it well;
// real emulators exit 0 after a listing, also one with warnings in it.
bool IsListing(const CaptureResult& r) { return r.exited && r.exitStatus == 0 && PrintedSomething(r.text); }

std::string FirstLines(std::string_view text) {
    std::string out;
    int lines = 0;
    ForEachLine(text, [&](std::string_view line) {
        if (++lines > kShownLines) return true;
        if (line.size() > kShownLineLength) {
            std::size_t cut = kShownLineLength;
            while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;  // whole UTF-8 characters
            out.append(line.substr(0, cut)).append("...");
        } else {
            out.append(line);
        }
        out += "\r\n";
        return true;
    });
    if (lines > kShownLines) out += "... (" + std::to_string(lines - kShownLines) + " more lines)\r\n";
    return out;
}

void ReportFailedListing(UiPort& ui, const CaptureResult& r, const std::string& program, const std::string& keptFile) {
    const std::string kept =
        keptFile.empty() ? "" : "\r\n\r\nThe game data file " + keptFile + " was kept; the list is loaded from it.";
    if (!r.started) return ReportNotStarted(ui, program, r.startErrno, kept);
    std::string text = r.exited && r.exitStatus == 0
                           ? program + " printed no game listing."
                           : "The game listing of " + program + " failed: " + HowItEnded(r) + ".";
    if (PrintedSomething(r.text)) text += "\r\nIt printed:\r\n" + FirstLines(r.text);
    while (text.ends_with("\r\n")) text.resize(text.size() - 2);
    ui.MsgBox(text + kept, "Game listing failed", MsgIcon::Exclamation);
}

}  // namespace

void ReportNoDataFile(UiPort& ui) {
    ui.MsgBox("Press button on menu to create Mame data file", "ERROR", MsgIcon::Critical);
}

void ReportNotStarted(UiPort& ui, const std::string& program, int startErrno, const std::string& more) {
    ui.MsgBox("The emulator could not be started:\r\n" + program + "\r\n" + DescribeStartError(startErrno) + more,
              "Emulator not started", MsgIcon::Critical);
}

void CreateGameDataFile(MainFormHost& form) {
    form.Ui().MsgBox(
        "Please be patient as the data file is created.  This should take approx. 5 seconds and "
        "only needs to be generated once for each new beta.",
        "Please be Patient", MsgIcon::Information);

    const std::string dataName = form.State().LVNGameList;
    const std::string dataPath = JoinAppPath(form.AppDir(), dataName);
    const CommandLine command = ListFullCommand(form.AppDir(), form.State().MameExeName);
    CaptureResult listing = RunCapture(command, true, true);
    if (IsListing(listing)) {
        listing.text += "\r\n";
        WriteFileAtomically(dataPath, listing.text);
    } else {
        ReportFailedListing(form.Ui(), listing, command.front(), Clean_code::FileExists(dataPath) ? dataName : "");
    }
    // The caller sends the user to the menu command, once for the whole request.
    if (!Clean_code::FileExists(dataPath)) throw DataFileFailure(FailureFromErrno(ENOENT, dataPath));
    StartFrontend(form);
}

}  // namespace lorvane::Frontend_code
