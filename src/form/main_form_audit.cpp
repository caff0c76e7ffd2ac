// Move Bad Roms Sets: the emulator checks every listed set, the bad ones are
// moved out of the first ROM folder into a folder the user picks, and a
// report on them is written there.
#include "form/main_form.h"
#include "mame/emulator_ini.h"
#include "mame/rom_name.h"
#include "platform/file_io.h"
#include "platform/paths.h"
#include "util/scope_exit.h"
#include "util/text.h"
#include "util/wait_seconds.h"

namespace lorvane::form {
namespace {

constexpr const char* kReportFileName = "BadRoms.txt";
// A report of fewer characters than this (once trimmed) holds no set: none is written.
constexpr std::size_t kShortestReport = 11;

std::string ProgressCount(int done, int total) {
    return std::to_string(done) + " of " + std::to_string(total);
}

// The audit's progress shown in the progress window, whose Cancel it reads.
class ProgressWindowFeed : public audit::AuditProgress {
public:
    explicit ProgressWindowFeed(UiPort& ui) : ui_(ui) {}
    void ProcessPendingEvents() override { ui_.ProcessPendingEvents(); }
    void Update(int done, int total, const std::string& current) override {
        ui_.UpdateProgress(done, total, ProgressCount(done, total) + "\r\n" + current);
    }
    bool Cancelled() override { return ui_.ProgressCancelled(); }

private:
    UiPort& ui_;
};

struct ReportWrite {
    bool written = false;
    std::string failure;  // why it could not be written; empty when it was, or none was due
};

ReportWrite WriteReport(const std::string& report, const std::string& path) {
    ReportWrite outcome;
    if (util::TrimSpaces(report).size() < kShortestReport) return outcome;
    try {
        platform::WriteFileAtomically(path, report + "\r\n");
        outcome.written = true;
    } catch (const util::Failure& f) {
        outcome.failure = f.Description();
    }
    return outcome;
}

}  // namespace

void MainForm::MoveBadRomSets() {
    if (auditRunning_) return;
    auditRunning_ = true;
    util::ScopeExit endRun([this] { auditRunning_ = false; });

    const std::optional<std::string> firstRomFolder = FirstRomFolderToAudit();
    if (!firstRomFolder) return;
    ShowMessage(
        "This Rom audit will currently only audit the first rom path located in your MAME.ini.",
        "Please Note", MessageIcon::Exclamation);

    ui_.SetBusyPointer(true);
    util::ScopeExit endBusy([this] {
        ui_.SetBusyPointer(false);
        ui_.Repaint();
    });
    util::WaitSeconds(1.0f, true, ui_);
    ShowMessage(
        "WARNING this will take a while if there are a lot of roms to check.\r\n"
        "Press cancel on the folder select screen to abort the audit before it begins.",
        "Warning this could take a while", MessageIcon::Exclamation);

    const std::string target = AskForBadSetFolder();
    if (target.empty()) return;
    ReportAuditEnd(RunAuditWithProgress(*firstRomFolder, target), target);
}

// Asked before anything else, so that nothing is asked of the user in vain.
std::optional<std::string> MainForm::FirstRomFolderToAudit() {
    const std::string iniPath = emulator_->IniFilesForMessages(state_.emulatorFileName);
    std::vector<std::string> romFolders;
    try {
        romFolders = emulator_->RomFolders(state_.emulatorFileName, state_.pendingError);
    } catch (const util::Failure& f) {
        ShowMessage("The rom audit cannot start: the ROM directories could not be read from " +
                        iniPath + ".\r\n" + f.Description(),
                    "Rom audit not started", MessageIcon::Exclamation);
        return std::nullopt;
    }
    if (romFolders.empty()) {
        ShowMessage("The rom audit cannot start: " + iniPath + " names no ROM directory.",
                    "Rom audit not started", MessageIcon::Exclamation);
        return std::nullopt;
    }
    if (emulator_->IsSystemFolder(romFolders.front())) {
        ShowMessage("The rom audit cannot start: the first ROM directory, " + romFolders.front() +
                        ", lies under /usr, which belongs to the system's packages. Name a "
                        "folder of your own first in the rompath of ~/.mame/mame.ini.",
                    "Rom audit not started", MessageIcon::Exclamation);
        return std::nullopt;
    }
    // The default folder lies in the application directory.
    if (romFolders.front() == mame::kDefaultRomFolder)
        return appDir_ + platform::kPathSeparator + mame::kDefaultRomFolder;
    return romFolders.front();
}

// The folder that receives the bad sets; empty when the user cancelled.
std::string MainForm::AskForBadSetFolder() {
    const std::string target = ui_.ChooseFolder("Please select a folder to place all bad roms.");
    if (target.empty()) {
        ShowMessage("No folder selected!\r\nExiting rom audit");
        return target;
    }
    if (emulator_->IsSystemFolder(target)) {
        ShowMessage("The bad rom sets cannot be moved into " + target +
                        ": it lies under /usr, which belongs to the system's packages.\r\n"
                        "Exiting rom audit",
                    "Rom audit not started", MessageIcon::Exclamation);
        return {};
    }
    ShowMessage("Folder selected was: " + target);
    return target;
}

audit::RomAuditResult MainForm::RunAuditWithProgress(const std::string& firstRomFolder,
                                                     const std::string& target) {
    audit::RomAuditInput input;
    const EmulatorProgram emulator = emulator_->ProgramFor(state_.emulatorFileName);
    input.appDir = emulator.dir;
    input.exeName = emulator.name;
    input.firstRomDir = firstRomFolder;
    input.target = target;
    input.parallel = auditParallelism_;
    input.severalSetChecks = auditSeveralSetChecks_;
    const int count = state_.gameList.Count();
    input.names.reserve(static_cast<std::size_t>(count));
    for (const std::string& entry : state_.gameList.Entries())
        input.names.push_back(mame::ExtractRomName(entry));

    ui_.OpenProgress("Auditing rom sets", count, ProgressCount(0, count));
    util::ScopeExit closeProgress([this] { ui_.CloseProgress(); });
    ProgressWindowFeed progress(ui_);
    return audit::RunRomAudit(input, progress);
}

// What stopped the audit, how many sets were bad, the list rebuilt, and where
// the report is; a cancelled audit ends with one message of its own.
void MainForm::ReportAuditEnd(const audit::RomAuditResult& result, const std::string& target) {
    const std::string count = std::to_string(result.total);
    if (result.emulatorNotStarted) {
        ShowMessage("The emulator could not be started:\r\n" + result.emulatorPath + "\r\n" +
                        platform::DescribeStartError(result.startErrno) +
                        "\r\nThe rom audit stopped after " + std::to_string(result.done) + " of " +
                        count + " sets; the sets not checked were left where they are.",
                    "Rom audit stopped", MessageIcon::Critical);
    }
    if (!result.cancelled)
        ShowMessage(std::to_string(result.badCount) + " bad roms found.", "Bad roms found",
                    MessageIcon::Information);

    RebuildGameList();
    ui_.StateChanged();

    const std::string reportPath = platform::JoinPath(target, kReportFileName);
    const ReportWrite report = WriteReport(result.report, reportPath);
    if (result.cancelled) {
        std::string text = "The rom audit was cancelled after " + std::to_string(result.done) +
                           " of " + count +
                           " sets were checked: " + std::to_string(result.badCount) + " bad, " +
                           std::to_string(result.moved.size()) + " of them moved to " + target +
                           ".\r\nThe sets not checked were left where they are.\r\n";
        if (report.written)
            text += "The summary report is " + reportPath + ".";
        else if (!report.failure.empty())
            text += "The summary report could not be written to " + reportPath + ":\r\n" +
                    report.failure;
        else
            text += "No summary report was written.";
        ShowMessage(text, "Rom audit cancelled",
                    report.failure.empty() ? MessageIcon::Information : MessageIcon::Critical);
        return;
    }
    if (!report.failure.empty())
        ShowMessage("The summary report could not be written to " + reportPath + ":\r\n" +
                        report.failure + "\r\nThe bad roms that were moved are in " + target + ".",
                    "Summary Report not written", MessageIcon::Critical);
    if (report.written)
        ShowMessage("All Bad roms moved to " + target + ".\r\nSummary Report Written");
}

}  // namespace lorvane::form
