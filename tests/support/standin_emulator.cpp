// A stand-in for the emulator: it answers as the files beside it say (see
// standin.h). It finds them through argv[0], since it is always run by path.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

bool ReadText(const std::string& path, std::string& out) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    char buf[65536];
    ssize_t n;
    while ((n = read(fd, buf, sizeof buf)) != 0) {
        if (n < 0) {
            if (errno == EINTR) continue;
            break;
        }
        out.append(buf, static_cast<std::size_t>(n));
    }
    close(fd);
    return true;
}

void WriteAll(int fd, const std::string& s) {
    std::size_t done = 0;
    while (done < s.size()) {
        const ssize_t n = write(fd, s.data() + done, s.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return;
        }
        done += static_cast<std::size_t>(n);
    }
}

// One write per line, so that runs at the same time never mix their lines.
void AppendLine(const std::string& path, const std::string& line) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return;
    WriteAll(fd, line + "\n");
    close(fd);
}

void SleepMs(long ms) {
    timespec ts{ms / 1000, (ms % 1000) * 1000000L};
    while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
}

int RunMode(const std::string& mode) {
    if (mode == "silent") return 0;
    if (mode == "interleave") {
        WriteAll(1, "out1\n");
        SleepMs(20);
        WriteAll(2, "err1\n");
        SleepMs(20);
        WriteAll(1, "out2\n");
        SleepMs(20);
        WriteAll(2, "err2\n");
        return 0;
    }
    if (mode == "grandchild") {
        const pid_t pid = fork();
        if (pid == 0) {
            SleepMs(1000);
            WriteAll(1, "late\n");
            _exit(0);
        }
        return pid < 0 ? 1 : 0;
    }
    if (mode == "crash") {
        WriteAll(1, "partial\n");
        kill(getpid(), SIGKILL);
        return 1;
    }
    if (mode == "hang") {
        SleepMs(3600L * 1000);
        return 0;
    }
    return -1;  // not a mode word: behave as usual
}

bool HasArg(int argc, char** argv, const std::string& arg) {
    for (int i = 1; i < argc; ++i)
        if (arg == argv[i]) return true;
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 1 || argv[0] == nullptr) return 1;
    const std::string self = argv[0];

    std::string args;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) args += '\t';
        args += argv[i];
    }
    AppendLine(self + ".args", args);
    AppendLine(self + ".session", std::to_string(getsid(0)) + " " + std::to_string(getpid()));

    std::string modeText;
    if (ReadText(self + ".mode", modeText)) {
        std::istringstream in(modeText);
        std::string word;
        in >> word;
        const int rc = RunMode(word);
        if (rc >= 0) return rc;
    }

    if (HasArg(argc, argv, "-listxml")) {
        std::string listing;
        if (!ReadText(self + ".listxml", listing)) {
            WriteAll(2, "Error: unknown option: -listxml\n");
            return 6;
        }
        WriteAll(1, listing);
        return 0;
    }
    if (HasArg(argc, argv, "-listfull")) {
        std::string listing;
        ReadText(self + ".listfull", listing);
        WriteAll(1, listing);
        return 0;
    }
    if (HasArg(argc, argv, "-verifyroms")) {
        // The audit's runs over several sets name the option first.
        std::string batch, end;
        if (std::string(argv[1]) == "-verifyroms" && ReadText(self + ".batch", batch)) {
            WriteAll(1, batch);
            ReadText(self + ".batchend", end);
            if (end.rfind("kill", 0) == 0) kill(getpid(), SIGKILL);
            return std::atoi(end.c_str());
        }
        std::string set;
        for (int i = 1; i < argc && set.empty(); ++i)
            if (argv[i][0] != '-') set = argv[i];
        std::string delay;
        if (!set.empty() && ReadText(self + ".delay/" + set, delay)) SleepMs(std::atol(delay.c_str()));
        // A clone's check reads its parent's set file too.
        std::string needs;
        bool needsMet = true;
        if (!set.empty() && ReadText(self + ".needs/" + set, needs)) {
            while (!needs.empty() && (needs.back() == '\n' || needs.back() == '\r' || needs.back() == ' '))
                needs.pop_back();
            const std::size_t slash = self.rfind('/');
            const std::string dir = slash == std::string::npos ? "." : self.substr(0, slash);
            needsMet = access((dir + "/roms/" + needs + ".zip").c_str(), F_OK) == 0;
        }
        std::string report;
        if (!set.empty() && needsMet && ReadText(self + ".verify/" + set, report)) {
            WriteAll(1, report);
            return 0;
        }
        WriteAll(2, "romset \"" + set + "\" not found!\n");
        return 2;
    }
    return 0;  // playing a game: nothing to show
}
