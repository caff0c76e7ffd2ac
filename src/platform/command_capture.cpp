// What a capture's lifetime is on every system: a child still running when
// its capture is dropped or overwritten is killed and reaped first.
#include "platform/command_capture.h"

namespace lorvane::platform {

// A capture that was never started, or was moved from, has no Native.
ChildCapture::ChildCapture() = default;

ChildCapture::~ChildCapture() { Reset(); }

ChildCapture::ChildCapture(ChildCapture&& other) noexcept
    : native_(std::move(other.native_)), result_(std::move(other.result_)) {}

ChildCapture& ChildCapture::operator=(ChildCapture&& other) noexcept {
    if (this != &other) {
        Reset();
        native_ = std::move(other.native_);
        result_ = std::move(other.result_);
    }
    return *this;
}

}  // namespace lorvane::platform
