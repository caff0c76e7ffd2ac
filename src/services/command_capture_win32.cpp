// placeholder until the Windows capture lands: every capture fails with a
// Failure saying it is not available, so the rest of the program links.
#include "command_capture.h"
#include "failure.h"

namespace lorvane {
namespace {

[[noreturn]] void NotAvailable() {
    throw Failure(ErrNo::InvalidArgument, "running a program and capturing its output is not available yet");
}

}  // namespace

std::string HowItEnded(const CaptureResult&) { NotAvailable(); }
CaptureResult RunCapture(const CommandLine&, bool, bool) { NotAvailable(); }

ChildCapture::~ChildCapture() = default;
ChildCapture::ChildCapture(ChildCapture&& other) noexcept : result_(std::move(other.result_)) {}
ChildCapture& ChildCapture::operator=(ChildCapture&& other) noexcept {
    result_ = std::move(other.result_);
    return *this;
}
bool ChildCapture::Start(const CommandLine&, bool, bool) { NotAvailable(); }
bool ChildCapture::ReadAvailable() { return false; }
const CaptureResult& ChildCapture::Finish() { return result_; }
void ChildCapture::Kill() {}
void ChildCapture::Reset() noexcept {}

std::vector<bool> WaitForOutput(const std::vector<const ChildCapture*>& captures, int) {
    return std::vector<bool>(captures.size(), false);
}

int ProcessorCount() { return 1; }

namespace MGetCmdOutput {
std::string GetCmdOutput(const CommandLine&, bool, bool, bool) { NotAvailable(); }
}  // namespace MGetCmdOutput

}  // namespace lorvane
