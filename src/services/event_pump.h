#pragma once

namespace lorvane {

// One pass over the user-interface events that are pending.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void DoEvents() = 0;
};

}  // namespace lorvane
