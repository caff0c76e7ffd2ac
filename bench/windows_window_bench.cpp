// lorvane.exe as a Windows user runs it, here under Wine on an X server this
// benchmark starts (Xvfb): an application directory with the installed
// emulator's full listing and an (empty) ROM set file for every game of it,
// about 45,000. Watched from outside, through the X server. Prints:
//   windows_sets                  ROM set files created
//   windows_startup_runs          starts timed of each program below, by turns
//                                 (after one start that is not: Wine's own
//                                 services are then up, as Windows' are when a
//                                 user starts a program; and with one more
//                                 window open throughout, so that Wine's desktop
//                                 process stays up, as Windows' desktop does:
//                                 Wine ends it soon after its last window goes,
//                                 and a start that has to start it again waits
//                                 some 150 ms for it, at random between runs)
//   windows_startup_to_list_ms    median: from just before the fork of
//                                 `wine lorvane.exe` until the X server holds
//                                 its window's caption with "romcount ="
//   windows_startup_to_list_ms_min, windows_startup_to_list_ms_max
//   windows_window_entries        the count the caption shows
//   windows_startup_small_ms      the same for lorvane.exe in a folder of its
//                                 own with the same listing and only 4 sets
//   windows_startup_floor_ms      the same for floor_win32_window.exe, which
//                                 only opens a window of lorvane.exe's size,
//                                 until the X server holds its caption
//   windows_startup_vs_floor      windows_startup_small_ms / windows_startup_floor_ms
//   windows_folder_listing_ms     median over as many starts of folder_listing.exe:
//                                 the 45,000-file ROM folder listed alone, as
//                                 lorvane.exe lists it, timed inside the program
//   windows_combo_fill_ms         median time to fill the simple combo box with
//                                 every entry (bench_combo_fill.exe, under Wine)
// The Windows programs come from the Windows build's bin directory, given in
// LORVANE_WINDOWS_BIN (scripts/run-benchmarks.sh builds them).
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "mame/listing.h"
#include "platform/command_capture.h"
#include "scratch_dir.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;
using lorvane::bench::Median;
using lorvane::bench::ScratchDir;

constexpr const char* kWrapper = LORVANE_EMULATOR_WRAPPER;
constexpr int kRuns = 9;
constexpr std::size_t kSmallSets = 4;
constexpr const char* kCountMark = "romcount =";
constexpr const char* kFloorCaption = "Lorvane start-up floor";
constexpr const char* kDesktopKeeperCaption = "Wine's desktop kept up";
constexpr auto kCaptionTimeout = 60s;

[[noreturn]] void Fail(const std::string& why) { throw std::runtime_error(why); }

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void WriteFileOrFail(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) Fail("cannot write " + path.string());
}

// A Wine path for a Unix one: the root is drive Z:.
std::string WinePath(const fs::path& path) {
    std::string p = "Z:" + path.string();
    std::replace(p.begin(), p.end(), '/', '\\');
    return p;
}

// A process started with an argument vector; it dies with the benchmark and
// is ended (SIGTERM, then SIGKILL) when its holder goes.
class Child {
public:
    Child(const std::vector<std::string>& argv, const std::vector<std::string>& env,
          const fs::path& cwd, int out = -1, int passFd = -1, int passFdAs = -1) {
        std::vector<char*> args, envp;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
        envp.push_back(nullptr);
        const std::string dir = cwd.string();
        const int devnull = ::open("/dev/null", O_RDWR | O_CLOEXEC);
        pid_ = ::fork();
        if (pid_ < 0) Fail("fork failed");
        if (pid_ == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGTERM);
            ::setpgid(0, 0);
            ::dup2(devnull, 0);
            ::dup2(out >= 0 ? out : devnull, 1);
            ::dup2(out >= 0 ? out : devnull, 2);
            if (passFd >= 0) ::dup2(passFd, passFdAs);
            if (::chdir(dir.c_str()) != 0) ::_exit(126);
            ::execve(args[0], args.data(), envp.data());
            ::_exit(127);
        }
        ::close(devnull);
    }
    ~Child() { Stop(); }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool Running() {
        if (reaped_) return false;
        if (::waitpid(pid_, &status_, WNOHANG) == pid_) reaped_ = true;
        return !reaped_;
    }
    bool Wait(Clock::duration timeout) {
        const auto deadline = Clock::now() + timeout;
        while (Running()) {
            if (Clock::now() > deadline) return false;
            ::usleep(5000);
        }
        return true;
    }
    bool ExitedCleanly() const {
        return reaped_ && WIFEXITED(status_) && WEXITSTATUS(status_) == 0;
    }
    // The whole process group: Wine's loader may have children of its own.
    void Stop() {
        if (!Running()) return;
        ::kill(-pid_, SIGTERM);
        if (Wait(3s)) return;
        ::kill(-pid_, SIGKILL);
        while (::waitpid(pid_, &status_, 0) < 0 && errno == EINTR) {
        }
        reaped_ = true;
    }

