// The whole program as a user runs it: the built lorvane executable, started
// as its own process under an X server this benchmark starts (Xvfb), in an
// application directory that holds the installed emulator's full listing and
// an (empty) ROM set file for every game of it, so about 45,000 games are
// listed. Everything is watched from outside, through the X server. Prints:
//   window_sets             ROM set files created, one per game of the listing
//   startup_runs            program starts timed (of lorvane, and as many of the
//                           floor, each right after one of lorvane's)
//   startup_to_list_ms      median over the starts: from just before the fork of
//                           lorvane until the X server hands back its window's
//                           caption (_NET_WM_NAME, else WM_NAME) showing
//                           "romcount =". It covers process and Qt start-up, the
//                           window being built and shown, the settings, the
//                           reading of the listing and the ROM directory, and
//                           the caption reaching the server; not the painting
//                           of the list that follows the caption.
//   startup_to_list_ms_min, startup_to_list_ms_max
//   startup_to_window_ms    median time until the X server created that window:
//                           the part before the list is loaded
//   startup_floor_ms        the same as startup_to_list_ms for floor_qt_window, a
//                           Qt program that only shows an empty main window of
//                           lorvane's size, until the X server holds its caption
//   startup_floor_ms_min, startup_floor_ms_max
//   startup_vs_floor        startup_to_list_ms / startup_floor_ms
//   installed_startup_to_list_ms  the same as startup_to_list_ms for the
//                           installed program (lorvane_installed): its files in
//                           $HOME/.local/share/lorvane, the same sets in
//                           $HOME/mame/roms, found through Debian's emulator's
//                           own ini files; started right after each lorvane
//   installed_vs_portable   installed_startup_to_list_ms / startup_to_list_ms
//   window_entries          the count the caption shows
//   typeahead_keys          keystrokes timed on the last start's window
//   typeahead_ms            median over them: from sending a key press through
//                           XTest until the X server reports (XDamage) the first
//                           drawing into the window larger than the text cursor's
//                           blink. It covers the key's delivery, the program's
//                           type-ahead, its repaint and the image reaching the
//                           server: the moment the user can see the jump.
//   typeahead_ms_max
//   typeahead_settled_ms    median time to the last drawing a key caused (no
//                           drawing for 100 ms after it)
//   typeahead_floor_ms      the same as typeahead_ms for keys typed into the
//                           plain edit field of the emulator's name, which
//                           redraw only that field: what any key costs here
//                           (delivery, a one-line repaint, the image's transfer)
//   typeahead_vs_floor      typeahead_ms / typeahead_floor_ms
//   program_peak_mb         VmHWM of the lorvane process after the typing
//   program_rss_mb          its VmRSS then
// Each key is typed only when the window has drawn nothing for 100 ms, and each
// word starts with Ctrl+A, so that its first letter replaces the whole text.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/damage.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
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

constexpr const char* kProgram = LORVANE_EXECUTABLE;
constexpr const char* kFloorProgram = LORVANE_FLOOR_EXECUTABLE;
constexpr const char* kInstalledProgram = LORVANE_INSTALLED_EXECUTABLE;
constexpr std::string_view kCountMark = "romcount = ";
constexpr const char* kFloorCaption = "Lorvane start-up floor";
constexpr const char* kWrapper = LORVANE_EMULATOR_WRAPPER;
constexpr int kStartupRuns = 9;
constexpr auto kCaptionTimeout = 30s;
constexpr auto kKeyTimeout = 5s;
constexpr auto kQuiet = 100ms;
// A blinking text cursor redraws a strip a few pixels wide; every reaction to
// a key redraws at least the whole edit field.
constexpr int kCursorBlinkMaxWidth = 16;
// Prefixes of real descriptions, each far in the list from the one before.
constexpr const char* kWords[] = {"gal", "zax", "ast", "mor", "19", "pac",
                                  "xe",  "don", "tet", "bu",  "str"};

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

[[noreturn]] void Fail(const std::string& why) { throw std::runtime_error(why); }

volatile sig_atomic_t g_stop = 0;
void OnSignal(int) { g_stop = 1; }
void CheckStop() {
    if (g_stop) Fail("interrupted");
}

std::string Errno(const std::string& what) {
    const int err = errno;
    return what + ": " + std::strerror(err);
}

