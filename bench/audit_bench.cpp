// The bad ROM set audit of 1,000 sets with Debian's real emulator, one check at
// a time, with one check per core, and with runs over several sets besides, on
// the same sets; and of the sets that need no ROM dump alone. Prints:
//   audit_sequential_s         wall time, one check at a time
//   audit_concurrent_s         wall time, as many checks at once as cores
//   audit_speedup              the ratio of the two
//   audit_mixed_s              wall time, checks at once and several-set runs
//   audit_mixed_*              the several-set runs, the sets they found good,
//                              and the good verdicts set aside by moves
//   audit_good_sets_s          the sets needing no dump (all good, as empty
//                              zips): the audit with several-set runs
//   audit_good_sets_percheck_s the same sets, one check per set, as many at once
//                              as cores
//   audit_good_sets_emulator_s the emulator's own one run over the same names
//   audit_good_speedup         percheck / with several-set runs
//   audit_good_vs_emulator     with several-set runs / the emulator's one run
//   audit_overhead_ms_per_set  the program's own time per set in the sequential
//                              run: its wall time less the emulator runs' wall time
//   audit_reruns               checks run again in the concurrent run
//   audit_listxml_1000_s       the machine list queries for the 1,000 names alone
//   audit_*_cores_busy         CPU time of the emulator runs / wall time: with
//                              other work on the machine, below what was asked
//   audit_concurrent_checks_in_flight  checks running at once, on average
//   audit_*_machine_cores_busy the same for every process on the machine: more
//                              than the emulator's share is other people's work
// An argument changes the number of sets (for quick trials). Fails when the
// runs moved different sets or wrote different reports, or when a good set of
// the second part was moved.
// The sets: every system that needs no ROM dump (they pass with an empty zip),
// parents together with some of their clones, and other systems; all zips empty.
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "audit/rom_audit.h"
#include "form/combo_box.h"
#include "mame/commands.h"
#include "mame/listing.h"
#include "mame/rom_dependencies.h"
#include "mame/rom_name.h"
#include "platform/command_capture.h"
#include "scratch_dir.h"
#include "util/text.h"

