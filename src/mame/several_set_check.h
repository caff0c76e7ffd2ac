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

namespace lorvane::mame {

// Sets per run. Measured with Debian's emulator 0.251 on 2 shared cores (load
// about 1.5): 2,000 names (197 good sets, the rest absent), one run after the
// other, in runs of 25 took 9.2 s, of 50 5.6 s, of 100 3.9 s, of 200 2.6 s, of
// 400 2.3 s, of 800 2.1 s, and in one run of 2,000 2.0 s; one set's own check
// took 0.07 s. A run costs about 0.07 s to start and 1 ms per name given, so
// past 200 names a run saves little more, while its first verdicts come later
// (0.26 s for 200, 0.85 s for 800) and fewer runs can share the cores.
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

}  // namespace lorvane::mame
