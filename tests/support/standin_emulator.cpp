// A stand-in for the emulator: it answers as the files beside it say (see
// standin.h). It finds them through the path it was run by.
#include <cstdlib>
#include <sstream>
#include <string>

#include "support/standin_platform.h"

namespace lorvane::standin {
namespace {

int RunMode(const std::string& self, const std::string& mode) {
    if (mode == "silent") return 0;
    if (mode == "interleave") {
        WriteOut("out1\n");
        SleepMs(20);
        WriteErr("err1\n");
        SleepMs(20);
        WriteOut("out2\n");
        SleepMs(20);
        WriteErr("err2\n");
        return 0;
    }
    if (mode == "grandchild") return StartLateWriter(self) ? 0 : 1;
    if (mode == "crash") {
        WriteOut("partial\n");
        EndAbruptly();
    }
    if (mode == "hang") {
        SleepMs(3600L * 1000);
        return 0;
    }
    if (mode == "stdin") {
        const std::size_t n = ReadAllInput();
        WriteOut("stdin gave " + std::to_string(n) + " bytes\n");
        return 0;
    }
    return -1;  // not a mode word: behave as usual
}

bool HasArg(const std::vector<std::string>& args, const std::string& arg) {
    for (const std::string& a : args)
        if (a == arg) return true;
    return false;
}

}  // namespace

int Run(const std::string& self, const std::vector<std::string>& args) {
    std::string joined;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (i > 0) joined += '\t';
        joined += args[i];
    }
    AppendLine(self + ".args", joined);
    AppendLine(self + ".session", SessionLine());

    std::string modeText;
    if (ReadText(self + ".mode", modeText)) {
        std::istringstream in(modeText);
        std::string word;
        in >> word;
        const int rc = RunMode(self, word);
        if (rc >= 0) return rc;
    }

    if (HasArg(args, "-listxml")) {
        std::string listing;
        if (!ReadText(self + ".listxml", listing)) {
            WriteErr("Error: unknown option: -listxml\n");
            return 6;
        }
        WriteOut(listing);
        return 0;
    }
    if (HasArg(args, "-listfull")) {
        std::string listing;
        ReadText(self + ".listfull", listing);
        WriteOut(listing);
        return 0;
    }
    if (HasArg(args, "-verifyroms")) {
        // The audit's runs over several sets name the option first.
        std::string batch, end;
        if (args.front() == "-verifyroms" && ReadText(self + ".batch", batch)) {
            WriteOut(batch);
            ReadText(self + ".batchend", end);
            if (end.rfind("kill", 0) == 0) EndAbruptly();
            return std::atoi(end.c_str());
        }
        std::string set;
        for (std::size_t i = 0; i < args.size() && set.empty(); ++i)
            if (!args[i].empty() && args[i][0] != '-') set = args[i];
        std::string delay;
        if (!set.empty() && ReadText(self + ".delay/" + set, delay))
            SleepMs(std::atol(delay.c_str()));
        // A clone's check reads its parent's set file too.
        std::string needs;
        bool needsMet = true;
        if (!set.empty() && ReadText(self + ".needs/" + set, needs)) {
            while (!needs.empty() &&
                   (needs.back() == '\n' || needs.back() == '\r' || needs.back() == ' '))
                needs.pop_back();
            needsMet = Exists(DirOf(self) + "/roms/" + needs + ".zip");
        }
        std::string report;
        if (!set.empty() && needsMet && ReadText(self + ".verify/" + set, report)) {
            WriteOut(report);
            return 0;
        }
        WriteErr("romset \"" + set + "\" not found!\n");
        return 2;
    }
    return 0;  // playing a game: nothing to show
}

}  // namespace lorvane::standin
