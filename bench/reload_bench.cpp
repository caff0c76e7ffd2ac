// Reload of the game list from Debian's real listing, and the cost of capturing
// that listing. Prints:
//   reload_ms        median RebuildGameList, one ROM directory of 45,000 sets
//   reload_3dirs_ms  median RebuildGameList, three directories of 15,000 sets
//   reload_peak_mb   peak resident size of a fresh process doing the reload
//   capture_ratio    capture + write of the listing / the emulator writing it
//                    to /dev/null
// and checks that the reload lists exactly what one file test per line would.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "form/main_form.h"
#include "gamelist/available_games.h"
#include "mame/emulator_ini.h"
#include "mame/listing.h"
#include "platform/command_capture.h"
#include "platform/file_exists.h"
#include "platform/file_io.h"
#include "quiet_ui.h"
#include "scratch_dir.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace lorvane;

constexpr const char* kEmulator = "/usr/games/mame";
constexpr int kRuns = 9;
constexpr std::size_t kSets = 45000;

using form::MainForm;
using platform::CaptureResult;
using platform::RunCapture;
using platform::WriteFileAtomically;

// The form with a screen that answers nothing, its emulator named.
struct BenchForm {
    BenchForm(std::string appDir, std::string exeName) : form(std::move(appDir), ui) {
        form.State().emulatorFileName = std::move(exeName);
    }
    bench::QuietUi ui;
    MainForm form;
};

double MillisecondsOf(const std::function<void()>& fn) {
    const auto t0 = std::chrono::steady_clock::now();
    fn();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

void Touch(const fs::path& path) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) throw std::runtime_error("cannot create " + path.string());
    close(fd);
}

// What the list must hold: one FileExists per game line and directory.
std::vector<std::string> NaiveList(MainForm& form) {
    std::vector<std::string> entries;
    const std::string text =
        platform::ReadWholeFile(form.AppDir() + "/" + form.State().dataFileName);
    for (const std::string& dir : mame::ReadRomFolders(form.AppDir(), form.State().emulatorFileName,
                                                       form.State().pendingError)) {
        mame::ForEachListingGame(text, [&](const mame::ListingGame& g) {
            if (!platform::FileExists(dir + std::string(g.name) + ".zip")) return;
            entries.push_back(mame::MakeListEntry(g.description, g.name));
            if (g.name == "natodef") entries.emplace_back(gamelist::kNatodefaEntry);
        });
    }
    return entries;
}

bool SameAsNaive(MainForm& form, const char* label) {
    std::vector<std::string> got = form.State().gameList.Entries();
    if (!std::is_sorted(got.begin(), got.end(), form::ComboBox::Less)) {
        std::printf("mismatch: %s: list not in its sorted order\n", label);
        return false;
    }
    std::vector<std::string> want = NaiveList(form);
    std::sort(got.begin(), got.end());
    std::sort(want.begin(), want.end());
    if (got != want) {
        std::printf("mismatch: %s: reload lists %zu entries, file tests give %zu\n", label,
                    got.size(), want.size());
        return false;
    }
    return true;
}

double ReloadMedian(MainForm& form) {
    form.RebuildGameList();  // warm the caches
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i)
        times.push_back(MillisecondsOf([&] { form.RebuildGameList(); }));
    return bench::Median(times);
}