class Fd {
public:
    Fd() = default;
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() { Close(); }
    Fd(Fd&& o) noexcept : fd_(std::exchange(o.fd_, -1)) {}
    Fd& operator=(Fd&& o) noexcept {
        if (this != &o) {
            Close();
            fd_ = std::exchange(o.fd_, -1);
        }
        return *this;
    }
    int Get() const { return fd_; }
    void Close() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_ = -1;
};

Fd OpenOrFail(const std::string& path, int flags, mode_t mode = 0644) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
    if (fd < 0) Fail(Errno(path));
    return Fd(fd);
}

void WriteFileOrFail(const std::string& path, std::string_view text) {
    Fd fd = OpenOrFail(path, O_WRONLY | O_CREAT | O_TRUNC);
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(fd.Get(), text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) Fail(Errno(path));
        done += static_cast<std::size_t>(n);
    }
}

// The end of a log, for a failure's message; indented, so that no line of it
// reads as a figure.
std::string Tail(const std::string& path, std::size_t bytes = 2000) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    std::string text = s.str();
    if (text.empty()) return "  (nothing)";
    if (text.size() > bytes) text = text.substr(text.size() - bytes);
    std::string indented;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) indented += "  " + line + "\n";
    return indented;
}

struct ChildSetup {
    std::vector<std::string> argv;
    std::vector<std::string> env;
    std::string cwd;
    int out = -1;     // standard output goes here
    int err = -1;     // standard error
    int passFd = -1;  // and this descriptor is handed over as passFdAs
    int passFdAs = -1;
};

// A process started here with an argument vector. It dies with the benchmark
// (parent-death signal) and is ended when its holder goes.
class Child {
public:
    Child() = default;
    explicit Child(const ChildSetup& setup) { Start(setup); }
    ~Child() { Stop(); }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    pid_t Pid() const { return pid_; }

    bool Running() {
        if (pid_ < 0 || reaped_) return false;
        const pid_t r = ::waitpid(pid_, &status_, WNOHANG);
        if (r == pid_) reaped_ = true;
        return !reaped_;
    }

    bool ExitedCleanly() const {
        return reaped_ && WIFEXITED(status_) && WEXITSTATUS(status_) == 0;
    }

    std::string HowItEnded() const {
        if (WIFEXITED(status_)) return "exited with status " + std::to_string(WEXITSTATUS(status_));
        if (WIFSIGNALED(status_))
            return "was killed by signal " + std::to_string(WTERMSIG(status_));
        return "ended";
    }

    // Waits for the end by itself; false if it is still running at the deadline.
    bool Wait(Clock::time_point deadline) {
        while (Running()) {
            if (Clock::now() >= deadline) return false;
            ::usleep(5000);
        }
        return true;
    }

    // SIGTERM lets an X server remove its lock file and socket; SIGKILL if
    // that is not enough within two seconds.
    void Stop() {
        if (!Running()) return;
        ::kill(pid_, SIGTERM);
        if (Wait(Clock::now() + 2s)) return;
        ::kill(pid_, SIGKILL);
        while (::waitpid(pid_, &status_, 0) < 0 && errno == EINTR) {
        }
        reaped_ = true;
    }

private:
    void Start(const ChildSetup& setup) {
        // Everything the child needs is made before the fork: after it, only
        // async-signal-safe calls.
        std::vector<char*> argv, envp;
        for (const auto& a : setup.argv) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        for (const auto& e : setup.env) envp.push_back(const_cast<char*>(e.c_str()));
        envp.push_back(nullptr);
        Fd devNull = OpenOrFail("/dev/null", O_RDONLY);
        const pid_t parent = ::getpid();

        const pid_t pid = ::fork();
        if (pid < 0) Fail(Errno("fork"));
        if (pid == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGTERM);
            if (::getppid() != parent) ::_exit(127);
            ::dup2(devNull.Get(), 0);
            if (setup.out >= 0) ::dup2(setup.out, 1);
            if (setup.err >= 0) ::dup2(setup.err, 2);
            if (setup.passFd >= 0) {
                if (setup.passFd == setup.passFdAs)
                    ::fcntl(setup.passFd, F_SETFD, 0);
                else
                    ::dup2(setup.passFd, setup.passFdAs);
            }
            // Nothing else the benchmark's caller left open goes along.
            if (setup.passFdAs > 3) ::close_range(3, static_cast<unsigned>(setup.passFdAs) - 1, 0);
            ::close_range(setup.passFdAs >= 3 ? static_cast<unsigned>(setup.passFdAs) + 1 : 3, ~0U,
                          0);
            if (!setup.cwd.empty() && ::chdir(setup.cwd.c_str()) != 0) ::_exit(127);
            ::execve(argv[0], argv.data(), envp.data());
            ::_exit(127);
        }
        pid_ = pid;
    }

    pid_t pid_ = -1;
    bool reaped_ = false;
    int status_ = 0;
};

