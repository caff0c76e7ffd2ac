// The reload at scale: a synthetic listing of a million games whose sets lie
// spread over four ROM directories, loaded by a fresh process. Prints:
//   load_sets                sets created (1,000,000 unless an argument says fewer)
//   load_create_s            seconds spent creating the empty set files
//   load_reload_ms           RebuildGameList over the four directories
//   load_entries             entries in the list afterwards
//   load_peak_mb             peak resident size of the loading process
//   load_bytes_per_entry     (peak - resident size before loading) / entries
//   load_typeahead_ms_max    slowest of 200 type-ahead keys (1-6 character prefixes,
//                            half taken from entries, half random)
//   load_typeahead_ms_median median of them
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "form/main_form.h"
#include "quiet_ui.h"
#include "scratch_dir.h"

namespace {

using namespace lorvane;
using Clock = std::chrono::steady_clock;

constexpr int kDirs = 4;
constexpr int kKeys = 200;

using bench::QuietUi;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

long PeakKb() {
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return ru.ru_maxrss;
}

long CurrentKb() {
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Runs in the forked child, so its peak resident size is the load's own.
int LoadAndType(const std::string& app) {
    const long baseKb = CurrentKb();
    QuietUi ui;
    form::MainForm form(app, ui);
    form.State().emulatorFileName = "mame";
    form.State().dataFileName = "LVN_LIST.txt";

    const auto t0 = Clock::now();
    form.RebuildGameList();
    const double reloadMs = Ms(Clock::now() - t0);
    const long peakKb = PeakKb();
    const int entries = form.State().gameList.Count();

    std::mt19937 rng(42);
    const std::string alphabet = "gGame 0123456789nNux";
    std::vector<double> times;
    for (int k = 0; k < kKeys; ++k) {
        const int length = std::uniform_int_distribution<int>(1, 6)(rng);
        form::ComboBox& list = form.State().gameList;
        // Half the keys follow an existing entry, half are random characters.
        std::string prefix;
        if (entries > 0 && k % 2 == 0) {
            prefix = list.Entry(std::uniform_int_distribution<int>(0, entries - 1)(rng))
                         .substr(0, length);
        } else {
            for (int i = 0; i < length; ++i)
                prefix += alphabet[std::uniform_int_distribution<std::size_t>(
                    0, alphabet.size() - 1)(rng)];
        }
        list.Select(-1);
        list.editText = prefix.substr(0, prefix.size() - 1);
        list.selectionStart = static_cast<int>(list.editText.size());
        list.selectionLength = 0;
        const auto s = Clock::now();
        form.TypeAhead(prefix.substr(prefix.size() - 1));
        times.push_back(Ms(Clock::now() - s));
    }
    std::sort(times.begin(), times.end());

    std::printf("load_reload_ms: %.0f\n", reloadMs);
    std::printf("load_entries: %d\n", entries);
    std::printf("load_peak_mb: %.1f\n", peakKb / 1024.0);
    std::printf("load_bytes_per_entry: %.0f\n",
                entries ? (peakKb - baseKb) * 1024.0 / entries : 0.0);
    std::printf("load_typeahead_ms_max: %.4f\n", times.back());
    std::printf("load_typeahead_ms_median: %.4f\n", times[times.size() / 2]);
    std::fflush(stdout);
    return 0;
}

int Run(long sets) {
    const bench::ScratchDir scratch("lorvane-load");
    const std::string app = scratch.Path().string();

    // The listing: every game, one line each, as the emulator prints them.
    {
        std::string text = "Name:             Description:\n";
        text.reserve(static_cast<std::size_t>(sets) * 40 + 64);
        char line[96];
        for (long k = 0; k < sets; ++k) {
            const int n =
                std::snprintf(line, sizeof line, "g%07ld   \"Game number %07ld\"\n", k, k);
            text.append(line, static_cast<std::size_t>(n));
        }
        FILE* f = std::fopen((app + "/LVN_LIST.txt").c_str(), "wb");
        if (!f || std::fwrite(text.data(), 1, text.size(), f) != text.size() ||
            std::fclose(f) != 0) {
            std::perror("listing");
            return 1;
        }
    }

    // The sets, dealt round the four directories; empty files are enough.
    std::string romPath;
    const auto c0 = Clock::now();
    for (int d = 0; d < kDirs; ++d) {
        const std::string dir = app + "/roms" + std::to_string(d);
        romPath += (d ? ";" : "") + dir;
        if (mkdir(dir.c_str(), 0755) != 0) {
            std::perror(dir.c_str());
            return 1;
        }
        const int dfd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        char name[32];
        for (long k = d; k < sets; k += kDirs) {
            std::snprintf(name, sizeof name, "g%07ld.zip", k);
            const int fd = openat(dfd, name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
            if (fd < 0) {
                std::perror(name);
                return 1;
            }
            close(fd);
        }
        close(dfd);
    }
    const double createS = Ms(Clock::now() - c0) / 1000.0;
    {
        FILE* f = std::fopen((app + "/mame.ini").c_str(), "wb");
        if (!f || std::fprintf(f, "rompath %s\n", romPath.c_str()) < 0 || std::fclose(f) != 0) {
            std::perror("mame.ini");
            return 1;
        }
    }
    std::printf("load_sets: %ld\n", sets);
    std::printf("load_create_s: %.1f\n", createS);
    std::fflush(stdout);

    const pid_t pid = fork();
    if (pid == 0) _exit(LoadAndType(app));
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc > 1 ? std::atol(argv[1]) : 1000000);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "load benchmark failed: %s\n", e.what());
        return 1;
    }
}