// Peak resident size of a fresh copy of this program that only reloads.
double ChildPeakMb(const std::string& appDir, const std::string& exeName) {
    const std::string self = fs::read_symlink("/proc/self/exe").string();
    std::vector<std::string> args = {self, "--reload-only", appDir, exeName};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, self.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        throw std::runtime_error("cannot start the reload child");
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("the reload child failed");
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

int ReloadOnly(const std::string& appDir, const std::string& exeName) {
    if (chdir(appDir.c_str()) != 0) return 2;
    BenchForm reload(appDir, exeName);
    for (int i = 0; i < 2; ++i) reload.form.RebuildGameList();
    return reload.form.State().gameList.Count() > 0 ? 0 : 3;
}

// The emulator writing its listing straight to /dev/null: the floor for any capture.
double ListingToDevNullMs() {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    char arg0[] = "mame", arg1[] = "-listfull";
    char* argv[] = {arg0, arg1, nullptr};
    int status = 0;
    const double ms = MillisecondsOf([&] {
        pid_t pid = 0;
        if (posix_spawn(&pid, kEmulator, &actions, nullptr, argv, environ) != 0)
            throw std::runtime_error("cannot start the emulator");
        waitpid(pid, &status, 0);
    });
    posix_spawn_file_actions_destroy(&actions);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("the emulator failed");
    return ms;
}

double CaptureAndWriteMs(const std::string& dataPath) {
    return MillisecondsOf([&] {
        CaptureResult r = RunCapture({kEmulator, "-listfull"}, true, true);
        if (r.text.empty() || !r.exited || r.exitStatus != 0)
            throw std::runtime_error("capture failed");
        r.text += "\r\n";
        WriteFileAtomically(dataPath, r.text);
    });
}

void MakeRomDir(const fs::path& dir, const std::vector<std::string>& names, std::size_t from,
                std::size_t count) {
    fs::create_directories(dir);
    for (std::size_t i = from; i < from + count; ++i) Touch(dir / (names[i] + ".zip"));
}

int Run() {
    if (access(kEmulator, X_OK) != 0) {
        std::printf("skipped: %s is not installed\n", kEmulator);
        return 0;
    }
    const bench::ScratchDir scratch("lorvane-bench");
    const fs::path& app = scratch.Path();
    // The emulator may look for its own files under HOME: keep it in here.
    setenv("HOME", app.c_str(), 1);

    const CaptureResult listing = RunCapture({kEmulator, "-listfull"}, true, true);
    if (listing.text.empty()) throw std::runtime_error("the emulator gave no listing");
    const std::string dataPath = (app / "LVN_LIST.txt").string();
    WriteFileAtomically(dataPath, listing.text + "\r\n");

    std::vector<std::string> names;
    mame::ForEachListingGame(listing.text,
                             [&](const mame::ListingGame& g) { names.emplace_back(g.name); });
    if (names.size() < kSets + 3) throw std::runtime_error("the listing is shorter than expected");

    // One directory of 45,000 sets, with a few entries a listing can meet
    // besides ordinary files; three directories of 15,000 for the second ini.
    MakeRomDir(app / "roms", names, 0, kSets);
    fs::create_directories(app / "roms" / (names[kSets] + ".zip"));
    fs::create_symlink(names[0] + ".zip", app / "roms" / (names[kSets + 1] + ".zip"));
    fs::create_symlink("nowhere.zip", app / "roms" / (names[kSets + 2] + ".zip"));
    for (std::size_t d = 0; d < 3; ++d)
        MakeRomDir(app / ("roms" + std::to_string(d + 1)), names, d * (kSets / 3), kSets / 3);
    WriteFileAtomically((app / "mame.ini").string(), "rompath                   roms\n");
    WriteFileAtomically((app / "mame3.ini").string(),
                        "rompath                   roms1;roms2;roms3\n");
    if (chdir(app.c_str()) != 0) throw std::runtime_error("cannot enter " + app.string());

    BenchForm oneFolder(app.string(), "mame");
    BenchForm threeFolders(app.string(), "mame3");
    MainForm& one = oneFolder.form;
    MainForm& three = threeFolders.form;
    const double reloadMs = ReloadMedian(one);
    const double reload3Ms = ReloadMedian(three);
    bool ok = SameAsNaive(one, "one directory");
    ok = SameAsNaive(three, "three directories") && ok;
    if (one.State().gameList.Count() < static_cast<int>(kSets)) {
        std::printf("mismatch: only %d entries for %zu sets\n", one.State().gameList.Count(),
                    kSets);
        ok = false;
    }
    std::printf("reload_ms: %.1f\n", reloadMs);
    std::printf("reload_3dirs_ms: %.1f\n", reload3Ms);
    std::printf("reload_entries: %d\n", one.State().gameList.Count());
    std::printf("reload_peak_mb: %.1f\n", ChildPeakMb(app.string(), "mame"));
    std::fflush(stdout);

    std::vector<double> capture, devNull;
    for (int i = 0; i < 7; ++i) {
        devNull.push_back(ListingToDevNullMs());
        capture.push_back(CaptureAndWriteMs(dataPath));
    }
    std::printf("capture_ms: %.1f\n", bench::Median(capture));
    std::printf("listing_to_devnull_ms: %.1f\n", bench::Median(devNull));
    std::printf("capture_ratio: %.3f\n", bench::Median(capture) / bench::Median(devNull));
    if (chdir("/") != 0) return 1;
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 4 && std::strcmp(argv[1], "--reload-only") == 0)
            return ReloadOnly(argv[2], argv[3]);
        return Run();
    } catch (const std::exception& e) {
        std::printf("error: %s\n", e.what());
        return 1;
    }
}