std::string FindInPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    const std::string dirs = path ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= dirs.size()) {
        const std::size_t end = std::min(dirs.find(':', start), dirs.size());
        const std::string candidate = dirs.substr(start, end - start) + "/" + name;
        if (end > start && ::access(candidate.c_str(), X_OK) == 0) return candidate;
        start = end + 1;
    }
    return {};
}

// The environment of the programs started here: their home, configuration
// and runtime directories are the benchmark's own, and Qt uses X. A session
// bus address that leads nowhere keeps Qt from having one autolaunched for
// the display, which would outlive the benchmark.
std::vector<std::string> ChildEnvironment(const std::string& tmp, const std::string& display) {
    std::vector<std::string> env = {
        "HOME=" + tmp + "/home",
        "XDG_RUNTIME_DIR=" + tmp + "/runtime",
        "DBUS_SESSION_BUS_ADDRESS=unix:path=" + tmp + "/runtime/no-session-bus",
        "QT_QPA_PLATFORM=xcb",
    };
    if (!display.empty()) env.push_back("DISPLAY=" + display);
    const char* path = std::getenv("PATH");
    env.push_back(std::string("PATH=") + (path ? path : "/usr/bin:/bin"));
    bool locale = false;
    for (const char* name : {"LANG", "LC_ALL", "LC_CTYPE"}) {
        if (const char* value = std::getenv(name)) {
            env.push_back(std::string(name) + "=" + value);
            locale = true;
        }
    }
    if (!locale) env.push_back("LANG=C.UTF-8");
    return env;
}

// ---------------------------------------------------------------------------
// The application directory.

void CopyExecutable(const std::string& from, const std::string& to) {
    std::error_code ec;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
    if (ec) Fail("copying " + from + " to " + to + ": " + ec.message());
    fs::permissions(to,
                    fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                        fs::perms::others_read | fs::perms::others_exec,
                    ec);
    if (ec) Fail("making " + to + " executable: " + ec.message());
}

// The listing as the program captures it itself: the emulator (through the
// `mame` wrapper of the application directory) run with -listfull. Its
// messages on standard error stay out of it.
std::string CaptureListing(const std::string& app) {
    const lorvane::platform::CaptureResult r =
        lorvane::platform::RunCapture({app + "/mame", "-listfull"}, true, false);
    if (!r.exited || r.exitStatus != 0)
        Fail("the emulator's -listfull: " + lorvane::platform::HowItEnded(r));
    return r.text;
}

// The games of the listing, as the program reads it.
std::vector<std::string> GameNames(const std::string& listing) {
    std::vector<std::string> names;
    lorvane::mame::ForEachListingGame(
        listing, [&](const lorvane::mame::ListingGame& game) { names.emplace_back(game.name); });
    return names;
}

// Returns the number of ROM sets made.
std::size_t MakeApplicationDirectory(const std::string& tmp, const std::string& app) {
    for (const std::string& dir :
         {tmp + "/home", tmp + "/runtime", app, app + "/roms", app + "/snap"}) {
        if (::mkdir(dir.c_str(), 0700) != 0) Fail(Errno(dir));
    }
    // The program works in the directory of its own executable.
    CopyExecutable(kProgram, app + "/lorvane");
    CopyExecutable(kFloorProgram, app + "/floor_qt_window");
    CopyExecutable(kWrapper, app + "/mame");
    WriteFileOrFail(app + "/mame.ini",
                    "rompath                   roms\n"
                    "snapshot_directory        snap\n");
    WriteFileOrFail(app + "/LVN.ini",
                    "[Settings]\r\nMAME NAME=mame\r\nData File Name=LVN_LIST.txt\r\nJoy=1\r\n"
                    "Preview_on=False\r\n");

    std::string listing = CaptureListing(app);
    const std::vector<std::string> names = GameNames(listing);
    if (names.size() < 1000)
        Fail("the emulator listed only " + std::to_string(names.size()) + " games");
    listing += "\r\n";  // as the program writes its data file
    WriteFileOrFail(app + "/LVN_LIST.txt", listing);

    Fd roms = OpenOrFail(app + "/roms", O_RDONLY | O_DIRECTORY);
    for (const std::string& name : names) {
        CheckStop();
        const std::string file = name + ".zip";
        const int fd = ::openat(roms.Get(), file.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0) Fail(Errno(app + "/roms/" + file));
        ::close(fd);
    }
    return names.size();
}