private:
    pid_t pid_ = -1;
    int status_ = 0;
    bool reaped_ = false;
};

std::vector<std::string> Environment(const ScratchDir& tmp, const std::string& display,
                                     const fs::path& prefix) {
    return {"PATH=/usr/local/bin:/usr/bin:/bin",
            "HOME=" + (tmp.Path() / "home").string(),
            "DISPLAY=" + display,
            "WINEPREFIX=" + prefix.string(),
            "WINEDEBUG=-all",
            "WINEDLLOVERRIDES=mscoree,mshtml="};
}

std::string WhichOrFail(const std::string& name) {
    for (const char* dir : {"/usr/local/bin", "/usr/bin", "/bin"}) {
        const fs::path p = fs::path(dir) / name;
        if (::access(p.c_str(), X_OK) == 0) return p.string();
    }
    Fail(name + " is not installed");
}

// Xvfb picks a free display itself and writes its number once it accepts connections.
std::string StartXvfb(std::unique_ptr<Child>& xvfb, const ScratchDir& tmp) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) Fail("pipe failed");
    xvfb = std::make_unique<Child>(
        std::vector<std::string>{WhichOrFail("Xvfb"), "-displayfd", "3", "-screen", "0",
                                 "1280x1024x24", "-nolisten", "tcp"},
        std::vector<std::string>{"HOME=" + (tmp.Path() / "home").string()}, tmp.Path(), -1, fds[1],
        3);
    ::close(fds[1]);
    std::string number;
    const auto deadline = Clock::now() + 20s;
    while (number.find('\n') == std::string::npos && Clock::now() < deadline) {
        pollfd p{fds[0], POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) continue;
        char buffer[32];
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n <= 0) break;
        number.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fds[0]);
    if (number.find('\n') == std::string::npos) Fail("Xvfb did not start");
    return ":" + number.substr(0, number.find('\n'));
}

// The captions of the X server's top-level windows.
class Captions {
public:
    explicit Captions(const std::string& display) {
        c_ = xcb_connect(display.c_str(), nullptr);
        if (xcb_connection_has_error(c_)) Fail("cannot connect to the X server " + display);
        root_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
        const char* name = "_NET_WM_NAME";
        std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
            xcb_intern_atom_reply(
                c_, xcb_intern_atom(c_, 0, static_cast<uint16_t>(std::strlen(name)), name),
                nullptr),
            &std::free);
        netWmName_ = atom ? atom->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    }
    ~Captions() { xcb_disconnect(c_); }
    Captions(const Captions&) = delete;
    Captions& operator=(const Captions&) = delete;

    // The first caption holding `part`, or the empty text.
    std::string Find(const std::string& part) {
        std::unique_ptr<xcb_query_tree_reply_t, decltype(&std::free)> tree(
            xcb_query_tree_reply(c_, xcb_query_tree(c_, root_), nullptr), &std::free);
        if (!tree) Fail("the X server does not answer");
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
            for (const xcb_atom_t atom : {netWmName_, static_cast<xcb_atom_t>(XCB_ATOM_WM_NAME)}) {
                std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> r(
                    xcb_get_property_reply(c_,
                                           xcb_get_property(c_, 0, children[i], atom,
                                                            XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
                                           nullptr),
                    &std::free);
                if (!r || r->format != 8) continue;
                const std::string title(
                    static_cast<const char*>(xcb_get_property_value(r.get())),
                    static_cast<std::size_t>(xcb_get_property_value_length(r.get())));
                if (title.find(part) != std::string::npos) return title;
            }
        }
        return {};
    }

private:
    xcb_connection_t* c_;
    xcb_window_t root_;
    xcb_atom_t netWmName_;
};

struct Listing {
    std::string text;
    std::vector<std::string> names;
};

