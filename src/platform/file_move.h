#pragma once
// Moving a file without ever destroying or replacing one: the destination name
// must be free, and the source goes only once the file is safe in its new place.
#include <optional>
#include <string>

#include "util/failure.h"

namespace lorvane::platform {

enum class MoveOutcome {
    Moved,         // the file is at `to` and gone from `from`
    TargetExists,  // something already bears the name `to`; nothing changed
    Failed,        // nothing changed; `failure` says why
};

struct MoveResult {
    MoveOutcome outcome = MoveOutcome::Failed;
    std::optional<util::Failure> failure;  // set for Failed only
};

// Within one file system the file is renamed (atomic, never replacing). Across
// file systems it is copied under a hidden temporary name beside `to`, flushed,
// given its name without replacing anything, and only then removed from `from`;
// any failure removes the copy and leaves `from` as it was.
MoveResult MoveFileNoReplace(const std::string& from, const std::string& to);

// A seam for fault-injection tests: when set, called at each step and may
// return an errno to fail it. Steps: "rename" (the move within one file
// system; EXDEV here takes the copying path), "copy", "sync" (the copy),
// "place" (naming the copy), "syncdir" (the destination directory), "unlink"
// (the source). The path is the one the step works on.
using MoveFaultHook = int (*)(const char* step, const std::string& path);
void SetMoveFaultHook(MoveFaultHook hook);

}  // namespace lorvane::platform