// The installed program's files in the home: its own folder with the same
// settings and data file, the same (empty) sets where Debian's emulator looks.
void MakeInstalledHome(const std::string& home, const std::string& app, std::size_t sets) {
    const std::string own = home + "/.local/share/lorvane";
    const std::string roms = home + "/mame/roms";
    std::error_code ec;
    for (const std::string& dir : {own, roms}) {
        fs::create_directories(dir, ec);
        if (ec) Fail("making " + dir + ": " + ec.message());
    }
    for (const char* file : {"/LVN.ini", "/LVN_LIST.txt"}) {
        fs::copy_file(app + file, own + file, ec);
        if (ec) Fail("copying " + app + file + ": " + ec.message());
    }
    std::size_t made = 0;
    for (const fs::directory_entry& set : fs::directory_iterator(app + "/roms")) {
        CheckStop();
        const std::string file = roms + "/" + set.path().filename().string();
        const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0) Fail(Errno(file));
        ::close(fd);
        ++made;
    }
    if (made != sets) Fail("the installed program's home holds " + std::to_string(made) + " sets");
}

// ---------------------------------------------------------------------------
// The X server and the connection to it.

// Xvfb picks a free display number itself and writes it to the descriptor
// given with -displayfd once it accepts connections.
std::string StartXvfb(std::optional<Child>& xvfb, const std::string& program,
                      const std::string& tmp) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) Fail(Errno("pipe"));
    Fd readEnd(fds[0]), writeEnd(fds[1]);
    const std::string logPath = tmp + "/xvfb.log";
    Fd log = OpenOrFail(logPath, O_WRONLY | O_CREAT | O_TRUNC);
    ChildSetup setup;
    setup.argv = {program, "-displayfd", "3", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"};
    setup.env = ChildEnvironment(tmp, "");
    setup.cwd = tmp;
    setup.out = log.Get();
    setup.err = log.Get();
    setup.passFd = writeEnd.Get();
    setup.passFdAs = 3;
    xvfb.emplace(setup);
    writeEnd.Close();

    std::string number;
    const auto deadline = Clock::now() + 20s;
    while (number.find('\n') == std::string::npos) {
        CheckStop();
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left <= 0ms) Fail("Xvfb did not accept connections within 20 s:\n" + Tail(logPath));
        pollfd p{readEnd.Get(), POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
        char buffer[32];
        const ssize_t n = ::read(readEnd.Get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            xvfb->Wait(Clock::now() + 1s);
            Fail("Xvfb " + xvfb->HowItEnded() + " before accepting connections:\n" + Tail(logPath));
        }
        number.append(buffer, static_cast<std::size_t>(n));
    }
    return ":" + number.substr(0, number.find('\n'));
}

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
using Event = std::unique_ptr<xcb_generic_event_t, FreeDeleter>;
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