// The listing from Debian's emulator, through the wrapper that keeps it out of the home folder.
Listing CaptureListing(const ScratchDir& tmp) {
    fs::copy_file(kWrapper, tmp.Path() / "mame");
    const lorvane::platform::CaptureResult r =
        lorvane::platform::RunCapture({(tmp.Path() / "mame").string(), "-listfull"}, true, false);
    if (!r.exited || r.exitStatus != 0)
        Fail("the emulator's -listfull: " + lorvane::platform::HowItEnded(r));
    Listing listing{r.text, {}};
    lorvane::mame::ForEachListingGame(
        r.text, [&](const lorvane::mame::ListingGame& g) { listing.names.emplace_back(g.name); });
    if (listing.names.size() < 1000)
        Fail("the emulator listed only " + std::to_string(listing.names.size()) + " games");
    return listing;
}

// An application directory with the whole listing and a set for each of the
// first `sets` games; returns the number of ROM sets made.
std::size_t MakeApplicationDirectory(const fs::path& app, const fs::path& exe,
                                     const Listing& listing, std::size_t sets) {
    fs::create_directories(app / "roms");
    fs::create_directories(app / "snap");
    fs::copy_file(exe, app / "lorvane.exe");
    WriteFileOrFail(app / "LVN_LIST.txt", listing.text + "\r\n");
    // Only its presence is tested at start-up: the list is there already.
    WriteFileOrFail(app / "mame.exe", "MZ");
    WriteFileOrFail(app / "mame.ini",
                    "rompath                   roms\r\nsnapshot_directory        snap\r\n");
    WriteFileOrFail(app / "LVN.ini",
                    "[Settings]\r\nMAME NAME=mame.exe\r\n"
                    "Data File Name=LVN_LIST.txt\r\nJoy=1\r\nPreview_on=False\r\n");
    sets = std::min(sets, listing.names.size());
    for (std::size_t i = 0; i < sets; ++i) {
        const std::string& name = listing.names[i];
        const int fd =
            ::open((app / "roms" / (name + ".zip")).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0) Fail("cannot create the set " + name);
        ::close(fd);
    }
    return sets;
}

// One start of a Windows program in `dir`: the time until a caption holds
// `mark`; that caption.
double TimeOneStart(const std::vector<std::string>& env, const fs::path& dir,
                    const std::vector<std::string>& args, const std::string& mark,
                    Captions& captions, std::string& caption) {
    std::vector<std::string> argv{WhichOrFail("wine")};
    argv.insert(argv.end(), args.begin(), args.end());
    const auto start = Clock::now();
    Child program(argv, env, dir);
    for (;;) {
        caption = captions.Find(mark);
        if (!caption.empty()) break;
        if (!program.Running()) Fail(args[0] + " ended before its caption held " + mark);
        if (Clock::now() - start > kCaptionTimeout)
            Fail(args[0] + " showed no caption with " + mark + " within 60 s");
        ::usleep(2000);
    }
    const double ms = Ms(Clock::now() - start);
    program.Stop();
    // The window must be gone before the next start looks for a caption.
    while (!captions.Find(mark).empty()) ::usleep(10000);
    return ms;
}

// The value of a "name: value" line of a program's output.
double FigureIn(const std::string& output, const std::string& name) {
    const std::size_t at = output.find(name + ": ");
    if (at == std::string::npos) Fail("no " + name + " in:\n" + output);
    return std::strtod(output.c_str() + at + name.size() + 2, nullptr);
}