namespace {

namespace fs = std::filesystem;
using namespace lorvane;
using Clock = std::chrono::steady_clock;
using audit::RomAuditInput;
using audit::RomAuditResult;
using platform::CaptureResult;
using platform::CommandLine;
using platform::RunCapture;

constexpr const char* kEmulator = "/usr/games/mame";
std::size_t g_sets = 1000;  // 40 % of them in clone groups
const std::string kEmptyZip = std::string("PK\x05\x06", 4) + std::string(18, '\0');

struct QuietProgress : audit::AuditProgress {
    void ProcessPendingEvents() override {}
    void Update(int, int, const std::string&) override {}
    bool Cancelled() override { return false; }
};

void Write(const fs::path& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string Capture(const CommandLine& argv) {
    const CaptureResult r = RunCapture(argv, true, false);
    if (!r.started) throw std::runtime_error("cannot start " + argv.front());
    return r.text;
}

std::string FirstWord(std::string_view line) {
    const std::size_t end = line.find(' ');
    return std::string(line.substr(0, end));
}

struct Chosen {
    std::vector<std::string> names;    // the list's order (by description)
    std::vector<std::string> passing;  // those needing no dump, in the same order
};

std::vector<std::string> ListOrder(const std::set<std::string>& sets,
                                   std::map<std::string, std::string>& description) {
    form::ComboBox list;
    std::vector<std::string> entries;
    for (const std::string& name : sets)
        entries.push_back(mame::MakeListEntry(description[name], name));
    list.AddAll(std::move(entries));
    std::vector<std::string> names;
    for (const std::string& entry : list.Entries()) names.push_back(mame::ExtractRomName(entry));
    return names;
}

// The 1,000 names, and the passing ones among them.
Chosen ChooseSets(const std::string& app) {
    std::map<std::string, std::string> description;  // name -> description
    std::vector<std::string> listed;
    mame::ForEachListingGame(Capture({kEmulator, "-listfull"}), [&](const mame::ListingGame& g) {
        listed.emplace_back(g.name);
        description[std::string(g.name)] = g.description;
    });

    std::set<std::string> chosen, passing;
    // With an empty ROM directory, the sets that pass are those needing no dump.
    util::ForEachLine(Capture({app + "/mame", "-verifyroms"}), [&](std::string_view line) {
        if (line.substr(0, 7) == "romset " && line.find(" is ") != std::string_view::npos) {
            passing.insert(FirstWord(line.substr(7)));
            chosen.insert(FirstWord(line.substr(7)));
        }
        return true;
    });

    // Parents with up to three of their clones, from groups spread over the list.
    std::map<std::string, std::vector<std::string>> clones;
    bool header = true;
    util::ForEachLine(Capture({kEmulator, "-listclones"}), [&](std::string_view line) {
        if (!header) {
            const std::string clone = FirstWord(line);
            const std::string parent = util::TrimSpacesCopy(line.substr(clone.size()));
            if (!parent.empty()) clones[parent].push_back(clone);
        }
        header = false;
        return true;
    });
    std::size_t groupNames = 0, group = 0;
    for (const auto& [parent, its] : clones) {
        if (groupNames >= g_sets * 2 / 5) break;
        if (group++ % 7 != 0 || chosen.count(parent)) continue;
        groupNames += chosen.insert(parent).second;
        for (std::size_t i = 0; i < its.size() && i < 3; ++i)
            groupNames += chosen.insert(its[i]).second;
    }

    const std::size_t stride =
        chosen.size() < g_sets ? listed.size() / (g_sets - chosen.size()) + 1 : 1;
    for (std::size_t i = 0; chosen.size() < g_sets && i < listed.size(); i += stride)
        chosen.insert(listed[i]);
    for (std::size_t i = 0; chosen.size() < g_sets && i < listed.size(); ++i)
        chosen.insert(listed[i]);
    std::fprintf(stderr, "sets: %zu passing, %zu in clone groups, %zu in all\n", passing.size(),
                 groupNames, chosen.size());
    return {ListOrder(chosen, description), ListOrder(passing, description)};
}

void FreshSets(const fs::path& app, const std::vector<std::string>& names) {
    fs::remove_all(app / "roms");
    fs::remove_all(app / "bad");
    fs::create_directories(app / "roms");
    fs::create_directories(app / "bad");
    for (const std::string& name : names) Write(app / "roms" / (name + ".zip"), kEmptyZip);
}

struct Timed {
    RomAuditResult result;
    double seconds;
    double childCpuSeconds;
    double machineCpuSeconds;  // every process's, this one's children included
};

// Busy time of all processors so far, from /proc/stat.
double MachineCpuSeconds() {
    std::ifstream in("/proc/stat");
    std::string cpu;
    unsigned long long user = 0, nice = 0, system = 0, idle = 0, iowait = 0, irq = 0, softirq = 0,
                       steal = 0;
    in >> cpu >> user >> nice >> system >> idle >> iowait >> irq >> softirq >> steal;
    return static_cast<double>(user + nice + system + irq + softirq) /
           static_cast<double>(sysconf(_SC_CLK_TCK));
}

double ChildCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    auto secs = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return secs(usage.ru_utime) + secs(usage.ru_stime);
}

Timed RunAudit(const fs::path& app, const std::vector<std::string>& names, int parallel,
               bool severalSetChecks) {
    FreshSets(app, names);
    QuietProgress quiet;
    const RomAuditInput input{app.string(),           "mame", (app / "roms").string() + "/",
                              (app / "bad").string(), names,  parallel,
                              severalSetChecks};
    const double cpuBefore = ChildCpuSeconds();
    const double machineBefore = MachineCpuSeconds();
    const Clock::time_point start = Clock::now();
    RomAuditResult result = audit::RunRomAudit(input, quiet);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return {std::move(result), seconds, ChildCpuSeconds() - cpuBefore,
            MachineCpuSeconds() - machineBefore};
}

int Main() {
    if (access(kEmulator, X_OK) != 0) {
        std::fprintf(stderr, "%s is not installed\n", kEmulator);
        return 1;
    }
    const bench::ScratchDir scratch("lorvane-audit-bench");
    const fs::path& app = scratch.Path();
    // An application directory whose emulator reads app/mame.ini: rompath roms.
    fs::copy_file(LORVANE_EMULATOR_WRAPPER, app / "mame");
    fs::permissions(app / "mame", fs::perms::owner_all);
    Write(app / "mame.ini", "rompath roms\n");
    fs::create_directories(app / "roms");
    const fs::path previous = fs::current_path();
    fs::current_path(app);

    int status = 0;
    try {
        const Chosen chosen = ChooseSets(app.string());
        const std::vector<std::string>& names = chosen.names;

        const Clock::time_point listStart = Clock::now();
        for (std::size_t i = 0; i < names.size(); i += mame::kListXmlBatch) {
            const std::vector<std::string> batch(
                names.begin() + static_cast<std::ptrdiff_t>(i),
                names.begin() +
                    static_cast<std::ptrdiff_t>(std::min(names.size(), i + mame::kListXmlBatch)));
            Capture(mame::ListXmlCommand(app.string(), "mame", batch));
        }
        const double listXmlSeconds =
            std::chrono::duration<double>(Clock::now() - listStart).count();

        const int cores = audit::DefaultAuditParallelism();
        const Timed one = RunAudit(app, names, 1, false);
        const Timed many = RunAudit(app, names, cores, false);
        const Timed mixed = RunAudit(app, names, cores, true);
        for (const auto& [what, run] : {std::pair{"concurrent", &many}, {"several-set", &mixed}}) {
            const RomAuditResult& r = run->result;
            if (r.moved == one.result.moved && r.report == one.result.report &&
                r.badCount == one.result.badCount && r.done == static_cast<int>(names.size()) &&
                one.result.done == r.done)
                continue;
            std::fprintf(stderr,
                         "the %s audit differs from one check at a time: %zu vs %zu sets moved, "
                         "reports %s\n",
                         what, r.moved.size(), one.result.moved.size(),
                         r.report == one.result.report ? "equal" : "different");
            status = 2;
        }

        // The sets needing no dump alone: all good, so nothing may move.
        const std::vector<std::string>& good = chosen.passing;
        const Timed goodRuns = RunAudit(app, good, cores, true);
        const Timed goodChecks = RunAudit(app, good, cores, false);
        CommandLine oneRun{(app / "mame").string(), "-verifyroms"};
        oneRun.insert(oneRun.end(), good.begin(), good.end());
        const Clock::time_point emulatorStart = Clock::now();
        Capture(oneRun);
        const double emulatorSeconds =
            std::chrono::duration<double>(Clock::now() - emulatorStart).count();
        for (const Timed* run : {&goodRuns, &goodChecks}) {
            if (run->result.badCount == 0 && run->result.done == static_cast<int>(good.size()))
                continue;
            std::fprintf(stderr,
                         "the audit of the %zu sets needing no dump found %d bad, dealt with %d\n",
                         good.size(), run->result.badCount, run->result.done);
            status = 2;
        }

        const double n = static_cast<double>(names.size());
        std::printf("audit_sets: %zu\n", names.size());
        std::printf("audit_bad_sets: %d\n", one.result.badCount);
        std::printf("audit_cores: %d\n", cores);
        std::printf("audit_sequential_s: %.2f\n", one.seconds);
        std::printf("audit_concurrent_s: %.2f\n", many.seconds);
        std::printf("audit_speedup: %.2f\n", one.seconds / many.seconds);
        std::printf("audit_overhead_ms_per_set: %.3f\n",
                    (one.seconds - one.result.checkSeconds) / n * 1000.0);
        std::printf("audit_emulator_ms_per_check: %.1f\n", one.result.checkSeconds / n * 1000.0);
        std::printf("audit_reruns: %d\n", many.result.reruns);
        std::printf("audit_dependencies_known: %d\n", many.result.dependenciesKnown ? 1 : 0);
        std::printf("audit_sets_with_unknown_dependencies: %d\n", many.result.unknownDependencies);
        std::printf("audit_listxml_1000_s: %.2f\n", listXmlSeconds);
        std::printf("audit_sequential_cores_busy: %.2f\n", one.childCpuSeconds / one.seconds);
        std::printf("audit_concurrent_cores_busy: %.2f\n", many.childCpuSeconds / many.seconds);
        std::printf("audit_concurrent_checks_in_flight: %.2f\n",
                    many.result.checkSeconds / many.seconds);
        std::printf("audit_sequential_machine_cores_busy: %.2f\n",
                    one.machineCpuSeconds / one.seconds);
        std::printf("audit_concurrent_machine_cores_busy: %.2f\n",
                    many.machineCpuSeconds / many.seconds);
        std::printf("audit_mixed_s: %.2f\n", mixed.seconds);
        std::printf("audit_mixed_several_set_runs: %d\n", mixed.result.severalSetRuns);
        std::printf("audit_mixed_good_from_runs: %d\n", mixed.result.goodFromSeveralSetRuns);
        std::printf("audit_mixed_verdicts_set_aside: %d\n", mixed.result.verdictsSetAside);
        std::printf("audit_mixed_checks_run: %d\n", mixed.result.checksRun);
        std::printf("audit_good_sets: %zu\n", good.size());
        std::printf("audit_good_sets_s: %.3f\n", goodRuns.seconds);
        std::printf("audit_good_sets_percheck_s: %.3f\n", goodChecks.seconds);
        std::printf("audit_good_sets_emulator_s: %.3f\n", emulatorSeconds);
        std::printf("audit_good_speedup: %.1f\n", goodChecks.seconds / goodRuns.seconds);
        std::printf("audit_good_vs_emulator: %.2f\n", goodRuns.seconds / emulatorSeconds);
        std::printf("audit_good_several_set_runs: %d\n", goodRuns.result.severalSetRuns);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "audit benchmark failed: %s\n", e.what());
        status = 1;
    }
    fs::current_path(previous);
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) g_sets = std::strtoul(argv[1], nullptr, 10);
    try {
        return Main();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "audit benchmark failed: %s\n", e.what());
        return 1;
    }
}