class XConnection {
public:
    explicit XConnection(const std::string& display) {
        int screenNumber = 0;
        c_ = xcb_connect(display.c_str(), &screenNumber);
        if (xcb_connection_has_error(c_)) Fail("cannot connect to the X server " + display);
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c_));
        for (int i = 0; i < screenNumber; ++i) xcb_screen_next(&it);
        root_ = it.data->root;

        const xcb_query_extension_reply_t* damage = xcb_get_extension_data(c_, &xcb_damage_id);
        if (!damage || !damage->present) Fail("the X server has no DAMAGE extension");
        damageEvent_ = damage->first_event + XCB_DAMAGE_NOTIFY;
        Reply<xcb_damage_query_version_reply_t> dv(
            xcb_damage_query_version_reply(c_, xcb_damage_query_version(c_, 1, 1), nullptr));
        if (!dv) Fail("the X server's DAMAGE extension does not answer");
        const xcb_query_extension_reply_t* test = xcb_get_extension_data(c_, &xcb_test_id);
        if (!test || !test->present) Fail("the X server has no XTEST extension");

        netWmName_ = Atom("_NET_WM_NAME");

        // Top-level windows appear as children of the root.
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(c_, root_, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(c_);
    }
    ~XConnection() { xcb_disconnect(c_); }
    XConnection(const XConnection&) = delete;
    XConnection& operator=(const XConnection&) = delete;

    xcb_connection_t* C() const { return c_; }
    xcb_window_t Root() const { return root_; }
    uint8_t DamageEvent() const { return damageEvent_; }
    bool IsNameAtom(xcb_atom_t atom) const {
        return atom == netWmName_ || atom == XCB_ATOM_WM_NAME;
    }

    xcb_atom_t Atom(const char* name) {
        Reply<xcb_intern_atom_reply_t> r(xcb_intern_atom_reply(
            c_, xcb_intern_atom(c_, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
        if (!r) Fail(std::string("cannot intern the atom ") + name);
        return r->atom;
    }

    // The caption of a window as the X server holds it; empty for a window
    // that is gone or has none.
    std::string Title(xcb_window_t window) {
        for (const xcb_atom_t atom : {netWmName_, static_cast<xcb_atom_t>(XCB_ATOM_WM_NAME)}) {
            Reply<xcb_get_property_reply_t> r(xcb_get_property_reply(
                c_, xcb_get_property(c_, 0, window, atom, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
                nullptr));
            if (!r || r->format != 8) continue;
            const int length = xcb_get_property_value_length(r.get());
            if (length > 0)
                return std::string(static_cast<const char*>(xcb_get_property_value(r.get())),
                                   static_cast<std::size_t>(length));
        }
        return {};
    }

    bool Viewable(xcb_window_t window) {
        Reply<xcb_get_window_attributes_reply_t> r(
            xcb_get_window_attributes_reply(c_, xcb_get_window_attributes(c_, window), nullptr));
        return r && r->map_state == XCB_MAP_STATE_VIEWABLE;
    }

    void Drain() {
        while (Event e{xcb_poll_for_event(c_)}) {
        }
    }

    // The next event, or none at the deadline. Fails when the connection or
    // the watched program ends.
    Event Next(Clock::time_point deadline, Child* watched, const std::string& watchedLog) {
        for (;;) {
            if (Event e{xcb_poll_for_event(c_)}) return e;
            if (xcb_connection_has_error(c_)) Fail("the connection to the X server broke");
            CheckStop();
            if (watched && !watched->Running())
                Fail("the program watched " + watched->HowItEnded() + " early; its output:\n" +
                     Tail(watchedLog));
            const auto left = deadline - Clock::now();
            if (left <= 0s) return nullptr;
            const auto wait = std::min<Clock::duration>(left, 20ms);
            pollfd p{xcb_get_file_descriptor(c_), POLLIN, 0};
            ::poll(&p, 1,
                   static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(wait).count()));
        }
    }

private:
    xcb_connection_t* c_ = nullptr;
    xcb_window_t root_ = 0;
    uint8_t damageEvent_ = 0;
    xcb_atom_t netWmName_ = 0;
};

// ---------------------------------------------------------------------------
// Start-up.

struct Started {
    double ms = 0;
    double windowMs = 0;  // until the X server created that window
    std::string caption;
    xcb_window_t window = 0;
};

// Starts a program and waits until one of its top-level windows has a caption
// holding `mark`.
Started StartProgram(XConnection& x, std::optional<Child>& program, const ChildSetup& setup,
                     const std::string& log, std::string_view mark) {
    x.Drain();  // events of an earlier run
    // The top-level windows and when each was created.
    std::map<xcb_window_t, Clock::time_point> windows;
    std::set<std::string> captions;

    const auto t0 = Clock::now();
    program.emplace(setup);
    const auto deadline = t0 + kCaptionTimeout;

    for (;;) {
        Event e = x.Next(deadline, &*program, log);
        if (!e) {
            std::string seen;
            for (const auto& c : captions) seen += "\n  \"" + c + "\"";
            Fail(setup.argv[0] + ": no caption with \"" + std::string(mark) +
                 "\" within 30 s; captions seen:" + (seen.empty() ? std::string(" none") : seen) +
                 "\nits output:\n" + Tail(log));
        }
        xcb_window_t changed = 0;
        switch (e->response_type & 0x7f) {
            case XCB_CREATE_NOTIFY: {
                const auto* created = reinterpret_cast<xcb_create_notify_event_t*>(e.get());
                if (created->parent != x.Root()) break;
                // Watch first, then read, so no change of the caption is missed.
                const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
                xcb_change_window_attributes(x.C(), created->window, XCB_CW_EVENT_MASK, &mask);
                windows.emplace(created->window, Clock::now());
                changed = created->window;
                break;
            }
            case XCB_PROPERTY_NOTIFY: {
                const auto* property = reinterpret_cast<xcb_property_notify_event_t*>(e.get());
                if (windows.count(property->window) && x.IsNameAtom(property->atom))
                    changed = property->window;
                break;
            }
            default:
                break;  // errors about windows already gone, other notices
        }
        if (!changed) continue;
        const std::string caption = x.Title(changed);
        if (caption.find(mark) == std::string::npos) {
            if (!caption.empty()) captions.insert(caption);
            continue;
        }
        Started started;
        started.ms = Ms(Clock::now() - t0);
        started.caption = caption;
        started.window = changed;
        started.windowMs = Ms(windows[changed] - t0);
        return started;
    }
}

// ---------------------------------------------------------------------------
// Type-ahead.

class Keyboard {
public:
    explicit Keyboard(XConnection& x) : x_(x) {
        const xcb_setup_t* setup = xcb_get_setup(x.C());
        first_ = setup->min_keycode;
        const int count = setup->max_keycode - setup->min_keycode + 1;
        Reply<xcb_get_keyboard_mapping_reply_t> r(xcb_get_keyboard_mapping_reply(
            x.C(), xcb_get_keyboard_mapping(x.C(), first_, static_cast<uint8_t>(count)), nullptr));
        if (!r) Fail("the X server gave no keyboard mapping");
        perCode_ = r->keysyms_per_keycode;
        const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(r.get());
        syms_.assign(syms, syms + xcb_get_keyboard_mapping_keysyms_length(r.get()));
    }

    // The key whose unshifted symbol is `sym` (Latin-1 characters are their
    // own key symbols).
    xcb_keycode_t Code(xcb_keysym_t sym) const {
        for (std::size_t i = 0; perCode_ && i < syms_.size(); i += perCode_) {
            if (syms_[i] == sym) return static_cast<xcb_keycode_t>(first_ + i / perCode_);
        }
        Fail("no key types the key symbol " + std::to_string(sym));
    }

    void Send(xcb_keycode_t code, bool press) {
        xcb_test_fake_input(x_.C(), press ? XCB_KEY_PRESS : XCB_KEY_RELEASE, code, XCB_CURRENT_TIME,
                            XCB_NONE, 0, 0, 0);
    }

private:
    XConnection& x_;
    xcb_keycode_t first_ = 0;
    uint8_t perCode_ = 0;
    std::vector<xcb_keysym_t> syms_;
};

// Drawing the user sees as a reaction: larger than the cursor's blink.
bool IsReaction(const XConnection& x, const xcb_generic_event_t* e) {
    if ((e->response_type & 0x7f) != x.DamageEvent()) return false;
    const auto* damage = reinterpret_cast<const xcb_damage_notify_event_t*>(e);
    return damage->area.width > kCursorBlinkMaxWidth;
}

// Waits until the window has drawn nothing for `quiet`; returns the time of
// the last drawing seen, if any.
std::optional<Clock::time_point> Settle(XConnection& x, Child& lorvane, const std::string& log,
                                        Clock::duration quiet, Clock::duration limit) {
    std::optional<Clock::time_point> last;
    const auto giveUp = Clock::now() + limit;
    auto quietUntil = Clock::now() + quiet;
    for (;;) {
        Event e = x.Next(std::min(quietUntil, giveUp), &lorvane, log);
        if (!e) {
            if (Clock::now() >= giveUp && Clock::now() < quietUntil)
                Fail("lorvane's window kept drawing for " +
                     std::to_string(
                         std::chrono::duration_cast<std::chrono::seconds>(limit).count()) +
                     " s");
            return last;
        }
        if (IsReaction(x, e.get())) {
            last = Clock::now();
            quietUntil = *last + quiet;
        }
    }
}

struct Typed {
    std::vector<double> firstMs;    // type-ahead keys, until the first drawing
    std::vector<double> settledMs;  // the same keys, until the last drawing
    std::vector<double> plainMs;    // keys into the plain edit field
};

// Types one key and waits for the window's reaction; the times from the send
// to the first and to the last drawing it caused.
std::pair<double, double> TimeKey(XConnection& x, Keyboard& keyboard, Child& lorvane,
                                  const std::string& log, char c) {
    const xcb_keycode_t code = keyboard.Code(static_cast<unsigned char>(c));
    const auto t0 = Clock::now();
    keyboard.Send(code, true);
    keyboard.Send(code, false);
    xcb_flush(x.C());
    for (;;) {
        Event e = x.Next(t0 + kKeyTimeout, &lorvane, log);
        if (!e)
            Fail(std::string("lorvane's window showed no reaction to the key '") + c +
                 "' within 5 s");
        if (IsReaction(x, e.get())) break;
    }
    const auto first = Clock::now();
    const auto last = Settle(x, lorvane, log, kQuiet, 5s).value_or(first);
    return {Ms(first - t0), Ms(last - t0)};
}

Typed TypeAhead(XConnection& x, Child& lorvane, const std::string& log, xcb_window_t window) {
    const xcb_damage_damage_t damage = xcb_generate_id(x.C());
    xcb_damage_create(x.C(), damage, window, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
    xcb_flush(x.C());

    // No window manager maps or focuses the window: wait until it is shown,
    // then give it the keyboard (the game list's edit field has the focus in it).
    const auto shownBy = Clock::now() + 10s;
    while (!x.Viewable(window)) {
        if (Clock::now() >= shownBy) Fail("lorvane's window was not shown within 10 s");
        x.Next(Clock::now() + 10ms, &lorvane, log);
    }
    xcb_set_input_focus(x.C(), XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
    xcb_flush(x.C());
    Settle(x, lorvane, log, 300ms, 10s);

    Keyboard keyboard(x);
    const xcb_keycode_t control = keyboard.Code(0xffe3);  // Control_L
    const xcb_keycode_t selectAll = keyboard.Code('a');
    Typed typed;
    for (const char* word : kWords) {
        keyboard.Send(control, true);
        keyboard.Send(selectAll, true);
        keyboard.Send(selectAll, false);
        keyboard.Send(control, false);
        xcb_flush(x.C());
        Settle(x, lorvane, log, kQuiet, 5s);
        for (const char* c = word; *c; ++c) {
            const auto [first, last] = TimeKey(x, keyboard, lorvane, log, *c);
            typed.firstMs.push_back(first);
            typed.settledMs.push_back(last);
        }
    }

    // Tab leads to the emulator's name, a plain edit field: a key there redraws
    // only that field, the least any key costs in this window.
    const xcb_keycode_t tab = keyboard.Code(0xff09);  // Tab
    keyboard.Send(tab, true);
    keyboard.Send(tab, false);
    xcb_flush(x.C());
    Settle(x, lorvane, log, kQuiet, 5s);
    for (const char* c = "abcdefghijkl"; *c; ++c)
        typed.plainMs.push_back(TimeKey(x, keyboard, lorvane, log, *c).first);

    xcb_damage_destroy(x.C(), damage);
    xcb_flush(x.C());
    return typed;
}

// A "Vm...:   N kB" line of /proc/PID/status, in MB.
double StatusMb(pid_t pid, const std::string& key) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(key + ":", 0) == 0)
            return std::strtod(line.c_str() + key.size() + 1, nullptr) / 1024.0;
    }
    Fail("no " + key + " in /proc/" + std::to_string(pid) + "/status");
}

// The count a caption of lorvane's shows.
long CountIn(const std::string& caption) {
    const std::size_t at = caption.find(kCountMark);
    return std::strtol(caption.c_str() + at + kCountMark.size(), nullptr, 10);
}

void Figure(const char* name, double value, int decimals) {
    std::printf("%s: %.*f\n", name, decimals, value);
    std::fflush(stdout);
}

int Run() {
    const std::string xvfbProgram = FindInPath("Xvfb");
    if (xvfbProgram.empty()) Fail("Xvfb is not installed (scripts/install-deps.sh installs it)");
    // Everything the benchmark makes, and everything the programs it starts
    // write (their home too), lies in here and goes with it.
    const ScratchDir scratch("lorvane-window");
    const std::string tmp = scratch.Path().string();
    const std::string app = tmp + "/app";
    const std::size_t sets = MakeApplicationDirectory(tmp, app);
    Figure("window_sets", static_cast<double>(sets), 0);
    const std::string home = tmp + "/home";
    MakeInstalledHome(home, app, sets);

    std::optional<Child> xvfb;
    const std::string display = StartXvfb(xvfb, xvfbProgram, tmp);
    XConnection x(display);

    ChildSetup setup;
    setup.argv = {app + "/lorvane"};
    setup.env = ChildEnvironment(tmp, display);
    setup.cwd = app;
    const std::string log = tmp + "/lorvane.log";
    Fd logFd = OpenOrFail(log, O_WRONLY | O_CREAT | O_APPEND);
    setup.out = logFd.Get();
    setup.err = logFd.Get();

    ChildSetup floorSetup = setup;
    floorSetup.argv = {app + "/floor_qt_window", kFloorCaption};

    // Works from the home, as it does when started from the desktop's menu.
    ChildSetup installedSetup = setup;
    installedSetup.argv = {kInstalledProgram};
    installedSetup.cwd = home;

    // The floor, the installed program and lorvane by turns, so that all see
    // the machine alike; the last lorvane stays for the typing.
    std::vector<double> startups, windowsShown, floors, installedStartups;
    Started last;
    std::optional<Child> lorvane, floor, installed;
    std::string installedCaption;
    for (int run = 0; run < kStartupRuns; ++run) {
        lorvane.reset();  // ends the run before
        floors.push_back(StartProgram(x, floor, floorSetup, log, kFloorCaption).ms);
        floor.reset();
        const Started installedRun = StartProgram(x, installed, installedSetup, log, kCountMark);
        installedStartups.push_back(installedRun.ms);
        installedCaption = installedRun.caption;
        installed.reset();
        last = StartProgram(x, lorvane, setup, log, kCountMark);
        startups.push_back(last.ms);
        windowsShown.push_back(last.windowMs);
    }
    const double startup = Median(startups), startupFloor = Median(floors);
    if (CountIn(installedCaption) != CountIn(last.caption))
        Fail("the installed program shows \"" + installedCaption + "\", lorvane \"" + last.caption +
             "\"");
    Figure("startup_runs", kStartupRuns, 0);
    Figure("startup_to_list_ms", startup, 1);
    Figure("startup_to_list_ms_min", *std::min_element(startups.begin(), startups.end()), 1);
    Figure("startup_to_list_ms_max", *std::max_element(startups.begin(), startups.end()), 1);
    Figure("startup_to_window_ms", Median(windowsShown), 1);
    Figure("startup_floor_ms", startupFloor, 1);
    Figure("startup_floor_ms_min", *std::min_element(floors.begin(), floors.end()), 1);
    Figure("startup_floor_ms_max", *std::max_element(floors.begin(), floors.end()), 1);
    Figure("startup_vs_floor", startup / startupFloor, 2);
    Figure("installed_startup_to_list_ms", Median(installedStartups), 1);
    Figure("installed_vs_portable", Median(installedStartups) / startup, 2);
    Figure("window_entries", static_cast<double>(CountIn(last.caption)), 0);

    const Typed typed = TypeAhead(x, *lorvane, log, last.window);
    Figure("typeahead_keys", static_cast<double>(typed.firstMs.size()), 0);
    Figure("typeahead_ms", Median(typed.firstMs), 2);
    Figure("typeahead_ms_max", *std::max_element(typed.firstMs.begin(), typed.firstMs.end()), 2);
    Figure("typeahead_settled_ms", Median(typed.settledMs), 2);
    Figure("typeahead_floor_ms", Median(typed.plainMs), 2);
    Figure("typeahead_vs_floor", Median(typed.firstMs) / Median(typed.plainMs), 2);

    if (!lorvane->Running()) Fail("lorvane " + lorvane->HowItEnded() + " during the typing");
    Figure("program_peak_mb", StatusMb(lorvane->Pid(), "VmHWM"), 1);
    Figure("program_rss_mb", StatusMb(lorvane->Pid(), "VmRSS"), 1);
    return 0;
}

}  // namespace

int main() {
    struct sigaction action {};
    action.sa_handler = OnSignal;
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(sig, &action, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
    try {
        return Run();
    } catch (const std::exception& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "bench_window failed: %s\n", e.what());
        return 1;
    }
}