std::string Run(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                const fs::path& cwd, const fs::path& log) {
    const int fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    {
        Child child(argv, env, cwd, fd);
        if (!child.Wait(300s)) Fail(argv[1] + " did not end within 300 s");
        if (!child.ExitedCleanly()) {
            ::close(fd);
            std::ifstream in(log);
            std::stringstream s;
            s << in.rdbuf();
            Fail(argv[1] + " failed:\n" + s.str());
        }
    }
    ::close(fd);
    std::ifstream in(log);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

int Main() {
    const char* bin = std::getenv("LORVANE_WINDOWS_BIN");
    if (!bin || !*bin)
        Fail("LORVANE_WINDOWS_BIN names no Windows build (scripts/run-benchmarks.sh sets it)");
    const fs::path winBin = fs::absolute(bin);
    for (const char* program :
         {"lorvane.exe", "bench_combo_fill.exe", "floor_win32_window.exe", "folder_listing.exe"})
        if (!fs::exists(winBin / program)) Fail((winBin / program).string() + " is not built");

    const ScratchDir tmp("lorvane-windows-window");
    fs::create_directories(tmp.Path() / "home");
    const Listing listing = CaptureListing(tmp);
    const fs::path app = tmp.Path() / "app";
    const fs::path small = tmp.Path() / "small";
    const fs::path floor = tmp.Path() / "floor";
    const std::size_t sets =
        MakeApplicationDirectory(app, winBin / "lorvane.exe", listing, listing.names.size());
    MakeApplicationDirectory(small, winBin / "lorvane.exe", listing, kSmallSets);
    fs::create_directories(floor);
    fs::copy_file(winBin / "floor_win32_window.exe", floor / "floor_win32_window.exe");
    std::printf("windows_sets: %zu\n", sets);

    std::unique_ptr<Child> xvfb;
    const std::string display = StartXvfb(xvfb, tmp);
    // A prefix of the benchmark's own, kept beside the Windows build: making one takes a while.
    const fs::path prefix = winBin.parent_path() / "wineprefix-bench";
    const auto env = Environment(tmp, display, prefix);
    if (!fs::exists(prefix / "system.reg")) {
        Run({WhichOrFail("wineboot"), "-i"}, env, tmp.Path(), tmp.Path() / "wineboot.log");
    }
    Captions captions(display);

    const std::vector<std::string> lorvaneArgs{"lorvane.exe"};
    const std::vector<std::string> floorArgs{"floor_win32_window.exe", kFloorCaption};
    std::string caption, ignored;
    // not timed: Wine's services start
    TimeOneStart(env, app, lorvaneArgs, kCountMark, captions, caption);
    Child desktopKeeper({WhichOrFail("wine"), "floor_win32_window.exe", kDesktopKeeperCaption}, env,
                        floor);
    const auto keeperDeadline = Clock::now() + kCaptionTimeout;
    while (captions.Find(kDesktopKeeperCaption).empty()) {
        if (!desktopKeeper.Running() || Clock::now() > keeperDeadline)
            Fail("the window that keeps Wine's desktop up did not open");
        ::usleep(10000);
    }
    // The three by turns, so that all see the machine alike.
    std::vector<double> times, smallTimes, floorTimes;
    for (int i = 0; i < kRuns; ++i) {
        floorTimes.push_back(TimeOneStart(env, floor, floorArgs, kFloorCaption, captions, ignored));
        smallTimes.push_back(TimeOneStart(env, small, lorvaneArgs, kCountMark, captions, ignored));
        times.push_back(TimeOneStart(env, app, lorvaneArgs, kCountMark, captions, caption));
    }
    std::printf("windows_startup_runs: %d\n", kRuns);
    std::printf("windows_startup_to_list_ms: %.1f\n", Median(times));
    std::printf("windows_startup_to_list_ms_min: %.1f\n",
                *std::min_element(times.begin(), times.end()));
    std::printf("windows_startup_to_list_ms_max: %.1f\n",
                *std::max_element(times.begin(), times.end()));
    const std::size_t at = caption.find("romcount = ");
    std::printf("windows_window_entries: %ld\n",
                std::strtol(caption.c_str() + at + 11, nullptr, 10));
    const double smallMs = Median(smallTimes), floorMs = Median(floorTimes);
    std::printf("windows_startup_small_ms: %.1f\n", smallMs);
    std::printf("windows_startup_floor_ms: %.1f\n", floorMs);
    std::printf("windows_startup_vs_floor: %.2f\n", smallMs / floorMs);
    std::fflush(stdout);

    std::vector<double> listings;
    for (int i = 0; i < kRuns; ++i) {
        const std::string out = Run(
            {WhichOrFail("wine"), (winBin / "folder_listing.exe").string(), WinePath(app / "roms")},
            env, tmp.Path(), tmp.Path() / "listing.log");
        listings.push_back(FigureIn(out, "windows_folder_listing_run_ms"));
        if (FigureIn(out, "windows_folder_listing_files") != static_cast<double>(sets))
            Fail("folder_listing.exe did not list every set:\n" + out);
    }
    std::printf("windows_folder_listing_ms: %.1f\n", Median(listings));
    std::fflush(stdout);

    const std::string fill = Run({WhichOrFail("wine"), (winBin / "bench_combo_fill.exe").string(),
                                  WinePath(app / "LVN_LIST.txt")},
                                 env, tmp.Path(), tmp.Path() / "combo.log");
    std::istringstream lines(fill);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("windows_", 0) == 0) std::printf("%s\n", line.c_str());
    }
    Child server({WhichOrFail("wineserver"), "-k"}, env, tmp.Path());
    server.Wait(10s);
    return 0;
}

}  // namespace

int main() {
    ::signal(SIGPIPE, SIG_IGN);
    try {
        return Main();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "windows window benchmark: %s\n", e.what());
        return 1;
    }
}
