#pragma once
// The audit of the listed ROM sets: every set is checked by the emulator, and
// each set that fails is moved out of the first ROM directory into a target
// folder, with the emulator's report on it collected. Several checks run at
// once, and runs over many sets at once tell which sets are good without a
// check of their own; but verdicts, moves and report entries are applied
// strictly in list order, so the outcome is that of checking one set after
// the other.
#include <string>
#include <vector>

#include "util/event_pump.h"

namespace lorvane::audit {

// What the audit asks of the screen while it runs.
class AuditProgress : public util::EventPump {
public:
    virtual void Update(int done, int total, const std::string& current) = 0;
    virtual bool Cancelled() = 0;
};

struct RomAuditInput {
    std::string appDir;
    std::string exeName;
    std::string firstRomDir;         // ends with "/"
    std::string target;              // the folder that receives the bad sets
    std::vector<std::string> names;  // short names as the list gives them, in list order
    int parallel = 0;                // checks at once; 0: the machine's cores
    // Runs over many sets at once (see several_set_check.h); false: every set
    // gets a check of its own.
    bool severalSetChecks = true;
    std::size_t severalSetBatch = 0;  // sets per such run at most; 0: kSeveralSetBatch
};

struct RomAuditResult {
    int total = 0;  // sets listed
    int done = 0;   // sets dealt with, from the start of the list
    int badCount = 0;
    std::string report;  // per bad set: the emulator's text (and why it stayed), CR LF CR LF
    std::vector<std::string> moved;  // set file names moved, in order

    bool cancelled = false;
    // The emulator could not be started for set number `done`: nothing from
    // there on was dealt with.
    bool emulatorNotStarted = false;
    std::string emulatorPath;
    int startErrno = 0;

    // Figures for measuring.
    int checksRun = 0;        // emulator runs for checks, reruns included
    int reruns = 0;           // checks run again after a set they may read was moved
    double checkSeconds = 0;  // summed wall time of the check runs
    bool dependenciesKnown = false;
    int unknownDependencies = 0;         // sets whose dependencies the machine list left open
    double dependencySeconds = 0;        // wall time of the machine list queries
    int severalSetRuns = 0;              // runs over several sets started
    int goodFromSeveralSetRuns = 0;      // sets dealt with on such a run's verdict
    int verdictsSetAside = 0;            // good verdicts a later move or a changed file voided
    bool severalSetRunsStopped = false;  // a run failed or answered otherwise: no more runs
};

int DefaultAuditParallelism();

RomAuditResult RunRomAudit(const RomAuditInput& input, AuditProgress& progress);

}  // namespace lorvane::audit
