#pragma once

namespace lorvane::util {

// One pass over the user-interface events that are pending.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void ProcessPendingEvents() = 0;
};

}  // namespace lorvane::util
