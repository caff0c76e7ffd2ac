#pragma once
// Several ROM sets checked by one emulator run: `<emulator> -verifyroms a b c`.
// Starting the emulator costs far more than checking a set, so a run over many
// sets tells cheaply which of them are good. Only that is taken from it: a bad
// set's report still comes from its own check.
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "command_capture.h"

namespace lorvane {

// Sets per run. Measured with Debian's emulator 0.251 on 2 cores (shared, load
// 3 to 4): 2,000 names (197 good, the rest absent) in runs of 25 took 11.6 s, of
// 50 7.3 s, of 100 4.3 s, of 150 to 800 between 2.6 and 4.1 s with no clear best
// (the emulator spends about 1.5 ms per name it is given, a run of 200 about
// 0.35 to 0.55 s), of 2,000 in one run 3.4 s; one set's own check took 0.14 s.
// Runs of 200 pay the start-up cost once per 200 names and give the first
// verdicts early.
inline constexpr std::size_t kSeveralSetBatch = 200;
// Argument bytes per run, and per name: far below ARG_MAX (2 MiB here); Windows
// limits a whole command line to 32,767 characters. The emulator's names have
// at most 32 characters, so 200 of them always fit.
inline constexpr std::size_t kSeveralSetArgumentBytes = 16 * 1024;
inline constexpr std::size_t kSeveralSetNameBytes = 64;

// A name that may be asked with others: one the emulator's output can name
// back unambiguously. A wildcard would match other sets, a leading "-" would be
// an option, and the emulator's own short names are of [a-z0-9_] only.
bool SeveralSetName(std::string_view name);

// appDir/exe -verifyroms name... (one argument per name).
CommandLine SeveralSetCommand(const std::string& appDir, const std::string& exeName,
                              const std::vector<std::string>& names);

struct SeveralSetVerdicts {
    // Asked names that one complete line calls good or best available (and no
    // other line judges).
    std::unordered_set<std::string> good;
    // The run answered in the form expected: a good or bad verdict line on an
    // asked name, or, with none, the count `0 romsets found, 0 were OK.`
    bool understood = false;
};

// Reads the standard output of a several-set run over `asked`.
SeveralSetVerdicts ReadSeveralSetVerdicts(std::string_view output,
                                          const std::vector<std::string>& asked);

}  // namespace lorvane
