#include "emulator_commands.h"
#include "emulator_ini.h"
#include "file_io.h"
#include "game_list.h"
#include "main_form.h"
#include "platform_paths.h"
#include "rom_audit.h"
#include "rom_name.h"
#include "text_util.h"
#include "wait_seconds.h"

namespace lorvane {
namespace {

class UiAuditProgress : public AuditProgress {
public:
    explicit UiAuditProgress(UiPort& ui) : ui_(ui) {}
    void DoEvents() override { ui_.DoEvents(); }
    void Update(int done, int total, const std::string& current) override {
        ui_.ProgressUpdate(done, total, current);
    }
    bool Cancelled() override { return ui_.ProgressCancelled(); }

private:
    UiPort& ui_;
};

// Runs `fn` when the scope ends, however it ends.
template <typename Fn>
class AtExit {
public:
    explicit AtExit(Fn fn) : fn_(std::move(fn)) {}
    ~AtExit() { fn_(); }
    AtExit(const AtExit&) = delete;
    AtExit& operator=(const AtExit&) = delete;

private:
    Fn fn_;
};

}  // namespace

void MAIN_form::Move_bad_roms_Click() {
    if (auditRunning_) return;
    auditRunning_ = true;
    AtExit endRun([this] { auditRunning_ = false; });

    // Asked before anything else, so that nothing is asked of the user in vain.
    std::vector<std::string> romDirs;
    const std::string iniPath = EmulatorIniPath(appDir_, state_.MameExeName);
    try {
        romDirs = Clean_code::GetMameRomPath(appDir_, state_.MameExeName, state_.err);
    } catch (const Failure& f) {
        MsgBox("The rom audit cannot start: the ROM directories could not be read from " + iniPath +
                   ".\r\n" + f.Description(),
               "Rom audit not started", MsgIcon::Exclamation);
        return;
    }
    if (romDirs.empty()) {
        MsgBox("The rom audit cannot start: " + iniPath + " names no ROM directory.",
               "Rom audit not started", MsgIcon::Exclamation);
        return;
    }
    std::string firstRomDir = romDirs.front();

    MsgBox("This Rom audit will currently only audit the first rom path located in your MAME.ini.",
           "Please Note", MsgIcon::Exclamation);

    ui_.SetBusyPointer(true);
    AtExit endBusy([this] {
        ui_.SetBusyPointer(false);
        ui_.Repaint();
    });

    Clean_code::WaitSeconds(1.0f, true, ui_);

    MsgBox("WARNING this will take a while if there are a lot of roms to check.\r\n"
           "Press cancel on the folder select screen to abort the audit before it begins.",
           "Warning this could take a while", MsgIcon::Exclamation);

    if (firstRomDir == kDefaultRomDir) firstRomDir = appDir_ + kPathSeparator + kDefaultRomDir;

    const std::string target = ui_.BrowseForFolder("Please select a folder to place all bad roms.");
    if (target.empty()) {
        MsgBox("No folder selected!\r\nExiting rom audit");
        return;
    }
    MsgBox("Folder selected was: " + target);

    RomAuditInput input;
    input.appDir = appDir_;
    input.exeName = state_.MameExeName;
    input.firstRomDir = firstRomDir;
    input.target = target;
    input.parallel = auditParallel_;
    input.severalSetChecks = auditSeveralSetChecks_;
    const int count = state_.Combo1.ListCount();
    input.names.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) input.names.push_back(Frontend_code::ExtractRomName(state_.Combo1.List(i)));

    RomAuditResult result;
    {
        ui_.ProgressOpen("Auditing rom sets", count);
        AtExit closeProgress([this] { ui_.ProgressClose(); });
        UiAuditProgress progress(ui_);
        result = RunRomAudit(input, progress);
    }
    if (result.emulatorNotStarted) {
        MsgBox("The emulator could not be started:\r\n" + result.emulatorPath + "\r\n" +
                   DescribeStartError(result.startErrno) + "\r\nThe rom audit stopped after " +
                   std::to_string(result.done) + " of " + std::to_string(count) +
                   " sets; the sets not checked were left where they are.",
               "Rom audit stopped", MsgIcon::Critical);
    }

    // A cancelled audit ends with one message of its own, after the rebuild.
    if (!result.cancelled)
        MsgBox(std::to_string(result.badCount) + " bad roms found.", "Bad roms found", MsgIcon::Information);

    RebuildList();
    RefreshView();

    const std::string reportPath = JoinAppPath(target, "BadRoms.txt");
    bool written = false;
    std::string writeFailure;
    if (TrimSpaces(result.report).size() > 10) {
        try {
            WriteFileAtomically(reportPath, result.report + "\r\n");
            written = true;
        } catch (const Failure& f) {
            writeFailure = f.Description();
        }
    }
    if (result.cancelled) {
        std::string text = "The rom audit was cancelled after " + std::to_string(result.done) + " of " +
                           std::to_string(count) + " sets were checked: " + std::to_string(result.badCount) +
                           " bad, " + std::to_string(result.moved.size()) + " of them moved to " + target +
                           ".\r\nThe sets not checked were left where they are.\r\n";
        if (written)
            text += "The summary report is " + reportPath + ".";
        else if (!writeFailure.empty())
            text += "The summary report could not be written to " + reportPath + ":\r\n" + writeFailure;
        else
            text += "No summary report was written.";
        MsgBox(text, "Rom audit cancelled", writeFailure.empty() ? MsgIcon::Information : MsgIcon::Critical);
        return;
    }
    if (!writeFailure.empty())
        MsgBox("The summary report could not be written to " + reportPath + ":\r\n" + writeFailure +
                   "\r\nThe bad roms that were moved are in " + target + ".",
               "Summary Report not written", MsgIcon::Critical);
    if (written) MsgBox("All Bad roms moved to " + target + ".\r\nSummary Report Written");
}

}  // namespace lorvane
