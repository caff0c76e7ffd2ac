#pragma once
#include "util/event_pump.h"

namespace lorvane::util {

// Waits on a monotonic clock. With pumping, pending events are handled between
// short sleeps, so the window stays responsive without keeping a core busy.
// The elapsed time is compared before pumping: a wait that is over pumps nothing.
void WaitSeconds(float seconds, bool pumpEvents, EventPump& pump);

}  // namespace lorvane::util
