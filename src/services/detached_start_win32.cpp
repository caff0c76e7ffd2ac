// placeholder until the Windows capture lands: a detached start fails with a
// Failure saying it is not available, so the rest of the program links.
#include "detached_start.h"
#include "failure.h"

namespace lorvane {

DetachedStartResult StartDetached(const CommandLine&) {
    throw Failure(ErrNo::InvalidArgument, "starting a program is not available yet");
}

}  // namespace lorvane
